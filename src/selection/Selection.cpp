#include "selection/Selection.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "core/ShellSort.h"
#include "workspace/GridFill.h"
#include "workspace/Workspace.h"
#include "selection/SearchLists.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

namespace folianto {

namespace {
inline unsigned char UpChar(unsigned char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Case-insensitive (a..z) substring test; `upperNeedle` is already upper case.
bool ContainsUpper(const std::string& hay, const std::string& upperNeedle)
{
    if (upperNeedle.empty() || upperNeedle.size() > hay.size())
        return false;
    const auto same = [](char a, char b) {
        return UpChar(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
    };
    for (auto from = hay.begin();; ++from) {
        from = std::search(from, hay.end(), upperNeedle.begin(), upperNeedle.end(), same);
        if (from == hay.end())
            return false;
        // Digits typed as a search do not find the number of a reference.
        const auto at = static_cast<std::size_t>(from - hay.begin());
        if (!SplitsReference(hay, at) && !SplitsReference(hay, at + upperNeedle.size()))
            return true;
    }
}

// The first occurrence of each umlaut and of sharp s as two letters.
void ReplaceUmlautsOnce(std::string& s)
{
    static const struct {
        char from;
        const char* to;
    } kPairs[] = {{'\xE4', "ae"}, {'\xF6', "oe"}, {'\xFC', "ue"}, {'\xDF', "ss"},
                  {'\xC4', "Ae"}, {'\xD6', "Oe"}, {'\xDC', "Ue"}};
    for (const auto& p : kPairs) {
        const std::size_t at = s.find(p.from);
        if (at != std::string::npos)
            s.replace(at, 1, p.to);
    }
}

const std::string& SortField(const TBuch& b, uint8_t order)
{
    switch (order) {
    case SortAutor: return b.Autor.Text;
    case SortKategorie: return b.Kategorie.Text;
    case SortSprache: return b.Sprache.Text;
    case SortBesitzer: return b.Besitzer.Text;
    case SortKuerzel: return b.Kuerzel.Text;
    default: return b.Titel.Text;
    }
}

// Field tests of the list-backed filters 1, 2, 3, 4, 6, 7.
struct ListFilter {
    int k;
    SearchListMatcher matcher;
    bool noValue; // titles without a value pass
};

const std::string& FilterField(const TBuch& b, int k)
{
    switch (k) {
    case 1: return b.Kategorie.Text;
    case 2: return b.Sprache.Text;
    case 3: return b.Verlag.Text;
    case 4: return b.Reihe.Text;
    case 6: return b.Besitzer.Text;
    default: return b.Herausgeber.Text;
    }
}

const SearchList& FilterList(const SearchLists& lists, int k)
{
    switch (k) {
    case 1: return lists.KategorieSearchList;
    case 2: return lists.SpracheSearchList;
    case 3: return lists.VerlagSearchList;
    case 4: return lists.ReiheSearchList;
    case 6: return lists.BesitzerSearchList;
    default: return lists.HerausgeberSearchList;
    }
}

bool AnyTitleInGroups(const TitleStore& store, const std::unordered_map<int32_t, int32_t>& groups)
{
    for (int32_t i = 1; i <= store.AnzBuch; ++i)
        if (const TBuch* b = store.at(i); b && groups.count(b->BuchNr))
            return true;
    return false;
}

// Sorted indices rearranged so that each group's titles follow its first one
// in sort order; titles outside the groups keep their places.
void GatherGroups(const TitleStore& store, const std::unordered_map<int32_t, int32_t>& groups,
                  std::vector<int32_t>& sorted)
{
    std::unordered_map<int32_t, std::vector<int32_t>> members; // group -> indices in sort order
    for (int32_t i : sorted)
        if (const auto it = groups.find(store.at(i)->BuchNr); it != groups.end())
            members[it->second].push_back(i);
    std::vector<int32_t> gathered;
    gathered.reserve(sorted.size());
    for (int32_t i : sorted) {
        const auto it = groups.find(store.at(i)->BuchNr);
        if (it == groups.end()) {
            gathered.push_back(i);
            continue;
        }
        std::vector<int32_t>& group = members[it->second];
        gathered.insert(gathered.end(), group.begin(), group.end());
        group.clear(); // placed with its first title
    }
    sorted.swap(gathered);
}

// The title in the cursor's row becomes ActBuch; none for an empty row.
void TakeCurrentFromRow(Workspace& ws)
{
    const int r = std::clamp(ws.grid.Row, 0, MaxBuch);
    TitleStore& store = ws.store;
    store.ActBuch = store.FindBuchByNr(ws.selection.AusgabeBuchNr[static_cast<std::size_t>(r)]);
    if (const TBuch* b = store.at(store.ActBuch))
        ws.selection.AktKuerzel = b->Kuerzel.Text;
}

bool InSet(uint32_t set, int32_t value)
{
    const int32_t m = value % 32;
    return m >= 0 && (set >> m) & 1u;
}
} // namespace

TBuchRec& SearchField(TBuch& b, int k)
{
    switch (k) {
    case 1: return b.Autor;
    case 2: return b.Inhalt;
    case 3: return b.Bemerkung;
    case 4: return b.Verlag;
    case 5: return b.ISBN;
    case 6: return b.Titel;
    case 7: return b.OrigTitel;
    case 8: return b.AltTitel;
    case 9: return b.Reihe;
    default: return b.Schlagworte;
    }
}

const TBuchRec& SearchField(const TBuch& b, int k)
{
    return SearchField(const_cast<TBuch&>(b), k);
}

void ResetSelection(Workspace& ws)
{
    TraceScope trace("Selection.ResetSelection");
    SelectionState& sel = ws.selection;
    std::fill(sel.AusgabeBuchNr.begin(), sel.AusgabeBuchNr.end(), 0);
    sel.SuchenIn.fill(false);
    sel.FilternVon.fill(false);
    sel.SuchText.clear();
    sel.DuplicateGroup.clear();
}

std::string NormalizeMatchText(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (unsigned char c : s)
        if (IsPrintable(c))
            out += static_cast<char>(UpChar(c));
    return out;
}

SearchListMatcher::SearchListMatcher(const SearchList& list)
{
    for (const SearchEntry& e : list.entries) {
        groups_ = std::max(groups_, e.Group);
        if (!e.Active)
            continue;
        std::string t = NormalizeMatchText(e.Text);
        if (t.empty())
            continue;
        maxLen_ = std::max(maxLen_, t.size());
        active_[std::move(t)].push_back(e.Group);
    }
}

bool SearchListMatcher::Match(const std::string& value) const
{
    if (active_.empty())
        return false;
    const std::string v = NormalizeMatchText(value);
    if (v.empty())
        return false;
    std::vector<bool> groupHit(static_cast<std::size_t>(std::max(groups_, 0)), false);
    bool some = false;
    // Every run of whole elements v[s, e) is a candidate; an entry counts only
    // where its first occurrence in the value is such a run.
    std::string run;
    std::size_t s = 0;
    for (;;) {
        for (std::size_t e = s + 1; e <= v.size() && e - s <= maxLen_; ++e) {
            if (e < v.size() && !IsListSeparator(v, e))
                continue;
            run.assign(v, s, e - s);
            const auto it = active_.find(run);
            if (it == active_.end() || v.find(run) != s)
                continue;
            if (groups_ <= 0)
                return true;
            some = true;
            for (int32_t g : it->second)
                if (g >= 1)
                    groupHit[static_cast<std::size_t>(g - 1)] = true;
        }
        const std::size_t semi = FindListSeparator(v, s);
        if (semi == std::string::npos)
            break;
        s = semi + 1;
    }
    return some && std::all_of(groupHit.begin(), groupHit.end(), [](bool b) { return b; });
}

bool MatchInSearchList(const std::string& value, const SearchList& list)
{
    return SearchListMatcher(list).Match(value);
}

void StringShellSort(std::vector<StringSortEntry>& entries, int sortLength)
{
    const std::size_t n = entries.size();
    if (n < 2 || sortLength < 1)
        return;
    auto sortGroup = [](StringSortEntry* first, std::size_t count, int p) {
        ShellSort(first, count, [p](const StringSortEntry& a, const StringSortEntry& b) {
            return UpChar(a.key[p]) > UpChar(b.key[p]);
        });
    };
    sortGroup(entries.data(), n, 0);
    for (int p = 1; p < sortLength; ++p) {
        // Groups: runs with identical first p characters (exact comparison).
        std::size_t i = 0;
        while (i < n) {
            std::size_t j = i + 1;
            while (j < n && std::memcmp(entries[j].key, entries[i].key, static_cast<std::size_t>(p)) == 0)
                ++j;
            if (j - i >= 2)
                sortGroup(&entries[i], j - i, p);
            i = j;
        }
    }
}

std::string SortKeyText(const TBuch& b, uint8_t order, bool caseSensitiveSort, bool sortByAE)
{
    // Characters kept as references sort by their base letter.
    std::string key = order == SortTyp ? TypNumToName(b.TypNum) : FoldReferences(SortField(b, order));
    // Umlauts first, then upper case, so that "Müller" becomes "MUELLER".
    if (sortByAE)
        ReplaceUmlautsOnce(key);
    if (caseSensitiveSort && order != SortTyp)
        key = UpperAscii(std::move(key));
    return key;
}

ChosenTitles ChooseTitles(TitleStore& store, const Settings& settings, const SearchLists& lists,
                          SelectionState& sel)
{
    const bool keywordSel = !lists.SchlagworteSearchList.SearchListAllActive();
    const bool authorSel = !lists.AutorSearchList.SearchListAllActive();

    // Criteria prepared once per run.
    const bool searchOn = sel.SuchenIn[0];
    const std::string needle = UpperAscii(sel.SuchText);
    const bool filterOn = sel.FilternVon[0];
    std::vector<ListFilter> listFilters;
    if (filterOn)
        for (int k : {1, 2, 3, 4, 6, 7})
            if (sel.FilternVon[static_cast<std::size_t>(k)])
                listFilters.push_back({k, SearchListMatcher(FilterList(lists, k)), FilterList(lists, k).NoValueActive});
    const bool typFilter = filterOn && sel.FilternVon[5];
    const bool verleihFilter = filterOn && sel.FilternVon[8];
    std::optional<SearchListMatcher> keywordMatcher, authorMatcher;
    if (keywordSel)
        keywordMatcher.emplace(lists.SchlagworteSearchList);
    if (authorSel)
        authorMatcher.emplace(lists.AutorSearchList);
    // A duplicate selection whose titles are all gone has nothing left to show.
    if (!sel.DuplicateGroup.empty() && !AnyTitleInGroups(store, sel.DuplicateGroup))
        sel.DuplicateGroup.clear();
    const bool duplicatesOn = !sel.DuplicateGroup.empty();
    const bool anyCriterion = !duplicatesOn && (filterOn || searchOn || keywordSel || authorSel);

    ChosenTitles chosen;
    chosen.Criteria = searchOn || filterOn || keywordSel;
    std::vector<int32_t>& passed = chosen.Slots;
    passed.reserve(static_cast<std::size_t>(std::max(store.AnzBuch, 0)));
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        TBuch* b = store.at(i);
        if (!b)
            continue;
        b->Showing = true;
        if (duplicatesOn) {
            b->Showing = b->BuchNr >= sel.DuplicatesNewFrom || sel.DuplicateGroup.count(b->BuchNr) != 0;
        } else if (anyCriterion) {
            bool keep = true;
            if (searchOn) {
                bool found = false;
                for (int k = 1; k <= SearchFieldCount && !found; ++k)
                    found = sel.SuchenIn[static_cast<std::size_t>(k)] && ContainsUpper(SearchField(*b, k).Text, needle);
                keep = found;
            }
            if (keep && filterOn) {
                bool filt = typFilter && InSet(sel.TypSet, b->TypNum);
                filt = filt || (verleihFilter && InSet(sel.VerleihSet, b->Verleihstatus));
                for (std::size_t f = 0; f < listFilters.size() && !filt; ++f) {
                    const std::string& value = FilterField(*b, listFilters[f].k);
                    filt = (listFilters[f].noValue && HasNoValue(value)) || listFilters[f].matcher.Match(value);
                }
                keep = filt;
            }
            if (keep && keywordSel)
                keep = keywordMatcher->Match(b->Schlagworte.Text);
            if (keep && authorSel)
                keep = authorMatcher->Match(b->Autor.Text);
            b->Showing = keep;
        }
        if (b->Showing)
            passed.push_back(i);
    }

    const std::size_t count = passed.size();
    if (count < 2)
        return chosen;
    try {
        const uint8_t order = settings.BuchSort;
        if (order == SortEingabe) {
            // Newest first.
            ShellSort(passed.data(), count, [](int32_t a, int32_t b) { return a < b; });
        } else {
            const int width = std::max<int>(settings.SortLength, 1);
            std::vector<unsigned char> keys(count * static_cast<std::size_t>(width), ' ');
            std::vector<StringSortEntry> entries(count);
            for (std::size_t n = 0; n < count; ++n) {
                const std::string key = SortKeyText(*store.at(passed[n]), order,
                                                    settings.CaseSensitiveSort, settings.SortByAE);
                unsigned char* slot = keys.data() + n * static_cast<std::size_t>(width);
                std::memcpy(slot, key.data(), std::min(key.size(), static_cast<std::size_t>(width)));
                entries[n] = {slot, passed[n]};
            }
            StringShellSort(entries, settings.SortLength);
            for (std::size_t n = 0; n < count; ++n)
                passed[n] = entries[n].index;
        }
        if (duplicatesOn)
            GatherGroups(store, sel.DuplicateGroup, passed);
    } catch (const std::bad_alloc&) {
        chosen.Slots.clear();
        chosen.OutOfMemory = true;
    }
    return chosen;
}

void SetAusgabeData(Workspace& ws)
{
    const SelectionState& sel = ws.selection;
    TraceScope trace("Selection.SetAusgabeData",
                     "BuchSort=" + IntToStr(ws.settings.BuchSort) + "\r\nSuchenIn[0]=" + TraceBool(sel.SuchenIn[0]) +
                         "\r\nFilternVon[0]=" + TraceBool(sel.FilternVon[0]) + "\r\nSchlagworte=" +
                         TraceBool(!ws.lists.SchlagworteSearchList.SearchListAllActive()) + "\r\nAutoren=" +
                         TraceBool(!ws.lists.AutorSearchList.SearchListAllActive()));
    BusyCursor busy(ws.ui);

    const ChosenTitles chosen = ChooseTitles(ws.store, ws.settings, ws.lists, ws.selection);
    if (chosen.OutOfMemory)
        ws.ui.message(MsgKind::Error, GetErrorText(8, Cp1252("Bücher")), Buttons::Ok);
    else if (chosen.Slots.empty() && chosen.Criteria)
        ws.ui.message(MsgKind::Error, GetErrorText(11), Buttons::Ok);

    FillGrid(ws, chosen.Slots);
    // What the user sees highlighted is what the title commands act on.
    TakeCurrentFromRow(ws);
    ws.grid.NotifyReset();
    ws.grid.NotifyStatus();
}

void GetCurrentBuch(Workspace& ws)
{
    TraceScope trace("Selection.GetCurrentBuch");
    if (ws.columns.ColumnsMoved)
        ws.columns.Resort_BuchString_Headers_and_Pos(ws.grid);
    TakeCurrentFromRow(ws);
    ws.selection.AktCol = std::clamp(ws.grid.Col, 0, 255);
}

void SelectGridRow(Workspace& ws, int row)
{
    GridModel& grid = ws.grid;
    if (row < 1 || row >= grid.RowCount())
        return;
    grid.Row = row;
    grid.Selection = {grid.Col, row, grid.Col, row};
    TakeCurrentFromRow(ws);
    grid.NotifyCurrent();
}

void ShowLoadedTitles(Workspace& ws)
{
    SetAusgabeData(ws);
    SelectGridRow(ws, 1);
}

bool SetBuchSort(Workspace& ws, uint8_t value)
{
    TraceScope trace("Selection.SetBuchSort");
    const bool changed = ws.settings.BuchSort != value;
    ws.settings.BuchSort = value;
    if (changed)
        SetAusgabeData(ws);
    return changed;
}

} // namespace folianto
