#include "selection/FilterDialogModel.h"
#include "selection/SelectionTestUtil.h"
#include "core/ErrorText.h"
#include "selection/SearchLists.h"

using namespace folianto;
using folianto::test::AddTitle;
using folianto::test::ShownTitles;
using folianto::test::TestApp;

namespace {
using Titles = std::vector<std::string>;

// Answers the dialog's own questions from queues and records them.
struct ScriptedQuestions : FilterDialogQuestions {
    std::optional<int> RadioChoice(const std::vector<std::string>& choices, int preselected) override
    {
        radioChoices.push_back(choices);
        EXPECT_EQ(preselected, 0);
        return Next(radioAnswers);
    }
    std::optional<std::string> InputText(const std::string& label) override
    {
        labels.push_back(label);
        return Next(inputs);
    }
    std::optional<std::string> PickOne(const std::string& caption, const std::string& noun,
                                       const std::vector<std::string>& entries) override
    {
        picked.push_back(caption + "|" + noun);
        pickEntries = entries;
        return Next(picks);
    }
    template <class T> static std::optional<T> Next(std::deque<std::optional<T>>& q)
    {
        if (q.empty())
            return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
    std::deque<std::optional<int>> radioAnswers;
    std::deque<std::optional<std::string>> inputs, picks;
    std::vector<std::vector<std::string>> radioChoices;
    std::vector<std::string> labels, picked, pickEntries;
};

struct TitleRow {
    const char* titel;
    const char* kategorie = "";
    int32_t typ = 0;
    const char* keywords = "";
};

struct Fixture {
    TestApp t;
    ScriptedQuestions q;
    App& app = t.app;

    Fixture() = default;
    // The titles entered, the lists filled and the grid shown.
    Fixture(std::initializer_list<TitleRow> titles)
    {
        for (const TitleRow& r : titles)
            Add(r.titel, r.kategorie, r.typ, r.keywords);
        Ready();
    }
    // Titles "<name>" with category, type and keywords.
    void Add(const char* titel, const char* kategorie, int32_t typ = 0, const char* keywords = "")
    {
        TBuch& b = AddTitle(app, titel);
        b.Kategorie.Text = Cp1252(kategorie);
        b.TypNum = typ;
        b.Schlagworte.Text = Cp1252(keywords);
    }
    void Ready()
    {
        Fill_AllLists(app);
        SetAusgabeData(app);
    }
    // Opens, runs `steps` on the open dialog, closes and refreshes as the main window does.
    void Session(const std::function<void(FilterDialogModel&)>& steps, bool confirmed = true,
                 FilterDialogMode mode = FilterDialogMode::Normal)
    {
        FilterDialogModel dlg(app, mode, q);
        dlg.Activate();
        steps(dlg);
        dlg.Close(confirmed);
        AfterFilterDialog(app, mode, confirmed);
    }
    Titles Shown() const
    {
        Titles t = ShownTitles(app);
        std::sort(t.begin(), t.end());
        return t;
    }
};

int ItemIndex(const FilterDialogModel& dlg, int list, const char* text)
{
    const auto& items = dlg.Items(list);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].Text == Cp1252(text))
            return static_cast<int>(i);
    ADD_FAILURE() << "no item " << text;
    return -1;
}

void TickText(FilterDialogModel& dlg, int list, const char* text, bool on)
{
    dlg.Tick(list, ItemIndex(dlg, list, text), on);
}

} // namespace

