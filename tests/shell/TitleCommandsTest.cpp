#include "shell/TitleCommands.h"

#include "core/ErrorText.h"
#include "editor/BuchEditModel.h"
#include "editor/ShortKeys.h"
#include "selection/Selection.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <functional>

using namespace folianto;
using C = EditControl;

namespace {

// The dialog: records what it was shown with, lets the test act as the user,
// and closes with the scripted result.
class FakeEditorView : public TitleEditorView {
public:
    explicit FakeEditorView(BuchEditModel& model) : model_(model) {}

    bool ShowModal() override
    {
        ++shown;
        caption = model_.Caption;
        kuerzel = model_.Values.Kuerzel;
        kopieren = model_.Values.Kopieren;
        disabledWhileShown = model_.Disabled.size();
        if (user)
            return user(model_);
        return ok;
    }
    int GridTopRow() const override { return topRow; }
    void ScrollGridTo(int row) override { scrolledTo = row; }

    bool ok = false;
    std::function<bool(BuchEditModel&)> user; // acts in the dialog; returns OK or cancel
    int shown = 0;
    std::string caption, kuerzel;
    bool kopieren = false;
    std::size_t disabledWhileShown = 0;
    int topRow = 7;
    int scrolledTo = -1;

private:
    BuchEditModel& model_;
};

struct Commands {
    test::TestApp t;
    App& app = t.app;
    BuchEditModel editor{t.app};
    FakeEditorView view{editor};

    Commands(int titles = 3)
    {
        for (int i = 1; i <= titles; ++i) {
            app.store.NewBuch();
            TBuch& b = *app.store.at(i);
            b.Kuerzel.Text = "Eco00" + std::to_string(i);
            b.Titel.Text = "Titel " + std::to_string(i);
            b.Autor.Text = "Eco, Umberto";
            b.TypNum = 0;
        }
        app.store.Gesichert = true;
        SetAusgabeData(app);
    }
    // Stands the grid on the row showing title `index`.
    void Select(int32_t index)
    {
        app.grid.Row = index; // input order: row n shows title n
        app.grid.Col = 1;
        GetCurrentBuch(app);
    }
};

// The dialog's OK button, pressed by the user.
bool PressOk(BuchEditModel& m) { return m.OkClicked() == OkOutcome::Close; }

} // namespace

TEST(TitleCommands, NewTitle)
{
    for (bool ok : {true, false}) {
        Commands c;
        c.view.user = [ok](BuchEditModel& m) {
            m.Values.Kuerzel = "Neu001";
            m.Values.Titel = "Neuer Titel";
            m.Values.LiteraturTyp = 0;
            return ok && PressOk(m);
        };
        c.app.grid.SetCell(1, 1, "stale");
        NewTitle(c.app, c.editor, c.view);
        EXPECT_EQ(c.view.caption, "Folianto - Titel-Editor: Neu anlegen");
        EXPECT_FALSE(c.view.kopieren);
        EXPECT_EQ(c.app.EditMode, EditModeNew);
        EXPECT_EQ(c.app.store.AnzBuch, ok ? 4 : 3);
        EXPECT_EQ(c.app.store.Gesichert, !ok);
        // Only OK refreshes the grid.
        EXPECT_EQ(c.app.grid.RowCount(), ok ? 5 : 4);
        EXPECT_EQ(c.app.grid.Cell(1, 1) == "stale", !ok);
    }
}

TEST(TitleCommands, CopyProposesAFreeKey)
{
    Commands c;
    c.app.store.at(2)->Kuerzel.Text = "Eco001"; // the source's key held twice
    c.Select(1);
    const std::string proposal = MakeUniqueKuerzel(c.app, 1);
    c.view.user = PressOk;
    EditTitle(c.app, c.editor, c.view, true);
    EXPECT_EQ(c.view.caption, "Folianto - Titel-Editor: Kopieren");
    EXPECT_TRUE(c.view.kopieren);
    EXPECT_EQ(c.view.kuerzel, proposal);
    EXPECT_EQ(proposal, "Eco001_003");
    ASSERT_EQ(c.app.store.AnzBuch, 4);
    EXPECT_EQ(c.app.store.at(4)->Kuerzel.Text, proposal);
    EXPECT_EQ(c.app.store.at(4)->Titel.Text, "Titel 1");
    EXPECT_EQ(c.app.store.at(1)->Kuerzel.Text, "Eco001"); // the source stays
    EXPECT_EQ(c.app.store.ActBuch, 1);
    EXPECT_EQ(c.view.scrolledTo, 7);
}

