#include "history/HistoryTestUtil.h"

using namespace folianto;
using folianto::test::FillStartCatalogue;
using folianto::test::HistoryWalk;
using folianto::test::RandomCommands;
using folianto::test::StoreImage;

// Random commands mixed with undos and redos: every undo and redo gives the
// state it returns to byte for byte; undoing all gives the start, redoing
// all the end.
TEST(TitleHistory, RandomCommandsUndoAndRedoExactly)
{
    for (uint64_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE(seed);
        TitleStore store;
        FillStartCatalogue(store);
        TitleHistory history(store);
        RandomCommands commands(seed);
        HistoryWalk walk{{StoreImage(store)}};
        for (int k = 0; k < 150; ++k) {
            walk.Step(commands, store, history);
            ASSERT_EQ(history.Position(), walk.at);
            ASSERT_TRUE(StoreImage(store) == walk.states[walk.at]) << "after action " << k;
        }
        while (history.Undo())
            ;
        EXPECT_TRUE(StoreImage(store) == walk.states.front());
        while (history.Redo())
            ;
        EXPECT_TRUE(StoreImage(store) == walk.states.back());
    }
}

// Gesichert is true exactly where the store equals its file; limits that drop
// the oldest steps move the saved state down with them, or drop it.
TEST(TitleHistory, SavedPositionSetsGesichertAndLimitsDropTheOldestSteps)
{
    TitleStore store;
    FillStartCatalogue(store);
    TitleHistory history(store);
    history.Clear();
    const auto edit = [&](int32_t slot, const std::string& text) {
        TitleChange change(history, "Titel bearbeiten");
        store.Touch(slot);
        store.at(slot)->Titel.Text = text;
        store.MarkChanged();
    };
    edit(1, "eins");
    edit(1, "zwei");
    history.MarkSaved();
    store.MarkSaved();

    // 'u'ndo, 'r'edo, or a new 'e'dit, which leaves nothing to redo; an edit
    // after undoing past the save takes the saved state away.
    struct Case {
        char action;
        bool gesichert;
    };
    const Case cases[] = {{'u', false}, {'u', false}, {'r', false}, {'r', true}, {'u', false},
                          {'e', false}, {'u', false}, {'u', false}, {'r', false}, {'r', false}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const char action = cases[i].action;
        EXPECT_TRUE(action == 'u' ? history.Undo() : action == 'r' ? history.Redo() : (edit(1, "drei"), !history.CanRedo()));
        EXPECT_EQ(store.Gesichert(), cases[i].gesichert);
    }

    history.Clear();
    for (int k = 0; k < 120; ++k) {
        if (k == 110)
            history.MarkSaved();
        edit(1 + k % 10, std::string(static_cast<std::size_t>(100 + k), 'x'));
    }
    EXPECT_EQ(history.StepCount(), 120u);
    history.SetLimits(100, TitleHistory::DefaultMaxBytes);
    EXPECT_EQ(history.StepCount(), 100u);
    // The saved state moved down with the steps: ten undos reach it.
    for (int k = 0; k < 10; ++k) {
        ASSERT_TRUE(history.Undo());
        EXPECT_EQ(store.Gesichert(), k == 9) << k;
    }
    for (int k = 0; k < 10; ++k)
        history.Redo();

    // Above the byte bound only the newest step stays, however large.
    history.SetLimits(100, 1);
    EXPECT_EQ(history.StepCount(), 1u);
    EXPECT_TRUE(history.Undo());
    EXPECT_FALSE(history.Undo());
    EXPECT_FALSE(store.Gesichert()); // the saved state was among the dropped steps
}

TEST(TitleHistory, StepsRecordOnlyWhatChanged)
{
    TitleStore store;
    FillStartCatalogue(store);
    TitleHistory history(store);
    const std::string start = StoreImage(store);

    { TitleChange nothing(history, "Nichts"); }
    {
        TitleChange unchanged(history, "Titel bearbeiten"); // closed with OK as it was
        store.Touch(1);
        store.at(1)->Titel.Text += "";
    }
    EXPECT_FALSE(history.CanUndo());

    {
        // An inner step joins the outer one; the outer label stays.
        TitleChange outer(history, "Import");
        store.NewBuch();
        {
            TitleChange inner(history, "Neuer Titel");
            store.NewBuch();
            store.Touch(store.AnzBuch); // appended in this step: nothing to keep
        }
        EXPECT_FALSE(history.CanUndo());
    }
    EXPECT_EQ(history.StepCount(), 1u);
    EXPECT_EQ(history.UndoLabel(), "Import");
    EXPECT_LT(history.Bytes(), 1000u);

    // A replace over many titles keeps only the titles it changed, and no
    // copy of the large picture it left alone.
    const std::size_t before = history.Bytes();
    {
        TitleChange replace(history, "Ersetzen");
        for (int32_t i = 1; i <= folianto::test::PictureSlot; ++i) {
            store.Touch(i);
            store.Touch(i);
            store.at(i)->Kuerzel.Text += "X";
        }
    }
    EXPECT_LT(history.Bytes() - before, 3 * (sizeof(TBuch) + 2000));
    EXPECT_EQ(history.RedoLabel(), "");
    const std::string replaced = StoreImage(store);

    EXPECT_TRUE(history.Undo());
    EXPECT_EQ(history.RedoLabel(), "Ersetzen");
    EXPECT_TRUE(history.Redo());
    EXPECT_TRUE(StoreImage(store) == replaced);
    EXPECT_TRUE(history.Undo());
    EXPECT_TRUE(history.Undo());
    EXPECT_TRUE(StoreImage(store) == start);
    EXPECT_FALSE(history.Undo());
}