TEST(FilterDialogModel, CategoryAndTypeTicksSetAndClearTheFilters)
{
    struct Case {
        const char* name;
        std::function<void(FilterDialogModel&)> steps;
        std::vector<int> on; // the filters switched on; none shown: the no-data message
        Titles shown;
    };
    const Case cases[] = {
        {"untick one, and one past the last",
         [](FilterDialogModel& d) {
             TickText(d, ListKategorie, "Krimi", false);
             d.Tick(ListKategorie, static_cast<int>(d.Items(ListKategorie).size()), false);
         },
         {1}, {"A Roman", "C Sachbuch", "D ohne"}},
        {"untick the titles without a category",
         [](FilterDialogModel& d) {
             EXPECT_EQ(d.Items(ListKategorie).front().Text, "(ohne Angabe)");
             TickText(d, ListKategorie, "(ohne Angabe)", false);
         },
         {1}, {"A Roman", "B Krimi", "C Sachbuch"}},
        {"untick and tick again",
         [](FilterDialogModel& d) {
             TickText(d, ListKategorie, "Krimi", false);
             TickText(d, ListKategorie, "Krimi", true);
         },
         {}, {"A Roman", "B Krimi", "C Sachbuch", "D ohne"}},
        {"none", [](FilterDialogModel& d) { d.SelectNone(ListKategorie); }, {1}, {}},
        {"none, then only Roman",
         [](FilterDialogModel& d) {
             d.SelectNone(ListKategorie);
             TickText(d, ListKategorie, "Roman", true);
         },
         {1}, {"A Roman"}},
        {"invert after unticking Roman",
         [](FilterDialogModel& d) {
             TickText(d, ListKategorie, "Roman", false);
             d.InvertSelection(ListKategorie);
         },
         {1}, {"A Roman"}},
        {"all after none", [](FilterDialogModel& d) { d.SelectNone(ListKategorie); d.SelectAll(ListKategorie); },
         {}, {"A Roman", "B Krimi", "C Sachbuch", "D ohne"}},
        {"types: all after none", [](FilterDialogModel& d) { d.SelectNone(ListTyp); d.SelectAll(ListTyp); },
         {}, {"A Roman", "B Krimi", "C Sachbuch", "D ohne"}},
        // The link flag of "D ohne" does not disturb its type.
        {"no category, but the type filter shows what it accepts",
         [](FilterDialogModel& d) {
             d.SelectNone(ListKategorie);
             TickText(d, ListTyp, "Monographie", false);
         },
         {1, 5}, {"B Krimi", "D ohne"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f{{"A Roman", "Roman"}, {"B Krimi", "Krimi", 8}, {"C Sachbuch", "Sachbuch"},
                  {"D ohne", "", 8 | LinkFlag}};
        f.Session(c.steps);
        std::vector<int> on;
        for (int k = 1; k <= FilterCount; ++k)
            if (f.app.selection.FilternVon[static_cast<std::size_t>(k)])
                on.push_back(k);
        EXPECT_EQ(std::tuple(on, f.app.selection.FilternVon[0], f.Shown()), std::tuple(c.on, !c.on.empty(), c.shown));
        const bool message = !f.t.ui.messages.empty() && f.t.ui.messages.back().text == GetErrorText(11);
        EXPECT_EQ(message, c.shown.empty());
        // The item for no value is no entry of the list.
        EXPECT_EQ(SearchListTexts(f.app.lists.KategorieSearchList), (std::vector<std::string>{"Roman", "Krimi", "Sachbuch"}));
    }
}

TEST(FilterDialogModel, ClosingTakesOverTheSearchBoxesByAnyMeans)
{
    struct Case {
        const char* name;
        bool confirmed;
        std::string text;
        bool searchOn;
        Titles shown;
    };
    const Case cases[] = {
        {"Benutzen", true, "bar", true, {"Barbara", "Kinderbar"}},
        {"Escape", false, "bar", true, {"Barbara", "Kinderbar"}},
        {"empty text leaves the search off", false, "", false, {"Anderes", "Barbara", "Kinderbar"}},
        {"huge text finds nothing and says so", true, std::string(100000, 'x'), true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f{{"Barbara"}, {"Kinderbar"}, {"Anderes"}};
        f.Session(
            [&c](FilterDialogModel& d) {
                for (const SearchBox& box : SearchBoxes)
                    d.SetBox(box.k, box.k == 6); // only the title
                d.SetSearchText(c.text);
            },
            c.confirmed);
        const auto& sel = f.app.selection;
        EXPECT_EQ(std::tuple(sel.SuchenIn[6], sel.SuchenIn[1], sel.SuchenIn[0], sel.SuchText),
                  std::tuple(true, false, c.searchOn, c.text));
        EXPECT_EQ(f.Shown(), c.shown);
        const bool message = !f.t.ui.messages.empty() && f.t.ui.messages.back().text == GetErrorText(11);
        EXPECT_EQ(message, c.shown.empty());
    }
}

TEST(FilterDialogModel, ChangeFlagOfTheClosing)
{
    struct Case {
        const char* name;
        bool titled; // one title with a category, all filters off; else no titles, the lending filter on
        int flip;    // a filter switch turned before opening; 0: none
        std::function<void(FilterDialogModel&)> steps;
        bool changed;
    };
    const Case cases[] = {
        // A filter list with active entries but its filter off counts as a change.
        {"nothing done", true, 0, [](FilterDialogModel&) {}, true},
        // Each filter on exactly when its list has an active entry (the fixed
        // lending states always have), boxes and text as they were: unchanged.
        {"all as it was", false, 0, [](FilterDialogModel&) {}, false},
        {"text typed", false, 0, [](FilterDialogModel& d) { d.SetSearchText("x"); }, true},
        {"box changed", false, 0, [](FilterDialogModel& d) { d.SetBox(10, !d.Box(10)); }, true},
        {"box toggled back", false, 0,
         [](FilterDialogModel& d) {
             d.SetBox(3, !d.Box(3));
             d.SetBox(3, !d.Box(3));
         },
         false},
        // A filter switch that no longer matches its list's entries is a change.
        {"category filter on, no entries", false, 2, [](FilterDialogModel&) {}, true},
        {"lending filter off", false, 8, [](FilterDialogModel&) {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (c.titled) {
            f.Add("A", "Roman");
            f.Ready();
        } else {
            f.app.selection.FilternVon[8] = true;
        }
        f.app.selection.FilternVon[static_cast<std::size_t>(c.flip)] ^= c.flip != 0;
        FilterDialogModel d(f.app, FilterDialogMode::Normal, f.q);
        d.Activate();
        c.steps(d);
        d.Close(c.titled); // the flag does not depend on the button
        EXPECT_EQ(f.app.selection.FSS_Changed, c.changed);
    }
    Fixture f{{"A", "Roman"}};
    f.Session([](FilterDialogModel& d) { // a text without a field to search in is no search
        for (const SearchBox& box : SearchBoxes)
            d.SetBox(box.k, false);
        d.SetSearchText("x");
    });
    EXPECT_FALSE(f.app.selection.SuchenIn[0]);
    EXPECT_FALSE(f.app.selection.FSS_Changed); // the refresh it asked for has run
    FilterDialogModel twice(f.app, FilterDialogMode::Normal, f.q);
    twice.Activate();
    twice.SetSearchText("zwei");
    twice.SetBox(10, true); // the last of the search fields
    twice.Close(true);
    twice.SetSearchText("drei");
    twice.Close(true); // a second close changes nothing
    EXPECT_EQ(std::pair(f.app.selection.SuchText, f.app.selection.SuchenIn[10]), std::pair(std::string("zwei"), true));
}

TEST(FilterDialogModel, ModesPagesAndPresets)
{
    Fixture f{{"A"}};
    f.app.settings.FSDialogSearchIn = (1 << 5) | (1 << 9); // title and keywords
    f.app.settings.FSDialogOpenDef = 3;
    f.app.lists.SchlagworteSearchList.AddEntry("kw", false);
    for (FilterDialogMode mode : {FilterDialogMode::Search, FilterDialogMode::Replace}) {
        FilterDialogModel d(f.app, mode, f.q);
        d.Activate();
        EXPECT_EQ(d.Page(), PageSearch);
        std::vector<int> reachable;
        for (int p = -1; p <= FilterDialogPageCount; ++p)
            if (d.PageReachable(p))
                reachable.push_back(p);
        EXPECT_EQ(reachable, (std::vector<int>{PageSearch, PageDefaults}));
        EXPECT_FALSE(d.ChangePage(PageKeywords));
        EXPECT_TRUE(d.ChangePage(PageDefaults));
        for (const SearchBox& box : SearchBoxes)
            EXPECT_EQ(d.Box(box.k), box.k == 6 || box.k == 10) << box.caption;
    }

    // Normal mode: the setting chooses the first page of a run, later the last page.
    {
        FilterDialogModel d(f.app, FilterDialogMode::Normal, f.q);
        EXPECT_EQ(d.Page(), PageAuthors);
        EXPECT_FALSE(d.Items(ListKeywords)[0].Checked); // the lists show the ticks before activation too
        d.ChangePage(PageFilter);
        d.Close(false);
    }
    EXPECT_TRUE(f.q.radioChoices.empty()); // only the keyword page of the normal dialog asks
    // The reduced dialogs leave the remembered page alone.
    {
        FilterDialogModel search(f.app, FilterDialogMode::Search, f.q);
        search.ChangePage(PageDefaults);
        search.Close(true);
    }
    FilterDialogModel d(f.app, FilterDialogMode::Normal, f.q);
    EXPECT_EQ(d.Page(), PageFilter);
    EXPECT_EQ(std::pair(d.PageReachable(-1), d.PageReachable(FilterDialogPageCount)), std::pair(false, false));
}

TEST(FilterDialogModel, DefaultsListNamesTheSwitchItsBitPresets)
{
    Fixture f;
    FilterDialogModel d(f.app, FilterDialogMode::Normal, f.q);
    f.app.settings.FSDialogSearchIn = 0;
    for (std::size_t i = 0; i < DefaultSearchItems.size(); ++i) {
        SCOPED_TRACE(DefaultSearchItems[i].caption);
        d.SetDefaultItem(static_cast<int>(i), true);
        // The defaults item and the search box of the same switch name the same field.
        const int k = DefaultSearchItems[i].bit + 1;
        const auto box = std::find_if(SearchBoxes.begin(), SearchBoxes.end(), [k](const SearchBox& b) { return b.k == k; });
        EXPECT_EQ(box - SearchBoxes.begin(), static_cast<long>(i));
        EXPECT_TRUE(f.app.selection.SuchenIn[static_cast<std::size_t>(k)]);
        d.SetDefaultItem(static_cast<int>(i), false);
        EXPECT_EQ(f.app.settings.FSDialogSearchIn, 0);
    }
    f.app.settings.FSDialogSearchIn = static_cast<int32_t>(0xFFFFFFFFu); // stray high bits are dropped
    d.SetDefaultItem(0, true);
    EXPECT_EQ(f.app.settings.FSDialogSearchIn, 0x3FF);
}

TEST(FilterDialogModel, NarrowingInStages)
{
    Fixture f{{"P+E", "", 0, "Politik;Europa"}, {"G+E", "", 0, "Geschichte;Europa"}, {"E", "", 0, "Europa"},
              {"P", "", 0, "Politik"}, {"K+E", "", 0, "Kunst;Europa"}};
    // Stage one: Politik and Geschichte.
    f.Session([](FilterDialogModel& d) {
        d.ChangePage(PageKeywords); // all ticked: nothing to narrow, no question
        EXPECT_FALSE(d.Narrowing());
        d.SelectNone(ListKeywords);
        TickText(d, ListKeywords, "Politik", true);
        TickText(d, ListKeywords, "Geschichte", true);
    });
    EXPECT_EQ(f.Shown(), (Titles{"G+E", "P", "P+E"}));

    // Stage two: narrowed by Europa.
    f.q.radioAnswers = {1};
    f.Session([](FilterDialogModel& d) {
        d.ChangePage(PageKeywords);
        EXPECT_TRUE(d.Narrowing());
        const auto& politik = d.Items(ListKeywords)[static_cast<std::size_t>(ItemIndex(d, ListKeywords, "Politik"))];
        EXPECT_TRUE(politik.Checked && !politik.Enabled);
        d.SelectNone(ListKeywords); // locked items stay ticked
        EXPECT_TRUE(politik.Checked);
        TickText(d, ListKeywords, "Politik", false);
        EXPECT_TRUE(politik.Checked);
        TickText(d, ListKeywords, "Europa", true);
    });
    ASSERT_EQ(f.q.radioChoices.size(), 1u);
    EXPECT_EQ(f.q.radioChoices[0],
              (std::vector<std::string>{Cp1252("Auswahl neu erstellen oder ändern"), "bestehende Auswahl weiter eingrenzen "}));
    EXPECT_EQ(f.Shown(), (Titles{"G+E", "P+E"}));

    // Declining the question on the next opening: one pool again, locks gone.
    f.q.radioAnswers = {0};
    f.Session([](FilterDialogModel& d) {
        d.ChangePage(PageKeywords);
        EXPECT_FALSE(d.Narrowing());
        for (const auto& item : d.Items(ListKeywords))
            EXPECT_TRUE(item.Enabled);
    });
    EXPECT_EQ(f.Shown(), (Titles{"E", "G+E", "K+E", "P", "P+E"}));

    // Narrowing again, then the defaults button: no locks, Europa alone.
    f.q.radioAnswers = {1};
    f.Session([](FilterDialogModel& d) {
        d.ChangePage(PageKeywords);
        ASSERT_TRUE(d.Narrowing());
        d.Defaults();
        EXPECT_FALSE(d.Narrowing());
        d.SelectNone(ListKeywords);
        TickText(d, ListKeywords, "Europa", true);
    });
    EXPECT_EQ(MaxGroup(f.app.lists.SchlagworteSearchList), 0);
    EXPECT_EQ(f.Shown(), (Titles{"E", "G+E", "K+E", "P+E"}));

    // Narrowing without ticking anything new, then reopening without narrowing: the groups are gone.
    f.q.radioAnswers = {1};
    f.Session([](FilterDialogModel& d) {
        d.ChangePage(PageKeywords);
        TickText(d, ListKeywords, "Europa", false); // locked: stays
    });
    EXPECT_EQ(MaxGroup(f.app.lists.SchlagworteSearchList), 1);
    f.Session([](FilterDialogModel&) {});
    EXPECT_EQ(std::tuple(f.app.keywordSets.GroupCounter, MaxGroup(f.app.lists.SchlagworteSearchList), f.Shown()),
              std::tuple(0, 0, Titles{"E", "G+E", "K+E", "P+E"}));
}

TEST(FilterDialogModel, SavingKeywordSets)
{
    using Rows = std::vector<std::vector<std::string>>;
    Fixture f{{"A", "", 0, "Politik;Europa"}};
    f.app.keywordSets.Rows = {{"Mein Set", "Kunst"}};
    FilterDialogModel d(f.app, FilterDialogMode::Normal, f.q);
    d.Activate();
    TickText(d, ListKeywords, "Europa", false);

    struct Case {
        const char* name;
        std::optional<std::string> input;
        std::deque<Answer> answers;
        bool saved;
        const char* message; // nullptr: none
        Rows rows;
    };
    const char* badName = "Der Bezeichner der Liste darf kein Semikolon und keinen Zeilenumbruch enthalten!";
    const char* exists =
        "Es existiert bereits eine Liste mit der\r\nBezeichnung \"MEIN SET\"!\r\n\r\nSoll diese Liste überschrieben werden?";
    const Rows kept = {{"Mein Set", "Kunst"}};
    const Case cases[] = {
        {"cancelled", std::nullopt, {}, false, nullptr, kept},
        {"semicolon", std::string("a;b"), {}, false, badName, kept},
        {"line break", std::string("a\r\nb"), {}, false, badName, kept},
        {"blank", std::string("  "), {}, false, "Bitte einen Bezeichner für die Liste eingeben!", kept},
        {"same name in other case, No", std::string("MEIN SET"), {Answer::No}, false, exists, kept},
        {"same name, Yes", std::string("MEIN SET"), {Answer::Yes}, true, exists, {{"MEIN SET", "Politik"}}},
        {"new name", std::string("Zwei"), {}, true, nullptr, {{"MEIN SET", "Politik"}, {"Zwei", "Politik"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.t.ui.messages.clear();
        f.q.inputs = {c.input};
        f.t.ui.answers = c.answers;
        EXPECT_EQ(d.SaveKeywordSelection(), c.saved);
        EXPECT_EQ(f.q.labels.back(), "Bezeichner der neuen Liste:");
        if (c.message) {
            ASSERT_EQ(f.t.ui.messages.size(), 1u);
            EXPECT_EQ(f.t.ui.messages[0].text, Cp1252(c.message));
        } else {
            EXPECT_TRUE(f.t.ui.messages.empty());
        }
        EXPECT_EQ(f.app.keywordSets.Rows, c.rows);
    }
}

TEST(FilterDialogModel, LoadingKeywordSets)
{
    Fixture f{{"A", "", 0, "Politik;Europa;Kunst"}};
    f.app.keywordSets.Rows = {{"Weg", "Verschwunden", "Auch weg"}, {"Alt", "Kunst", "Nicht mehr da"}};
    FilterDialogModel d(f.app, FilterDialogMode::Normal, f.q);
    d.Activate();

    // Everything ticked: a warning and nothing else.
    EXPECT_FALSE(d.LoadKeywordSelection());
    ASSERT_EQ(f.t.ui.messages.size(), 1u);
    EXPECT_EQ(f.t.ui.messages[0].kind, MsgKind::Warning);
    EXPECT_TRUE(f.q.picked.empty());

    d.SelectNone(ListKeywords);
    f.q.picks = {std::string("Weg")}; // its keywords no longer exist
    EXPECT_TRUE(d.LoadKeywordSelection());
    EXPECT_EQ(f.q.picked.back(), Cp1252("Set von zu markierenden Schlagworten auswählen|E Schlagwortliste"));
    EXPECT_EQ(f.q.pickEntries, (std::vector<std::string>{"Alt", "Weg"}));
    EXPECT_TRUE(f.app.lists.SchlagworteSearchList.SearchListInactive());

    // A loaded set adds to what is ticked.
    TickText(d, ListKeywords, "Politik", true);
    f.q.picks = {std::string("Alt")};
    EXPECT_TRUE(d.LoadKeywordSelection());
    std::vector<std::string> ticked;
    for (const auto& item : d.Items(ListKeywords))
        if (item.Checked)
            ticked.push_back(item.Text);
    EXPECT_EQ(ticked, (std::vector<std::string>{"Kunst", "Politik"}));
    for (const auto& e : f.app.lists.SchlagworteSearchList.entries)
        EXPECT_EQ(e.Active, e.Text != "Europa") << e.Text;
    f.q.picks = {std::nullopt};
    EXPECT_FALSE(d.LoadKeywordSelection());
}

TEST(FilterDialogModel, DefaultsButtonResetsTheSelection)
{
    Fixture f{{"A", "Roman", 8, "Politik"}, {"B", "Krimi", 0, "Kunst"}};
    f.Session([](FilterDialogModel& d) {
        d.SelectNone(ListKategorie);
        d.Tick(ListTyp, 0, false);
        TickText(d, ListKeywords, "Kunst", false);
        d.SetBox(6, true);
        d.SetSearchText("A");
        d.Defaults();
        EXPECT_TRUE(d.SearchText().empty());
        for (int list = 0; list < CheckListCount; ++list)
            for (const auto& item : d.Items(list))
                EXPECT_TRUE(item.Checked) << list;
    });
    const auto& sel = f.app.selection;
    EXPECT_FALSE(sel.FilternVon[0] || sel.FilternVon[1] || sel.FilternVon[5]);
    EXPECT_FALSE(sel.SuchenIn[0] || sel.SuchenIn[6]);
    EXPECT_TRUE(f.app.lists.KategorieSearchList.NoValueActive); // "(ohne Angabe)" ticked for the next filter
    EXPECT_EQ(f.Shown(), (Titles{"A", "B"}));
}

TEST(FilterDialogModel, RefillingTheFilterListsShowsAndAppliesAllTicked)
{
    Fixture f{{"A", "Roman", 0, "Politik"}, {"B", "Krimi", 0, "Kunst"}};
    f.Session([&f](FilterDialogModel& d) {
        TickText(d, ListKeywords, "Kunst", false); // the keywords are no filter list: they stay
        for (int round = 0; round < 2; ++round) { // the second refill works as the first
            TickText(d, ListKategorie, "Roman", false);
            d.RefillFilterLists();
            EXPECT_TRUE(d.Items(ListKategorie)[0].Checked && d.Items(ListKategorie)[1].Checked);
            EXPECT_TRUE(f.app.lists.KategorieSearchList.SearchListAllActive());
        }
    });
    EXPECT_FALSE(f.app.selection.FilternVon[1]);
    EXPECT_EQ(f.Shown(), (Titles{"A"}));
}

TEST(FilterDialogModel, KeywordRefillOnlyWhenOutOfDate)
{
    Fixture f{{"A", "", 0, "Politik"}};
    FilterDialogModel d(f.app, FilterDialogMode::Normal, f.q);
    d.Activate();
    f.app.lists.SchlagworteSearchList.entries[0].Active = false; // behind the list's back
    d.RefillKeywordList();
    EXPECT_FALSE(d.Items(ListKeywords)[0].Checked);
    EXPECT_TRUE(f.app.lists.FilterKeywordListUpToDate);
    f.app.lists.SchlagworteSearchList.entries[0].Active = true;
    d.RefillKeywordList(); // up to date: nothing happens
    EXPECT_FALSE(d.Items(ListKeywords)[0].Checked);
}

TEST(FilterDialogModel, SearchPageListsAndAuthorJump)
{
    Fixture f;
    const char* authors[] = {"zweig, Stefan", "Öztürk, Ali", "Böll, Heinrich", "Bachmann, Ingeborg", "Arendt, Hannah"};
    for (const char* a : authors)
        AddTitle(f.app, "T").Autor.Text = Cp1252(a);
    f.Ready();
    FilterDialogModel d(f.app, FilterDialogMode::Normal, f.q);
    d.Activate();
    d.ChoosePickList(static_cast<int>(PickListNames.size())); // no such list: the choice stays
    EXPECT_EQ(d.PickList(), 0); // "Autor" first
    std::vector<std::string> shown;
    for (const auto& e : d.PickEntries())
        shown.push_back(Cp1252ToUtf8(e));
    EXPECT_EQ(shown, (std::vector<std::string>{"Arendt, Hannah", "Bachmann, Ingeborg", "Böll, Heinrich",
                                               "Öztürk, Ali", "zweig, Stefan"}));
    d.TakeOver(0);
    EXPECT_EQ(d.SearchText(), "Arendt, Hannah");
    d.TakeOver(4);
    EXPECT_EQ(d.SearchText(), "Arendt, Hannah zweig, Stefan");
    d.TakeOver(99); // nothing chosen
    EXPECT_EQ(d.SearchText(), "Arendt, Hannah zweig, Stefan");
    d.SetSearchText("  ");
    d.TakeOver(0); // blanks are no text: no separator
    EXPECT_EQ(d.SearchText(), "  Arendt, Hannah");

    struct Jump {
        char key;
        int row;
    };
    for (const Jump& j : {Jump{'b', 1}, Jump{'Z', 4}, Jump{'a', 0}, Jump{'q', -1}})
        EXPECT_EQ(d.FirstAuthorWithLetter(j.key), j.row) << j.key;
}

TEST(FilterDialogModel, DisplayOrder)
{
    const std::vector<std::string> sorted = {"Abend", "abend", "Äpfel", "apfelbaum", "Zeit", "zeitlos", "¿Qué?"};
    std::vector<std::string> mixed = {"zeitlos", "¿Qué?", "apfelbaum", "Zeit", "abend", "Äpfel", "Abend"};
    for (auto& s : mixed)
        s = Cp1252(s.c_str());
    std::sort(mixed.begin(), mixed.end(), DisplayLess);
    for (auto& s : mixed)
        s = Cp1252ToUtf8(s);
    EXPECT_EQ(mixed, sorted);
}

TEST(FilterDialogModel, ReplaceModeStoresItsSettingsOnlyWhenConfirmed)
{
    Fixture f;
    AddTitle(f.app, "T").Autor.Text = "Mayer, Hans";
    AddTitle(f.app, "U").Autor.Text = "Mayer, Eva";
    f.Ready();
    f.Session(
        [](FilterDialogModel& d) {
            d.SetBox(1, true);
            d.SetSearchText("Mayer");
            d.SetReplaceText("Meyer");
            d.SetCaseSensitive(true);
        },
        false, FilterDialogMode::Replace);
    // Escape: nothing replaced, the search in force at the next refresh.
    EXPECT_EQ(std::tuple(f.app.store.at(1)->Autor.Text, f.app.selection.SuchenIn[0], f.app.store.Gesichert(),
                         f.app.selection.FSS_Changed),
              std::tuple("Mayer, Hans", true, true, true));

    f.Session(
        [](FilterDialogModel& d) {
            d.SetBox(1, true);
            d.SetSearchText("mayer");
            d.SetReplaceText("Meyer");
        },
        true, FilterDialogMode::Replace);
    EXPECT_EQ(std::tuple(f.app.selection.Replace.CaseSensitive, f.app.selection.Replace.ReplaceText,
                         f.app.selection.SuchenIn[0], f.app.store.Gesichert(), f.app.selection.FSS_Changed),
              std::tuple(false, "Meyer", false, false, false)); // replaced: no refresh is due
    EXPECT_EQ(std::tuple(f.app.store.at(1)->Autor.Text, f.app.store.at(2)->Autor.Text),
              std::tuple("Meyer, Hans", "Meyer, Eva"));
}

TEST(FilterDialogModel, FixedListsTickTheValuesOfTheShownTitles)
{
    struct Case {
        const char* name;
        int list;
        int filter;
        std::vector<int> untick;
        uint32_t set; // the filter's set of accepted values
        Titles shown;
        std::vector<bool> ticked; // on reopening
    };
    const Case cases[] = {
        {"types, filter on", ListTyp, 5, {8}, 0xFF, {"Link", "Mono", "Sammel"}, // hides "Unklar"
         {true, false, true, false, false, false, false, false, false}},
        {"lending states, filter on", ListVerleihstatus, 8, {0, 2}, 0xA, {"Mono", "Sammel"}, // hides "Link" and "Unklar"
         {false, true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.Add("Mono", "", 0);
        f.Add("Sammel", "", 2);
        f.Add("Link", "", 2 | LinkFlag); // the link flag does not hide the type
        f.Add("Unklar", "", 8);
        f.app.store.at(1)->Verleihstatus = 1;
        f.app.store.at(2)->Verleihstatus = 3;
        f.app.store.at(4)->Verleihstatus = 2;
        f.Ready();
        f.Session([&c](FilterDialogModel& d) {
            for (int item : c.untick)
                d.Tick(c.list, item, false);
        });
        ASSERT_TRUE(f.app.selection.FilternVon[static_cast<std::size_t>(c.filter)]);
        EXPECT_EQ(c.list == ListTyp ? f.app.selection.TypSet : f.app.selection.VerleihSet, c.set);
        EXPECT_EQ(f.Shown(), c.shown);
        FilterDialogModel d(f.app, FilterDialogMode::Normal, f.q);
        d.Activate();
        std::vector<bool> ticked;
        for (const auto& item : d.Items(c.list))
            ticked.push_back(item.Checked);
        EXPECT_EQ(ticked, c.ticked);
        // With the filter off every item is ticked.
        f.app.selection.FilternVon[static_cast<std::size_t>(c.filter)] = false;
        FilterDialogModel off(f.app, FilterDialogMode::Normal, f.q);
        for (const auto& item : off.Items(c.list))
            EXPECT_TRUE(item.Checked);
    }
}

TEST(FilterDialogModel, ListWithoutEntriesOffersOnlyTheTitlesWithoutAValue)
{
    Fixture f{{"A"}}; // no category anywhere
    f.Session([](FilterDialogModel& d) {
        ASSERT_EQ(d.Items(ListKategorie).size(), 1u);
        d.SelectNone(ListKategorie);
        d.InvertSelection(ListKategorie);
    });
    EXPECT_FALSE(f.app.selection.FilternVon[1]);
    EXPECT_EQ(f.Shown(), (Titles{"A"}));
    f.Session([](FilterDialogModel& d) { d.Tick(ListKategorie, 0, false); });
    EXPECT_TRUE(f.app.selection.FilternVon[1]);
    EXPECT_EQ(f.Shown(), Titles{});
}
