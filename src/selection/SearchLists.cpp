#include "selection/SearchLists.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "workspace/Workspace.h"

namespace folianto {

bool HasNoValue(const std::string& field)
{
    for (unsigned char c : field)
        if (c != ';' && IsPrintable(c))
            return false;
    return true;
}

void AddSeparatedEntries(SearchList& list, const std::string& value)
{
    const std::size_t n = value.size();
    auto printable = [&value](std::size_t i) { return IsPrintable(static_cast<unsigned char>(value[i])); };
    std::size_t pos = 0;
    while (pos < n) {
        while (pos < n && !printable(pos))
            ++pos;
        if (pos == n)
            break; // the rest holds nothing printable
        std::size_t semi = FindListSeparator(value, pos);
        if (semi == std::string::npos)
            semi = n;
        // The element [pos, semi) starts printable unless it is empty.
        std::size_t end = semi;
        while (end > pos && !printable(end - 1))
            --end;
        if (end > pos)
            list.AddEntry(value.substr(pos, end - pos));
        pos = semi < n ? semi + 1 : n;
    }
}

void FillSearchListWithColonSeparatedText(const TitleStore& store, SearchList& list, int which)
{
    TraceScope trace("SearchLists.FillSearchListWithColonSeparatedText");
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        const TBuch* b = store.at(i);
        if (!b)
            continue;
        switch (which) {
        case 1: AddSeparatedEntries(list, b->Schlagworte.Text); break;
        case 2: AddSeparatedEntries(list, b->Autor.Text); break;
        case 3: AddSeparatedEntries(list, b->Herausgeber.Text); break;
        default: return;
        }
    }
}

void AddTitleToSearchLists(SearchLists& l, const TBuch& b, ReiheToJournals journals)
{
    l.SpracheSearchList.AddEntry(b.Sprache.Text);
    l.TypSearchList.AddEntry(b.Typ.Text);
    l.BesitzerSearchList.AddEntry(b.Besitzer.Text);
    l.KategorieSearchList.AddEntry(b.Kategorie.Text);
    l.StandortSearchList.AddEntry(b.Standort.Text);
    l.VerlagSearchList.AddEntry(b.Verlag.Text);
    l.OrtSearchList.AddEntry(b.Ort.Text);
    if (journals == ReiheToJournals::Always || (b.TypNum & 4))
        l.ZeitschriftSearchList.AddEntry(b.Reihe.Text);
    l.ReiheSearchList.AddEntry(b.Reihe.Text);
}

void Generate_SearchList_Entries_From_Data(const TitleStore& store, SearchLists& l)
{
    TraceScope trace("SearchLists.Generate_SearchList_Entries_From_Data");
    for (int32_t i = 1; i <= store.AnzBuch; ++i)
        if (const TBuch* b = store.at(i))
            AddTitleToSearchLists(l, *b, ReiheToJournals::WithTypeBit2);
}

void Fill_AllLists(Workspace& ws)
{
    TraceScope trace("SearchLists.Fill_AllLists");
    SearchLists& l = ws.lists;
    for (SearchList* list : l.DataLists())
        list->Clear();
    l.AllKeywordsListUpToDate = false;
    l.FilterKeywordListUpToDate = false;
    Generate_SearchList_Entries_From_Data(ws.store, l);
    FillSearchListWithColonSeparatedText(ws.store, l.SchlagworteSearchList, 1);
    if (!KeywordConventionsOK(l.SchlagworteSearchList, ws.settings.SchlwLenght))
        ws.ui.message(MsgKind::Error,
                       Cp1252("Die Konventionen für die Erstellung von Schlagworten werden nicht "
                              "eingehalten!\r\n\r\nBitte, informieren Sie sich in der Hilfe und ändern "
                              "Sie Ihre Eingaben\r\nzur Vermeidung von Problemen dahingehend um!"),
                       Buttons::Ok);
    FillSearchListWithColonSeparatedText(ws.store, l.AutorSearchList, 2);
    FillSearchListWithColonSeparatedText(ws.store, l.HerausgeberSearchList, 3);
}

int32_t WordBreaks(const std::string& keyword)
{
    int32_t breaks = 0;
    for (std::size_t i = 0; i + 1 < keyword.size(); ++i)
        if (keyword[i] == ' ' && keyword[i + 1] != ' ')
            ++breaks;
    return breaks;
}

bool KeywordConventionsOK(const SearchList& list, int32_t maxBreaks)
{
    for (const auto& e : list.entries)
        if (WordBreaks(e.Text) > maxBreaks)
            return false;
    return true;
}

std::vector<std::string> SearchListTexts(const SearchList& list)
{
    std::vector<std::string> out;
    out.reserve(list.entries.size());
    for (const auto& e : list.entries)
        out.push_back(e.Text);
    return out;
}

void RebuildSearchList(SearchList& list, const std::vector<std::string>& items)
{
    list.Clear();
    for (const auto& item : items)
        list.AddEntry(item, true);
}

} // namespace folianto
