#include "selection/FilterDialogModel.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "selection/DuplicateFinder.h"
#include "selection/Replace.h"
#include "workspace/Workspace.h"
#include "selection/Selection.h"
#include "selection/SearchLists.h"

#include <algorithm>
#include <numeric>

namespace folianto {

const std::array<SearchBox, 10> SearchBoxes = {{
    {"in der &Autoren-Liste", 1},
    {"im &Titel ", 6},
    {"im alternativen bzw. &Unter-Titel", 8},
    {"im &Originaltitel", 7},
    {"in der &Inhaltsbeschreibung", 2},
    {"unter &Bemerkungen", 3},
    {"unter &Verlag", 4},
    {"in &Serie bzw. Reihe", 9},
    {"in der &ISBN", 5},
    {"in den Schlag&worten", 10},
}};

// Bit b presets SuchenIn[b+1]; each caption names that switch.
const std::array<DefaultSearchItem, 10> DefaultSearchItems = {{
    {"Autorenliste", 0},
    {"Titel", 5},
    {"Untertitel", 7},
    {"Originaltitel", 6},
    {"Inhalt", 1},
    {"Bemerkung", 2},
    {"Verlag", 3},
    {"Serie", 8},
    {"ISBN", 4},
    {"Schlagworte", 9},
}};

const std::array<const char*, 8> FilterSubPageCaptions = {
    "Kategorie", "Sprache", "Verlag", "Serie / Reihe", "Typ", "Eigentümer", "Herausgeber", "Verleihstatus"};

const std::array<const char*, 9> TypItemCaptions = {
    "Monographie",          "Hochschulschrift",        "Sammelwerk",
    "Sammelwerkbeitrag",    "Zeitschriftenaufsatz",    "Zeitungsartikel",
    "Audiovisuelles Material", "graue Literatur",      "unklar"};

const std::array<const char*, 10> PickListNames = {"Autor",       "Besitzer", "Herausgeber", "Kategorie", "Serie/Reihe",
                                                   "Sprache",     "Standort", "Typ",         "Verlag",    "Zeitschrift"};

namespace {

constexpr int kTypCount = 9;
constexpr int kVerleihCount = 4;
constexpr uint32_t kSearchInBits = 0x3FF;

// Primary weight of a Windows-1252 byte for the display order: letters
// without case, accented letters and umlauts with their base letter.
unsigned char DisplayWeight(unsigned char c)
{
    static const auto table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
        for (int i = 'a'; i <= 'z'; ++i)
            t[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i - 'a' + 'A');
        const struct {
            unsigned char from, to;
        } accents[] = {{0xC0, 'A'}, {0xC1, 'A'}, {0xC2, 'A'}, {0xC3, 'A'}, {0xC4, 'A'}, {0xC5, 'A'}, {0xC7, 'C'},
                       {0xC8, 'E'}, {0xC9, 'E'}, {0xCA, 'E'}, {0xCB, 'E'}, {0xCC, 'I'}, {0xCD, 'I'}, {0xCE, 'I'},
                       {0xCF, 'I'}, {0xD1, 'N'}, {0xD2, 'O'}, {0xD3, 'O'}, {0xD4, 'O'}, {0xD5, 'O'}, {0xD6, 'O'},
                       {0xD8, 'O'}, {0xD9, 'U'}, {0xDA, 'U'}, {0xDB, 'U'}, {0xDC, 'U'}, {0xDD, 'Y'}, {0xDF, 'S'},
                       {0x8A, 'S'}, {0x9A, 'S'}, {0x8E, 'Z'}, {0x9E, 'Z'}, {0x9F, 'Y'}, {0xFF, 'Y'}};
        for (const auto& a : accents) {
            t[a.from] = a.to;
            if (a.from >= 0xC0 && a.from != 0xDF)
                t[static_cast<unsigned char>(a.from + 0x20)] = a.to; // the small letter
        }
        return t;
    }();
    return table[c];
}

unsigned char UpAscii(unsigned char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Which filter switch a check list sets (1..8), 0 for keywords and authors.
int FilterOf(int list)
{
    return list < ListKeywords ? list + 1 : 0;
}

} // namespace

bool DisplayLess(const std::string& a, const std::string& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char wa = DisplayWeight(static_cast<unsigned char>(a[i]));
        const unsigned char wb = DisplayWeight(static_cast<unsigned char>(b[i]));
        if (wa != wb)
            return wa < wb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

FilterDialogModel::FilterDialogModel(Workspace& ws, FilterDialogMode mode, FilterDialogQuestions& questions)
    : ws_(ws), mode_(mode), questions_(questions)
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.FormCreate");
    NarrowingOff(); // the page change run at creation
    for (int list : {ListTyp, ListVerleihstatus}) {
        const int count = list == ListTyp ? kTypCount : kVerleihCount;
        auto& items = lists_[static_cast<std::size_t>(list)].items;
        for (int i = 0; i < count; ++i)
            items.push_back({list == ListTyp ? Cp1252(TypItemCaptions[static_cast<std::size_t>(i)])
                                             : ws_.lists.VerleihstatusSearchList.entries[static_cast<std::size_t>(i)].Text,
                             false, true});
    }
    if (mode_ == FilterDialogMode::Normal) {
        FillCheckLists(false);
        const int last = ws_.selection.FSDialogLastPage;
        page_ = last >= 0 && last < FilterDialogPageCount ? last
                                                          : std::clamp<int>(ws_.settings.FSDialogOpenDef, PageSearch, PageAuthors);
    }
    const uint32_t bits = static_cast<uint32_t>(ws_.settings.FSDialogSearchIn);
    for (int k = 1; k <= SearchFieldCount; ++k)
        ws_.selection.SuchenIn[static_cast<std::size_t>(k)] = (bits >> (k - 1)) & 1u;
}

bool FilterDialogModel::PageReachable(int page) const
{
    if (page < 0 || page >= FilterDialogPageCount)
        return false;
    return mode_ == FilterDialogMode::Normal || page == PageSearch || page == PageDefaults;
}

void FilterDialogModel::Activate()
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.FormActivate");
    Activation(false);
}

