#include "shell/TitleCommands.h"

#include "application/BuchData.h"
#include "core/ErrorText.h"
#include "editor/TitleEditorModel.h"
#include "editor/ShortKeys.h"
#include "exchange/EntryFormatter.h"
#include "selection/QuickSearch.h"
#include "selection/Selection.h"
#include "application/FileCommands.h"
#include "shell/MainCommands.h"
#include "support/Fakes.h"
#include "selection/SearchLists.h"

using namespace folianto;
using C = EditControl;

namespace {

// The dialog: records what it was shown with, lets the test act as the user,
// and closes with the scripted result.
class FakeEditorView : public TitleEditorView {
public:
    explicit FakeEditorView(TitleEditorModel& model) : model_(model) {}

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
    std::function<bool(TitleEditorModel&)> user; // acts in the dialog; returns OK or cancel
    int shown = 0;
    std::string caption, kuerzel;
    bool kopieren = false;
    std::size_t disabledWhileShown = 0;
    int topRow = 7;
    int scrolledTo = -1;

private:
    TitleEditorModel& model_;
};

struct Commands {
    test::TestApp t;
    App& app = t.app;
    TitleEditorModel editor{t.app};
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
        app.store.MarkSaved();
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
bool PressOk(TitleEditorModel& m) { return m.OkClicked() == OkOutcome::Close; }

} // namespace

TEST(TitleCommands, NewTitle)
{
    for (bool ok : {true, false}) {
        Commands c;
        c.view.user = [ok](TitleEditorModel& m) {
            m.Values.Kuerzel = "Neu001";
            m.Values.Titel = "Neuer Titel";
            m.Values.LiteraturTyp = 0;
            return ok && PressOk(m);
        };
        c.app.grid.SetCell(1, 1, "stale");
        NewTitle(c.app, c.editor, c.view);
        EXPECT_EQ(std::tuple(c.view.caption, c.view.kopieren, c.editor.Mode()),
                  std::tuple("Folianto - Titel-Editor: Neu anlegen", false, EditModeNew));
        EXPECT_EQ(std::tuple(c.app.store.AnzBuch, c.app.store.Gesichert()), std::tuple(ok ? 4 : 3, !ok));
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
    c.view.user = PressOk;
    EditTitle(c.app, c.editor, c.view, true);
    EXPECT_EQ(std::tuple(c.view.caption, c.view.kopieren, c.view.kuerzel, c.view.scrolledTo),
              std::tuple("Folianto - Titel-Editor: Kopieren", true, "Eco001_003", 7));
    ASSERT_EQ(c.app.store.AnzBuch, 4);
    // The copy is new and current; the source keeps its key.
    EXPECT_EQ(std::tuple(c.app.store.at(4)->Kuerzel.Text, c.app.store.at(4)->Titel.Text,
                         c.app.store.at(1)->Kuerzel.Text, c.app.store.ActBuch),
              std::tuple("Eco001_003", "Titel 1", "Eco001", 1));

    Commands last; // the last title's copy
    last.Select(3);
    EditTitle(last.app, last.editor, last.view, true);
    EXPECT_EQ(last.view.kuerzel, "Eco003_002");
    EXPECT_TRUE(last.editor.KuerzelIsUnique(last.view.kuerzel));
}

TEST(TitleCommands, EditAndCancelStillRefreshes)
{
    for (bool ok : {true, false}) {
        Commands c;
        c.Select(2);
        c.view.user = [ok](TitleEditorModel& m) {
            m.Values.Titel = "Ge\xE4ndert";
            return ok && PressOk(m);
        };
        c.app.grid.SetCell(1, 2, "stale");
        EditTitle(c.app, c.editor, c.view, false);
        EXPECT_EQ(std::tuple(c.view.caption, c.view.kopieren, c.view.kuerzel, c.view.scrolledTo),
                  std::tuple("Folianto - Titel-Editor: Bearbeiten", false, "Eco002", 7));
        EXPECT_EQ(std::tuple(c.app.store.AnzBuch, c.app.store.at(2)->Titel.Text, c.app.store.ActBuch),
                  std::tuple(3, ok ? "Ge\xE4ndert" : "Titel 2", 2));
        EXPECT_NE(c.app.grid.Cell(1, 2), "stale");
    }
}

TEST(TitleCommands, ViewDisablesAndStoresNothing)
{
    Commands c;
    c.Select(3);
    c.view.user = [](TitleEditorModel& m) {
        EXPECT_TRUE(m.IsDisabled(C::ComboBoxOrt));
        m.Values.Titel = "nicht gespeichert";
        return PressOk(m);
    };
    c.app.grid.SetCell(1, 3, "kept");
    ViewTitle(c.app, c.editor, c.view);
    EXPECT_EQ(c.view.caption, "Folianto - Titel-Editor: Ansehen");
    EXPECT_EQ(c.view.disabledWhileShown, ViewModeDisabledControls().size());
    EXPECT_TRUE(c.editor.Disabled.empty());
    EXPECT_FALSE(c.editor.IsDisabled(C::ComboBoxOrt));
    // Nothing stored, the grid not rebuilt.
    EXPECT_EQ(std::tuple(c.app.store.at(3)->Titel.Text, c.app.store.Gesichert(), c.app.grid.Cell(1, 3)),
              std::tuple("Titel 3", true, "kept"));

    // A missing title is reported, the dialog shows anyway.
    c.app.store.ActBuch = 9;
    ViewTitle(c.app, c.editor, c.view);
    EXPECT_EQ(c.view.shown, 2);
    EXPECT_EQ(c.t.ui.messages.size(), 1u);
}

// A double click opens the editor on a title's row only; editing without a
// title shows nothing and says why.
TEST(TitleCommands, DoubleClickAndEditWithoutATitle)
{
    Commands c;
    c.app.grid.Row = 0; // header row
    GridDoubleClick(c.app, c.editor, c.view);
    EXPECT_EQ(c.view.shown, 0);
    c.app.store.ActBuch = 4; // beyond the last title, as after deleting it
    EditTitle(c.app, c.editor, c.view, false);
    EXPECT_EQ(c.view.shown, 0);
    ASSERT_EQ(c.t.ui.messages.size(), 1u);
    EXPECT_EQ(c.t.ui.messages[0].text, GetErrorText(17));

    c.app.grid.Row = 2;
    c.app.grid.Col = 1;
    GridDoubleClick(c.app, c.editor, c.view);
    EXPECT_EQ(std::tuple(c.view.shown, c.view.kuerzel, c.view.caption),
              std::tuple(1, "Eco002", "Folianto - Titel-Editor: Bearbeiten"));

    Commands empty(0);
    empty.app.grid.Row = 1;
    GridDoubleClick(empty.app, empty.editor, empty.view);
    EXPECT_EQ(empty.view.shown, 0);
}

// The highlighted row and ActBuch after each command that refreshes the grid.
namespace {

// Five titles whose title order differs from their input order.
struct Shelf : Commands {
    Shelf() : Commands(0)
    {
        const char* titles[] = {"E", "C", "A", "D", "B"};
        for (int i = 1; i <= 5; ++i) {
            app.store.NewBuch();
            TBuch& b = *app.store.at(i);
            b.Kuerzel.Text = "K" + std::to_string(i);
            b.Titel.Text = titles[i - 1];
            b.Kategorie.Text = i == 1 || i == 3 ? "Roman" : "Lyrik";
        }
        app.store.MarkSaved();
        Fill_AllLists(app);
        SetAusgabeData(app); // rows: A K3, B K5, C K2, D K4, E K1
    }
    void Click(int row)
    {
        app.grid.Row = row;
        GetCurrentBuch(app);
    }
    // The key of the highlighted title, which must be ActBuch's.
    std::string Highlighted() const
    {
        const int32_t shown = app.store.FindBuchByNr(app.selection.AusgabeBuchNr[static_cast<std::size_t>(app.grid.Row)]);
        EXPECT_EQ(shown, app.store.ActBuch) << "row " << app.grid.Row;
        const TBuch* b = app.store.at(shown);
        return b ? b->Kuerzel.Text : "";
    }
};

void OnlyRomane(App& app)
{
    for (SearchEntry& e : app.lists.KategorieSearchList.entries)
        e.Active = e.Text == "Roman";
    app.selection.FilternVon[0] = app.selection.FilternVon[1] = true;
    SetAusgabeData(app);
}

} // namespace

TEST(CurrentTitle, FollowsTheHighlightedRow)
{
    struct Case {
        const char* what;
        int clickedRow; // 0: no click after the first refresh
        std::function<void(Shelf&)> command;
        int row;
        const char* kuerzel;
    };
    const Case cases[] = {
        {"first refresh", 0, [](Shelf&) {}, 2, "K5"},
        {"sort moves the row", 3, [](Shelf& s) { SetBuchSort(s.app, SortKuerzel); }, 2, "K2"},
        {"sort in input order", 1, [](Shelf& s) { SetBuchSort(s.app, SortEingabe); }, 3, "K3"},
        {"filter keeps the title", 1, [](Shelf& s) { OnlyRomane(s.app); }, 1, "K3"},
        {"filter hides the title", 3, [](Shelf& s) { OnlyRomane(s.app); }, 2, "K1"},
        {"delete: the next row moves up", 3, [](Shelf& s) { DeleteCurrentTitle(s.app); }, 3, "K4"},
        {"delete in the last row", 5, [](Shelf& s) { DeleteCurrentTitle(s.app); }, 4, "K4"},
        {"new title", 4,
         [](Shelf& s) {
             s.view.user = [](TitleEditorModel& m) {
                 m.Values.Kuerzel = "K6";
                 m.Values.Titel = "Ba";
                 m.Values.LiteraturTyp = 0;
                 return PressOk(m);
             };
             NewTitle(s.app, s.editor, s.view);
         },
         3, "K6"},
        {"view", 4,
         [](Shelf& s) {
             ViewTitle(s.app, s.editor, s.view);
             EXPECT_EQ(s.view.kuerzel, "K4");
         },
         4, "K4"},
        {"type-ahead", 1, [](Shelf& s) { TypeAheadKey(s.app, 'D'); }, 4, "K4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Shelf s;
        if (c.clickedRow)
            s.Click(c.clickedRow);
        c.command(s);
        EXPECT_EQ(s.app.grid.Row, c.row);
        EXPECT_EQ(s.Highlighted(), c.kuerzel);
    }
}

TEST(CurrentTitle, LoadMakesTheFirstRowCurrent)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("regal.FOL")).toStdString();
    {
        Shelf writer;
        writer.app.DataVerMain = 1;
        writer.app.DataVerMinor = 4;
        writer.t.ui.answers = {Answer::Yes};
        std::string err;
        ASSERT_TRUE(Save_Buch_Data(writer.app, path, err)) << err;
    }
    Shelf s;
    s.Click(4);
    ASSERT_TRUE(FileOpenPath(s.app, path));
    EXPECT_EQ(s.app.grid.Row, 1);
    EXPECT_EQ(s.Highlighted(), "K3");
    // Copying to the clipboard takes the highlighted title as well.
    s.app.settings.ExportPos[0] = 1;
    CopyEntryToClipboard(s.app);
    EXPECT_EQ(s.t.ui.clipboard, "[K3]");
}