// A change of any one member of a title is one step; setting a member to
// the value it has is none.
TEST(TitleHistory, EachMemberEditIsOneStepAndASameValueNone)
{
    using Edit = std::function<void(TBuch&, int)>; // adds the int (0: no change)
    std::vector<std::pair<std::string, Edit>> cases;
    for (int f = 1; f <= TextFieldCount; ++f) {
        const std::string name = TextFieldNames[static_cast<std::size_t>(f - 1)];
        cases.push_back({name, [f](TBuch& b, int d) { b.TextField(f).Text += std::string(d, 'x'); }});
        cases.push_back({name + ".Len", [f](TBuch& b, int d) { b.TextField(f).Len += d; }});
    }
    for (const auto& [name, member] : {std::pair{"Auflage", &TBuch::Auflage}, {"Verleihstatus", &TBuch::Verleihstatus},
                                       {"JahrNum", &TBuch::JahrNum}, {"TypNum", &TBuch::TypNum},
                                       {"AnzPics", &TBuch::AnzPics}, {"BuchNr", &TBuch::BuchNr}})
        cases.push_back({name, [member = member](TBuch& b, int d) { b.*member += d; }});
    cases.push_back({"Preis", [](TBuch& b, int d) { b.Preis += static_cast<float>(d); }});
    cases.push_back({"Kaufdatum", [](TBuch& b, int d) { b.Kaufdatum += d; }});
    cases.push_back({"Bild.Size", [](TBuch& b, int d) { b.Pics[0].Size += d; }});
    cases.push_back({"Bild.Kind", [](TBuch& b, int d) { b.Pics[0].Kind += d; }});
    cases.push_back({"2. Bild.Data", [](TBuch& b, int d) { b.Pics[1].Data.back() ^= static_cast<uint8_t>(d); }});
    cases.push_back({"2. Bild.BildTitel", [](TBuch& b, int d) { b.Pics[1].BildTitel.Text += std::string(d, 'x'); }});
    cases.push_back({"Bild.BildTitel.Len", [](TBuch& b, int d) { b.Pics[0].BildTitel.Len += d; }});
    cases.push_back({"Bild dazu", [](TBuch& b, int d) { b.Pics.resize(b.Pics.size() + d, b.Pics[0]); }});

    for (const auto& [name, edit] : cases) {
        SCOPED_TRACE(name);
        TitleStore store;
        FillStartCatalogue(store);
        TBuch& pictured = *store.at(folianto::test::PictureSlot);
        pictured.Pics.push_back(pictured.Pics[0]); // a second picture, unchanged or changed alone
        pictured.AnzPics = 2;
        TitleHistory history(store);
        const std::string start = StoreImage(store);
        for (int d : {0, 1}) {
            TitleChange change(history, "Titel bearbeiten");
            store.Touch(folianto::test::PictureSlot);
            edit(*store.at(folianto::test::PictureSlot), d);
        }
        EXPECT_EQ(history.StepCount(), 1u);
        EXPECT_TRUE(history.Undo());
        EXPECT_TRUE(StoreImage(store) == start);
    }
}

// A change that no step recorded leaves nothing to undo: the steps would no
// longer fit the store.
TEST(TitleHistory, ChangeOutsideAStepDropsTheSteps)
{
    struct Case {
        const char* name;
        void (*change)(TitleStore&);
    };
    const Case cases[] = {
        {"touch", [](TitleStore& s) { s.Touch(2); }},
        {"append", [](TitleStore& s) { s.NewBuch(); }},
        {"delete", [](TitleStore& s) { s.ActBuch = 1; s.DeleteActBuch(); }},
        {"clear", [](TitleStore& s) { s.Clear(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TitleStore store;
        FillStartCatalogue(store);
        TitleHistory history(store);
        {
            TitleChange change(history, "Neuer Titel");
            store.NewBuch();
        }
        ASSERT_TRUE(history.CanUndo());
        c.change(store);
        EXPECT_FALSE(history.CanUndo());
        EXPECT_EQ(history.StepCount(), 0u);
    }
}