void FilterDialogModel::Activation(bool allTicked)
{
    for (int k = 1; k <= SearchFieldCount; ++k)
        boxes_[static_cast<std::size_t>(k)] = ws_.selection.SuchenIn[static_cast<std::size_t>(k)];
    ws_.selection.SuchText = searchText_;
    ChoosePickList(pickList_); // the search page shows the entries of its chosen list in every mode
    if (mode_ == FilterDialogMode::Normal)
        FillCheckLists(allTicked);
}

bool FilterDialogModel::ChangePage(int page)
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.PageChange");
    if (!PageReachable(page))
        return false;
    page_ = page;
    narrowing_ = false;
    if (mode_ == FilterDialogMode::Normal && page == PageKeywords &&
        !ws_.lists.SchlagworteSearchList.SearchListAllActive()) {
        const std::optional<int> choice = questions_.RadioChoice(
            {Cp1252("Auswahl neu erstellen oder ändern"), "bestehende Auswahl weiter eingrenzen "}, 0);
        narrowing_ = choice && *choice == 1;
    }
    if (narrowing_)
        BeginNarrowing(ws_.lists, ws_.keywordSets, lists_[ListKeywords].items);
    else
        NarrowingOff();
    return true;
}

void FilterDialogModel::NarrowingOff()
{
    ClearGroups(ws_.lists, ws_.keywordSets);
    UnlockKeywords();
}

// Locks belong to a narrowing; without one every keyword can be changed again.
void FilterDialogModel::UnlockKeywords()
{
    for (auto& item : lists_[ListKeywords].items)
        item.Enabled = true;
}

void FilterDialogModel::ChoosePickList(int index)
{
    if (index < 0 || index >= static_cast<int>(PickListNames.size()))
        return;
    pickList_ = index;
    SearchLists& l = ws_.lists;
    const std::array<const SearchList*, 10> sources = {
        &l.AutorSearchList, &l.BesitzerSearchList, &l.HerausgeberSearchList, &l.KategorieSearchList,
        &l.ReiheSearchList, &l.SpracheSearchList,  &l.StandortSearchList,    &l.TypSearchList,
        &l.VerlagSearchList, &l.ZeitschriftSearchList};
    pickEntries_ = SearchListTexts(*sources[static_cast<std::size_t>(index)]);
    std::sort(pickEntries_.begin(), pickEntries_.end(), DisplayLess);
}

void FilterDialogModel::TakeOver(int entry)
{
    if (entry < 0 || entry >= static_cast<int>(pickEntries_.size()))
        return;
    if (HasPrintable(searchText_))
        searchText_ += ' ';
    searchText_ += pickEntries_[static_cast<std::size_t>(entry)];
}