TEST(TitleCommands, CopyOfTheLastTitleProposesAFreeKey)
{
    Commands c;
    c.Select(3);
    EditTitle(c.app, c.editor, c.view, true);
    EXPECT_EQ(c.view.kuerzel, "Eco003_002");
    EXPECT_TRUE(c.editor.KuerzelIsUnique(c.view.kuerzel));
}

TEST(TitleCommands, CopyWithTheSourceKeyIsRefused)
{
    Commands c;
    c.Select(2);
    c.view.user = [](BuchEditModel& m) {
        m.Values.Kuerzel = "Eco002";
        return m.OkClicked() == OkOutcome::Close;
    };
    EditTitle(c.app, c.editor, c.view, true);
    ASSERT_EQ(c.t.ui.messages.size(), 1u);
    EXPECT_EQ(c.t.ui.messages[0].text, "Das eingegebene K\xFCrzel existiert bereits!\r\nGeben Sie ein anderes K\xFCrzel ein!");
    EXPECT_EQ(c.app.store.AnzBuch, 3);
    EXPECT_TRUE(c.app.store.Gesichert);
}

TEST(TitleCommands, EditAndCancelStillRefreshes)
{
    for (bool ok : {true, false}) {
        Commands c;
        c.Select(2);
        c.view.user = [ok](BuchEditModel& m) {
            m.Values.Titel = "Ge\xE4ndert";
            return ok && PressOk(m);
        };
        c.app.grid.SetCell(1, 2, "stale");
        EditTitle(c.app, c.editor, c.view, false);
        EXPECT_EQ(c.view.caption, "Folianto - Titel-Editor: Bearbeiten");
        EXPECT_FALSE(c.view.kopieren);
        EXPECT_EQ(c.view.kuerzel, "Eco002");
        EXPECT_EQ(c.app.store.AnzBuch, 3);
        EXPECT_EQ(c.app.store.at(2)->Titel.Text, ok ? "Ge\xE4ndert" : "Titel 2");
        EXPECT_NE(c.app.grid.Cell(1, 2), "stale");
        EXPECT_EQ(c.view.scrolledTo, 7);
        EXPECT_EQ(c.app.store.ActBuch, 2);
    }
}

TEST(TitleCommands, EditWithoutATitleShowsNothing)
{
    Commands c;
    c.app.store.ActBuch = 4; // beyond the last title, as after deleting it
    EditTitle(c.app, c.editor, c.view, false);
    EXPECT_EQ(c.view.shown, 0);
    ASSERT_EQ(c.t.ui.messages.size(), 1u);
    EXPECT_EQ(c.t.ui.messages[0].text, GetErrorText(17));
}

TEST(TitleCommands, ViewDisablesAndStoresNothing)
{
    Commands c;
    c.Select(3);
    c.view.user = [](BuchEditModel& m) {
        m.Values.Titel = "nicht gespeichert";
        return PressOk(m);
    };
    c.app.grid.SetCell(1, 3, "kept");
    ViewTitle(c.app, c.editor, c.view);
    EXPECT_EQ(c.view.caption, "Folianto - Titel-Editor: Ansehen");
    EXPECT_EQ(c.view.disabledWhileShown, ViewModeDisabledControls().size());
    EXPECT_TRUE(c.editor.Disabled.empty());
    EXPECT_EQ(c.app.store.at(3)->Titel.Text, "Titel 3");
    EXPECT_TRUE(c.app.store.Gesichert);
    EXPECT_EQ(c.app.grid.Cell(1, 3), "kept"); // not rebuilt

    // A missing title is reported, the dialog shows anyway.
    c.app.store.ActBuch = 9;
    ViewTitle(c.app, c.editor, c.view);
    EXPECT_EQ(c.view.shown, 2);
    EXPECT_EQ(c.t.ui.messages.size(), 1u);
}

TEST(TitleCommands, DoubleClick)
{
    Commands c;
    c.app.grid.Row = 0; // header row
    GridDoubleClick(c.app, c.editor, c.view);
    EXPECT_EQ(c.view.shown, 0);

    c.app.grid.Row = 2;
    c.app.grid.Col = 1;
    GridDoubleClick(c.app, c.editor, c.view);
    EXPECT_EQ(c.view.shown, 1);
    EXPECT_EQ(c.view.kuerzel, "Eco002");
    EXPECT_EQ(c.view.caption, "Folianto - Titel-Editor: Bearbeiten");

    Commands empty(0);
    empty.app.grid.Row = 1;
    GridDoubleClick(empty.app, empty.editor, empty.view);
    EXPECT_EQ(empty.view.shown, 0);
}
