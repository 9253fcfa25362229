#pragma once
// The filter/search/sort dialog without its widgets: pages, search switches,
// check lists over the search lists, keyword sets and narrowing in stages.
// Every tick writes the search lists' Active flags and the filter switches at
// once; closing takes over the search switches and text.

#include "selection/KeywordSets.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

struct Workspace;
class SearchList;

enum class FilterDialogMode { Normal, Search, Replace };

// Pages in tab order.
enum FilterDialogPage : int { PageSearch = 0, PageFilter = 1, PageKeywords = 2, PageAuthors = 3, PageDefaults = 4 };
constexpr int FilterDialogPageCount = 5;

// Check lists: the eight filter sub-pages in tab order, then keywords and authors.
enum CheckListId : int {
    ListKategorie = 0, ListSprache, ListVerlag, ListReihe, ListTyp, ListEigentuemer, ListHerausgeber,
    ListVerleihstatus, ListKeywords, ListAuthors,
};
constexpr int CheckListCount = 10;

// The questions the dialog asks through small dialogs of its own.
class FilterDialogQuestions {
public:
    virtual ~FilterDialogQuestions() = default;
    // Radio choice; the chosen index, nothing when not confirmed.
    virtual std::optional<int> RadioChoice(const std::vector<std::string>& choices, int preselected) = 0;
    // One-value text input; nothing when cancelled.
    virtual std::optional<std::string> InputText(const std::string& label) = 0;
    // Single choice from a list; the chosen entry, nothing when not confirmed.
    virtual std::optional<std::string> PickOne(const std::string& caption, const std::string& noun,
                                               const std::vector<std::string>& entries) = 0;
};

// One search check box: its caption and the switch SuchenIn[k] it stands for.
struct SearchBox {
    const char* caption; // UTF-8
    int k;
};
// In the order shown on the search page.
extern const std::array<SearchBox, 10> SearchBoxes;
// Defaults list: caption and the bit of FSDialogSearchIn, in the same order.
struct DefaultSearchItem {
    const char* caption; // UTF-8
    int bit;
};
extern const std::array<DefaultSearchItem, 10> DefaultSearchItems;

// Sub-page captions of the filter page and the fixed items (UTF-8).
extern const std::array<const char*, 8> FilterSubPageCaptions;
extern const std::array<const char*, 9> TypItemCaptions;
// Names of the pick lists of the search page, sorted.
extern const std::array<const char*, 10> PickListNames;

// The first item of each field filter list: titles without a value (UTF-8).
constexpr const char* NoValueCaption = "(ohne Angabe)";

// Display order: case-insensitive with umlauts beside their base letters,
// ties by the bytes.
bool DisplayLess(const std::string& a, const std::string& b);

class FilterDialogModel {
public:
    // Creating the dialog: keyword groups cleared, check lists filled, mode
    // applied (page, SuchenIn[1..10] preset from FSDialogSearchIn).
    FilterDialogModel(Workspace& ws, FilterDialogMode mode, FilterDialogQuestions& questions);

    FilterDialogMode Mode() const { return mode_; }
    bool PageReachable(int page) const;
    int Page() const { return page_; }

    // First showing of the dialog: boxes from SuchenIn, SuchText from the
    // (empty) search edit, pick list and check lists filled.
    void Activate();
    // The user switched to `page`: narrowing question or the clearing of
    // keyword groups. True when the keyword list's items changed.
    bool ChangePage(int page);

    // Search page.
    bool Box(int k) const { return boxes_[static_cast<std::size_t>(k)]; }
    void SetBox(int k, bool on) { boxes_[static_cast<std::size_t>(k)] = on; }
    const std::string& SearchText() const { return searchText_; }
    void SetSearchText(std::string text) { searchText_ = std::move(text); }
    const std::string& ReplaceText() const { return replaceText_; }
    void SetReplaceText(std::string text) { replaceText_ = std::move(text); }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool on) { caseSensitive_ = on; }
    int PickList() const { return pickList_; }
    void ChoosePickList(int index);
    const std::vector<std::string>& PickEntries() const { return pickEntries_; }
    // Appends a pick entry to the search text, after a blank when it holds text.
    void TakeOver(int entry);

    // Check lists: items in display order.
    const std::vector<KeywordItem>& Items(int list) const { return lists_[static_cast<std::size_t>(list)].items; }
    void Tick(int list, int item, bool checked);
    void SelectAll(int list);
    void SelectNone(int list);
    void InvertSelection(int list);
    // Authors page: the first author whose first letter is `letter` (a..z in
    // either case); -1 when none.
    int FirstAuthorWithLetter(char letter) const;

    // Keyword sets of the keyword list; false when nothing was saved or ticked.
    bool SaveKeywordSelection();
    bool LoadKeywordSelection();
    bool Narrowing() const { return narrowing_; }

    // Popup of the filter group.
    void RefillKeywordList();
    void RefillFilterLists();
    // "&Standardeinstellungen".
    void Defaults();

    // Defaults page.
    bool DefaultItemChecked(int item) const;
    void SetDefaultItem(int item, bool checked);
    void SetOpenDefault(int page);

    // Closing by any means; `confirmed` for "&Benutzen" (or "&Ersetzen").
    void Close(bool confirmed);

private:
    struct CheckList {
        std::vector<KeywordItem> items;
        std::vector<int32_t> entry; // search-list entry of each item, or NoValueEntry
    };
    static constexpr int32_t NoValueEntry = -1;
    static bool EntryActive(const SearchList& source, int32_t entry);
    static void SetEntryActive(SearchList& source, int32_t entry, bool active);
    SearchList* BackingList(int list) const;
    void Activation(bool allTicked);
    bool SetItem(int list, std::size_t item, bool checked);
    void FillCheckLists(bool allTicked);
    void FillFixedList(int list);
    void BuildItems(int list);
    void AfterTicks(int list);
    void UnlockKeywords();
    void NarrowingOff();

    Workspace& ws_;
    FilterDialogMode mode_;
    FilterDialogQuestions& questions_;
    int page_ = PageSearch;
    std::array<bool, 11> boxes_{};
    std::string searchText_, replaceText_;
    bool caseSensitive_ = false;
    int pickList_ = 0;
    std::vector<std::string> pickEntries_;
    std::array<CheckList, CheckListCount> lists_;
    bool narrowing_ = false;
    bool filling_ = false;
    bool closed_ = false;
};

// After the dialog: the refresh of the main window, or the replacement in
// replace mode. The closing's change flag is cleared once a refresh ran.
void AfterFilterDialog(Workspace& ws, FilterDialogMode mode, bool confirmed);

} // namespace folianto