SearchList* FilterDialogModel::BackingList(int list) const
{
    SearchLists& l = ws_.lists;
    switch (list) {
    case ListKategorie: return &l.KategorieSearchList;
    case ListSprache: return &l.SpracheSearchList;
    case ListVerlag: return &l.VerlagSearchList;
    case ListReihe: return &l.ReiheSearchList;
    case ListEigentuemer: return &l.BesitzerSearchList;
    case ListHerausgeber: return &l.HerausgeberSearchList;
    case ListKeywords: return &l.SchlagworteSearchList;
    case ListAuthors: return &l.AutorSearchList;
    default: return nullptr; // type and lending state: fixed items
    }
}

// One item per entry, sorted for display; the filter lists begin with the
// item for titles without a value. The lists do not change while the dialog
// is open, so the order is built once.
void FilterDialogModel::BuildItems(int list)
{
    const SearchList& source = *BackingList(list);
    CheckList& cl = lists_[static_cast<std::size_t>(list)];
    const std::size_t extra = list < ListKeywords ? 1 : 0;
    if (cl.items.size() == source.entries.size() + extra)
        return;
    cl.entry.resize(source.entries.size());
    std::iota(cl.entry.begin(), cl.entry.end(), 0);
    std::sort(cl.entry.begin(), cl.entry.end(), [&source](int32_t a, int32_t b) {
        return DisplayLess(source.entries[static_cast<std::size_t>(a)].Text,
                           source.entries[static_cast<std::size_t>(b)].Text);
    });
    if (extra)
        cl.entry.insert(cl.entry.begin(), NoValueEntry);
    cl.items.clear();
    cl.items.reserve(cl.entry.size());
    for (int32_t e : cl.entry)
        cl.items.push_back({e == NoValueEntry ? Cp1252(NoValueCaption) : source.entries[static_cast<std::size_t>(e)].Text,
                            false, true});
}

bool FilterDialogModel::EntryActive(const SearchList& source, int32_t entry)
{
    return entry == NoValueEntry ? source.NoValueActive : source.entries[static_cast<std::size_t>(entry)].Active;
}

void FilterDialogModel::SetEntryActive(SearchList& source, int32_t entry, bool active)
{
    if (entry == NoValueEntry)
        source.NoValueActive = active;
    else
        source.entries[static_cast<std::size_t>(entry)].Active = active;
}

void FilterDialogModel::FillCheckLists(bool allTicked)
{
    if (filling_)
        return;
    filling_ = true;
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.FillCheckLists");
    for (int list = 0; list < CheckListCount; ++list) {
        const SearchList* source = BackingList(list);
        if (!source) {
            FillFixedList(list);
            continue;
        }
        BuildItems(list);
        CheckList& cl = lists_[static_cast<std::size_t>(list)];
        for (std::size_t i = 0; i < cl.items.size(); ++i) {
            cl.items[i].Checked = allTicked || EntryActive(*source, cl.entry[i]);
            cl.items[i].Enabled = true;
        }
    }
    filling_ = false;
}

// With its filter on, the types (lending states) of the shown titles are
// ticked; otherwise all. Ticks are only added here.
void FilterDialogModel::FillFixedList(int list)
{
    auto& items = lists_[static_cast<std::size_t>(list)].items;
    const bool typ = list == ListTyp;
    if (!ws_.selection.FilternVon[typ ? 5 : 8]) {
        for (auto& item : items)
            item.Checked = true;
        return;
    }
    const TitleStore& store = ws_.store;
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        const TBuch* b = store.at(i);
        if (!b || !b->Showing)
            continue;
        const int32_t value = (typ ? b->TypNum : b->Verleihstatus) % 32;
        if (value >= 0 && value < static_cast<int32_t>(items.size()))
            items[static_cast<std::size_t>(value)].Checked = true;
    }
}

void FilterDialogModel::AfterTicks(int list)
{
    const auto& items = lists_[static_cast<std::size_t>(list)].items;
    SelectionState& sel = ws_.selection;
    if (list == ListTyp || list == ListVerleihstatus) {
        uint32_t set = 0;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].Checked)
                set |= 1u << i;
        (list == ListTyp ? sel.TypSet : sel.VerleihSet) = set;
    }
    const int k = FilterOf(list);
    if (k > 0)
        sel.FilternVon[static_cast<std::size_t>(k)] =
            std::any_of(items.begin(), items.end(), [](const KeywordItem& item) { return !item.Checked; });
}

bool FilterDialogModel::SetItem(int list, std::size_t item, bool checked)
{
    CheckList& cl = lists_[static_cast<std::size_t>(list)];
    if (item >= cl.items.size() || !cl.items[item].Enabled)
        return false;
    cl.items[item].Checked = checked;
    if (SearchList* source = BackingList(list))
        SetEntryActive(*source, cl.entry[item], checked);
    return true;
}

void FilterDialogModel::Tick(int list, int item, bool checked)
{
    if (item >= 0 && SetItem(list, static_cast<std::size_t>(item), checked))
        AfterTicks(list);
}

// The popup commands leave the locked items of earlier narrowing stages alone.
void FilterDialogModel::SelectAll(int list)
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.AlleEintraegeAuswaehlen");
    for (std::size_t i = 0; i < Items(list).size(); ++i)
        SetItem(list, i, true);
    AfterTicks(list);
}

void FilterDialogModel::SelectNone(int list)
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.KeinenEintragAuswaehlen");
    for (std::size_t i = 0; i < Items(list).size(); ++i)
        SetItem(list, i, false);
    AfterTicks(list);
}

void FilterDialogModel::InvertSelection(int list)
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.AuswahlUmkehren");
    for (std::size_t i = 0; i < Items(list).size(); ++i)
        SetItem(list, i, !Items(list)[i].Checked);
    AfterTicks(list);
}

int FilterDialogModel::FirstAuthorWithLetter(char letter) const
{
    const unsigned char wanted = UpAscii(static_cast<unsigned char>(letter));
    const auto& items = Items(ListAuthors);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!items[i].Text.empty() && UpAscii(static_cast<unsigned char>(items[i].Text[0])) == wanted)
            return static_cast<int>(i);
    return -1;
}

bool FilterDialogModel::SaveKeywordSelection()
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.AuswahlSpeichern");
    const std::optional<std::string> name = questions_.InputText("Bezeichner der neuen Liste:");
    if (!name)
        return false;
    // A set is one line of the settings file, its parts split at ';'.
    if (!HasPrintable(*name)) {
        ws_.ui.message(MsgKind::Error, Cp1252("Bitte einen Bezeichner für die Liste eingeben!"), Buttons::Ok);
        return false;
    }
    if (FindListSeparator(*name) != std::string::npos || name->find_first_of("\r\n") != std::string::npos) {
        ws_.ui.message(MsgKind::Error,
                        Cp1252("Der Bezeichner der Liste darf kein Semikolon und keinen Zeilenumbruch enthalten!"),
                        Buttons::Ok);
        return false;
    }
    auto& items = lists_[ListKeywords].items;
    if (!SaveKeywordSet(ws_, *name, items))
        return false;
    auto& row = ws_.keywordSets.Rows.back();
    const auto broken = std::remove_if(row.begin() + 1, row.end(), [](const std::string& keyword) {
        return keyword.find_first_of("\r\n") != std::string::npos;
    });
    if (broken != row.end()) {
        row.erase(broken, row.end());
        ws_.ui.message(MsgKind::Warning,
                        Cp1252("Schlagworte mit Zeilenumbruch können nicht in einer Liste gespeichert werden\r\n"
                               "und wurden ausgelassen."),
                        Buttons::Ok);
    }
    return true;
}

bool FilterDialogModel::LoadKeywordSelection()
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.AuswahlLaden");
    if (!KeywordSetLoadAllowed(ws_))
        return false;
    const std::optional<std::string> name = questions_.PickOne(
        Cp1252("Set von zu markierenden Schlagworten auswählen"), "E Schlagwortliste", KeywordSetNames(ws_.keywordSets));
    if (!name)
        return false;
    LoadKeywordSet(ws_, *name, lists_[ListKeywords].items);
    return true;
}

void FilterDialogModel::RefillKeywordList()
{
    SearchLists& l = ws_.lists;
    if (l.FilterKeywordListUpToDate)
        return;
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.SchlagwortListeNeuFuellen");
    BuildItems(ListKeywords);
    CheckList& cl = lists_[ListKeywords];
    for (std::size_t i = 0; i < cl.items.size(); ++i)
        cl.items[i].Checked = l.SchlagworteSearchList.entries[static_cast<std::size_t>(cl.entry[i])].Active;
    l.FilterKeywordListUpToDate = true;
}

// The eight filter lists shown with every item ticked; the entries and the
// filter switches follow what the lists show.
void FilterDialogModel::RefillFilterLists()
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.FilternListenNeuFuellen");
    if (filling_)
        return;
    filling_ = true;
    for (int list = 0; list < ListKeywords; ++list) {
        SearchList* source = BackingList(list);
        if (!source) {
            FillFixedList(list);
        } else {
            BuildItems(list);
            CheckList& cl = lists_[static_cast<std::size_t>(list)];
            for (std::size_t i = 0; i < cl.items.size(); ++i) {
                cl.items[i].Checked = true;
                SetEntryActive(*source, cl.entry[i], true);
            }
        }
        AfterTicks(list);
    }
    filling_ = false;
}

void FilterDialogModel::Defaults()
{
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.Standardeinstellungen");
    SelectionState& sel = ws_.selection;
    searchText_.clear();
    boxes_.fill(false);
    sel.FilternVon.fill(false);
    sel.SuchenIn.fill(false);
    sel.SuchText.clear();
    ws_.lists.SetAllListsActive();
    // Every keyword is ticked again: a narrowing in progress has nothing left
    // to narrow, and its unlocked stage-one items must not form a new group.
    narrowing_ = false;
    NarrowingOff();
    Activation(true);
}

bool FilterDialogModel::DefaultItemChecked(int item) const
{
    const int bit = DefaultSearchItems[static_cast<std::size_t>(item)].bit;
    return (static_cast<uint32_t>(ws_.settings.FSDialogSearchIn) >> bit) & 1u;
}

void FilterDialogModel::SetDefaultItem(int item, bool checked)
{
    const uint32_t bit = 1u << DefaultSearchItems[static_cast<std::size_t>(item)].bit;
    uint32_t bits = static_cast<uint32_t>(ws_.settings.FSDialogSearchIn) & kSearchInBits;
    bits = checked ? bits | bit : bits & ~bit;
    ws_.settings.FSDialogSearchIn = static_cast<int32_t>(bits);
    for (int k = 1; k <= SearchFieldCount; ++k)
        ws_.selection.SuchenIn[static_cast<std::size_t>(k)] = (bits >> (k - 1)) & 1u;
}

void FilterDialogModel::SetOpenDefault(int page)
{
    ws_.settings.FSDialogOpenDef = std::clamp<int>(page, PageSearch, PageAuthors);
}

void FilterDialogModel::Close(bool confirmed)
{
    if (closed_)
        return;
    closed_ = true;
    TraceScope trace("Filtern_Suchen_Sortieren_Dlg.FormClose", std::string("Benutzen=") + TraceBool(confirmed));
    SelectionState& sel = ws_.selection;
    SearchLists& l = ws_.lists;
    const std::array<const SearchList*, FilterCount> filterLists = {
        &l.KategorieSearchList, &l.SpracheSearchList,  &l.VerlagSearchList,      &l.ReiheSearchList,
        &l.TypSearchList,       &l.BesitzerSearchList, &l.HerausgeberSearchList, &l.VerleihstatusSearchList};
    bool unchanged = searchText_ == sel.SuchText;
    for (int k = 1; k <= FilterCount; ++k)
        unchanged = unchanged && sel.FilternVon[static_cast<std::size_t>(k)] ==
                                     !filterLists[static_cast<std::size_t>(k - 1)]->SearchListInactive();
    for (int k = 1; k <= SearchFieldCount; ++k)
        unchanged = unchanged && boxes_[static_cast<std::size_t>(k)] == sel.SuchenIn[static_cast<std::size_t>(k)];
    sel.FSS_Changed = !unchanged;

    sel.FilternVon[0] = std::any_of(sel.FilternVon.begin() + 1, sel.FilternVon.end(), [](bool b) { return b; });
    bool anyBox = false;
    for (int k = 1; k <= SearchFieldCount; ++k) {
        sel.SuchenIn[static_cast<std::size_t>(k)] = boxes_[static_cast<std::size_t>(k)];
        anyBox = anyBox || boxes_[static_cast<std::size_t>(k)];
    }
    sel.SuchText = searchText_;
    sel.SuchenIn[0] = anyBox && !sel.SuchText.empty();

    if (confirmed) {
        sel.Replace = {caseSensitive_, searchText_, replaceText_};
        if (narrowing_)
            CloseNarrowingStage(ws_, lists_[ListKeywords].items);
    }
    if (mode_ == FilterDialogMode::Normal)
        sel.FSDialogLastPage = page_;
}

void AfterFilterDialog(Workspace& ws, FilterDialogMode mode, bool confirmed)
{
    TraceScope trace("FilterDialogModel.AfterFilterDialog");
    if (mode == FilterDialogMode::Replace) {
        // Nothing replaced: the search switches take effect at the next refresh.
        if (confirmed && ReplaceInAllTitles(ws))
            ws.selection.FSS_Changed = false;
        return;
    }
    if (confirmed) // the settings just confirmed take over from a duplicate selection
        EndDuplicateSelection(ws);
    SetAusgabeData(ws);
    ws.selection.FSS_Changed = false; // the refresh it asks for has run
}

} // namespace folianto
