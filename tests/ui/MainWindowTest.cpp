#include "ui/GuiSupport.h"
#include "support/Golden.h"

#include "core/Text.h"
#include "support/DbBytes.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/shell/Startup.h"
#include "selection/Selection.h"

#include <QSet>
#include <QShortcut>
#include <QToolBar>

#include <tuple>

namespace folianto::test {
namespace {

// The menus, tool buttons and pop-up as the user reads them: a line per
// visible entry with its keys ("(aus)" when off), a submenu's entries indented.
void Listing(const QMenu* menu, const QString& indent, QString& out)
{
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        out += indent + a->text();
        if (!a->shortcut().isEmpty())
            out += QLatin1Char(' ') + a->shortcut().toString();
        out += (a->isEnabled() ? QString() : Q(" (aus)")) + (a->isChecked() ? Q(" (an)") : QString()) + QLatin1Char('\n');
        if (a->menu())
            Listing(a->menu(), indent + Q("  "), out);
    }
}

TEST(MainWindow, MenusToolButtonsAndPopupAsTheUserReadsThem)
{
    WindowFixture f;
    QString out;
    for (QAction* top : f.window->menuBar()->actions())
        if (top->isVisible()) {
            out += top->text() + QLatin1Char('\n');
            Listing(top->menu(), Q("  "), out);
        }
    out += Q("tool bar\n");
    auto* bar = f.window->findChild<QToolBar*>();
    for (QAction* a : bar->actions())
        if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a)); b && a->isVisible())
            out += Q("  ") + b->toolTip() + (b->isEnabled() ? QString() : Q(" (aus)")) + QLatin1Char('\n');
    // Open, the pop-up names the shared actions as the grid's entries; closed, they are the menus' again.
    QMenu* popup = f.window->PopupMenu();
    QMenu* sortMenu = FindMenuAction(popup, {Q("Sortieren nach ...")})->menu();
    popup->popup(QPoint());
    sortMenu->popup(QPoint());
    out += Q("pop-up\n");
    Listing(popup, Q("  "), out);
    sortMenu->hide();
    popup->hide();
    ExpectGolden("main-window-commands.txt", out.toStdString());
    EXPECT_EQ(popup->actions().front()->text(), Q("&Bearbeiten"));
    EXPECT_EQ(sortMenu->actions().front()->text(), Q("nach &Kürzel"));

    for (const char* hidden : {"DruckenAction", "DruckereinrichtungAction", "NotizblockAction"}) {
        QAction* a = ActionNamed(f.window.get(), hidden);
        ASSERT_NE(a, nullptr) << hidden;
        EXPECT_TRUE(!a->isVisible() && !a->isEnabled()) << hidden;
    }
    // The bar and the pop-up share the menus' actions, not copies.
    EXPECT_TRUE(bar->actions().contains(f.window->SaveAction()));
    EXPECT_EQ(popup->actions().front(), ActionNamed(f.window.get(), "TitelBearbeitenAction"));
}

// One action per command: named, with a caption, hidden only when it cannot
// run, and no key shared by two of them.
TEST(MainWindow, EveryActionHasANameACaptionAndItsOwnKeys)
{
    WindowFixture f;
    f.Open("keys.FOL", 3); // a history entry too
    QMap<QString, QString> keys;
    QSet<QString> names;
    for (QAction* a : f.window->findChildren<QAction*>()) {
        if (a->isSeparator() || a->menu() || qobject_cast<QToolBar*>(a->parent())) // the bar's own toggle
            continue;
        SCOPED_TRACE(a->text().toStdString());
        EXPECT_TRUE(!a->text().isEmpty() && !a->objectName().isEmpty() && !names.contains(a->objectName()));
        names << a->objectName();
        EXPECT_TRUE(a->isVisible() || !a->isEnabled());
        for (const QKeySequence& key : a->shortcuts()) {
            EXPECT_FALSE(keys.contains(key.toString())) << keys.value(key.toString()).toStdString();
            keys[key.toString()] = a->objectName();
        }
    }
    for (QShortcut* s : f.window->findChildren<QShortcut*>())
        EXPECT_FALSE(keys.contains(s->key().toString())) << s->key().toString().toStdString();
    EXPECT_GE(keys.size(), 20);
}

// Opening through the file dialog fills the grid, the status bar and the
// history. A new user's first steps: the highlighted row is the current title
// after opening and after sorting, so viewing and copying act on it.
TEST(MainWindow, OpeningFillsTheGridAndHistoryAndTheHighlightedRowIsTheCurrentTitle)
{
    WindowFixture f;
    const std::string path = f.Open("sample.FOL", 30);
    App& app = f.t.app;
    EXPECT_EQ(std::tuple(app.store.AnzBuch, app.grid.RowCount(), f.window->Grid()->model()->rowCount(),
                         f.window->StatusPanel(1)->text(), f.window->StatusPanel(2)->text(),
                         f.window->FileMenu()->actions().last()->text(), f.window->SaveAction()->isEnabled()),
              std::tuple(30, 31, 30, Q(" 30 Titel gezeigt von 30 Titeln"), FromCp1252(path), Q("&1 ") + FromCp1252(path),
                         false));

    const auto highlighted = [&] {
        EXPECT_EQ(f.window->Grid()->currentIndex().row() + 1, app.grid.Row);
        return app.selection.AusgabeBuchNr[static_cast<std::size_t>(app.grid.Row)];
    };
    EXPECT_EQ(app.grid.Row, 1);
    const int32_t first = highlighted();
    EXPECT_EQ(app.store.at(app.store.ActBuch)->BuchNr, first);
    ActionNamed(f.window.get(), "NachKuerzelAction")->trigger();
    EXPECT_EQ(highlighted(), first);
    EXPECT_EQ(app.store.at(app.store.ActBuch)->BuchNr, first);
    app.settings.ExportPos[0] = 1; // the clipboard entry: the short key
    ActionNamed(f.window.get(), "ZwischenablageAction")->trigger();
    EXPECT_EQ(f.t.ui.clipboard, "[" + app.store.at(app.store.ActBuch)->Kuerzel.Text + "]");
    EXPECT_TRUE(f.t.ui.messages.empty());

    const std::string copy = PathToCp1252(f.dir.filePath(QStringLiteral("copy.FOL")));
    f.t.ui.filePaths.push_back(copy);
    ActionNamed(f.window.get(), "SpeichernUnterAction")->trigger();
    EXPECT_EQ(f.window->StatusPanel(2)->text(), FromCp1252(copy));
    f.window->FileMenu()->actions().last()->trigger(); // the history entry loads its file again
    EXPECT_EQ(app.DataFileName, path);
    EXPECT_EQ(f.window->FileMenu()->actions().last()->text(), Q("&1 ") + FromCp1252(path));
}

TEST(MainWindow, BibTexImportAndRisExportThroughTheMenus)
{
    WindowFixture f;
    f.t.app.settings.ShowAllMsg = false;
    const QString bib = f.dir.filePath(Q("in.bib"));
    WriteBytes(bib, "@book{k1, author={M{\\\"u}ller, Hans}, title={Erstes}}\n@article{k2, title={Zweites}}\n");
    f.t.ui.filePaths.push_back(bib.toStdString());
    ActionNamed(f.window.get(), "ImportBibAction")->trigger();
    ASSERT_EQ(f.t.app.store.AnzBuch, 2);
    EXPECT_EQ(std::tuple(f.t.app.store.at(1)->Autor.Text, f.t.app.grid.RowCount(), f.t.ui.messages.size()),
              std::tuple(Cp1252("Müller, Hans"), 3, 0u));

    const QString ris = f.dir.filePath(Q("out.ris"));
    f.t.ui.filePaths.push_back(ris.toStdString());
    ActionNamed(f.window.get(), "ExportRisAction")->trigger();
    const std::string written = ReadBytes(ris);
    EXPECT_TRUE(written.find("TY  - BOOK\r\nID  - k1\r\nAU  - M\xC3\xBCller, Hans\r\n") != std::string::npos &&
                written.find("TI  - Zweites") != std::string::npos)
        << written;
}

TEST(MainWindow, OneColumnExportOffersTheColumnsForOneChoice)
{
    WindowFixture f;
    QString hint;
    int entries = 0;
    WhenModal<TForm_Select_From_List>([&](TForm_Select_From_List& dialog) {
        hint = dialog.HintLabel->text();
        entries = dialog.CheckList->count();
        dialog.close();
    });
    ActionNamed(f.window.get(), "ExportSpalteAction")->trigger();
    EXPECT_EQ(std::tuple(hint, entries, f.t.ui.messages.size()),
              std::tuple(Q("es kann nur EINE Spalte ausgewählt werden"), ColumnCount, 0u));
}

TEST(MainWindow, SortButtonReordersRowsAndIsTheOnlyOneDown)
{
    WindowFixture f;
    f.Open("sort.FOL", 40);
    const int autorCol = f.t.app.columns.CellArray[ColAutor].Pos;
    const auto before = ColumnCells(f.t.app, autorCol);

    QTest::mouseClick(FindButton(f.window.get(), Q("sortieren nach Autoren")), Qt::LeftButton);
    EXPECT_EQ(f.t.app.settings.BuchSort, 1);
    const auto after = ColumnCells(f.t.app, autorCol);
    EXPECT_NE(before, after);
    EXPECT_TRUE(std::is_sorted(after.begin(), after.end(), [](const std::string& a, const std::string& b) {
        return UpperAscii(a.substr(0, 1)) < UpperAscii(b.substr(0, 1));
    }));
    int down = 0;
    for (QToolButton* b : f.window->findChild<QToolBar*>()->findChildren<QToolButton*>())
        down += b->isChecked() ? 1 : 0;
    EXPECT_EQ(down, 1);
    EXPECT_TRUE(FindButton(f.window.get(), Q("sortieren nach Autoren"))->isChecked() &&
                ActionNamed(f.window.get(), "NachAutorAction")->isChecked());
}

// Delete asks (the question is the title store's): No keeps the title, Yes
// deletes it and turns the save button on at once, not when idle. Undone
// through the menu, the titles and the file saved afterwards are as before;
// the entries name the command.
TEST(MainWindow, DeleteAsksFirstAndUndoAndRedoThroughTheMenu)
{
    WindowFixture f;
    const std::string path = f.Open("undo.FOL", 5);
    QAction* undo = ActionNamed(f.window.get(), "RueckgaengigAction");
    QAction* redo = ActionNamed(f.window.get(), "WiederherstellenAction");
    const auto entries = [undo, redo] { return std::tuple(undo->isEnabled(), undo->text(), redo->isEnabled(), redo->text()); };
    f.window->Grid()->SetCurrentCell(1, 2);
    GetCurrentBuch(f.t.app);
    QAction* del = ActionNamed(f.window.get(), "TitelLoeschenAction");
    f.t.ui.answers = {Answer::No};
    del->trigger();
    EXPECT_EQ(std::tuple(f.t.ui.messages.size(), f.t.app.store.AnzBuch), std::tuple(1u, 5));

    f.t.ui.answers = {Answer::Yes};
    del->trigger();
    ASSERT_EQ(f.t.app.store.AnzBuch, 4);
    EXPECT_EQ(f.window->Grid()->model()->rowCount(), 4);
    EXPECT_TRUE(FindButton(f.window.get(), Q("Buchdatei speichern"))->isEnabled());
    EXPECT_EQ(entries(), std::tuple(true, Q("&Rückgängig: Titel löschen"), false, Q("&Wiederherstellen")));

    undo->trigger();
    EXPECT_EQ(std::tuple(f.t.app.store.AnzBuch, f.window->Grid()->model()->rowCount(), f.t.app.store.Gesichert(),
                         f.window->SaveAction()->isEnabled()),
              std::tuple(5, 5, true, false));
    EXPECT_EQ(entries(), std::tuple(false, Q("&Rückgängig"), true, Q("&Wiederherstellen: Titel löschen")));

    const std::string copy = PathToCp1252(f.dir.path() + QStringLiteral("/kopie.FOL"));
    f.t.ui.filePaths.push_back(copy);
    ActionNamed(f.window.get(), "SpeichernUnterAction")->trigger();
    EXPECT_EQ(ReadBytes(PathFromCp1252(path)), ReadBytes(PathFromCp1252(copy)));

    redo->trigger();
    EXPECT_EQ(f.t.app.store.AnzBuch, 4);
    EXPECT_TRUE(undo->isEnabled());
}

// Closing asks only about unsaved titles (the question is the main commands'):
// Abort, and Yes with a cancelled save-as dialog, keep the window.
TEST(MainWindow, ClosingAsksOnlyWhenUnsaved)
{
    const struct { bool changed; Answer answer; bool closes; std::size_t questions, dialogs; } cases[] = {
        {false, Answer::Abort, true, 0, 0}, {true, Answer::Abort, false, 1, 0},
        {true, Answer::Yes, false, 1, 1},   {true, Answer::No, true, 1, 0},
    };
    for (const auto& c : cases) {
        WindowFixture f;
        if (c.changed)
            f.t.app.store.MarkChanged();
        f.t.ui.answers = {c.answer};
        EXPECT_EQ(f.window->close(), c.closes);
        EXPECT_EQ(std::tuple(f.t.ui.messages.size(), f.t.ui.dialogs.size()), std::tuple(c.questions, c.dialogs));
    }
}

// The open and new buttons ask before unsaved titles go: Abort keeps them
// and shows no file dialog, No opens the other file, Yes (save first) starts
// a new catalogue with nothing left to save.
TEST(MainWindow, OpenAndNewButtonsAskBeforeUnsavedTitlesGo)
{
    WindowFixture f;
    const std::string first = f.Open("eins.FOL", 3);
    f.t.app.store.MarkChanged();
    const std::size_t dialogs = f.t.ui.dialogs.size();
    f.t.ui.answers = {Answer::Abort};
    QTest::mouseClick(FindButton(f.window.get(), Q("Buchdatei öffnen")), Qt::LeftButton);
    EXPECT_EQ(std::tuple(f.t.ui.messages.size(), f.t.ui.dialogs.size(), f.t.app.store.AnzBuch, f.t.app.DataFileName),
              std::tuple(1u, dialogs, 3, first)); // asked, and no file dialog

    f.t.ui.answers = {Answer::No};
    const std::string second = f.Open("zwei.FOL", 5);
    EXPECT_EQ(std::tuple(f.t.app.store.AnzBuch, f.t.app.DataFileName, f.window->Grid()->model()->rowCount()),
              std::tuple(5, second, 5));

    f.t.app.store.MarkChanged();
    f.window->UpdateActionStates();
    ASSERT_TRUE(f.window->SaveAction()->isEnabled());
    f.t.ui.answers = {Answer::Yes};
    QTest::mouseClick(FindButton(f.window.get(), Q("neue Buchdatei anlegen")), Qt::LeftButton);
    EXPECT_EQ(std::tuple(f.t.app.store.AnzBuch, f.t.app.DataFileName, f.window->Grid()->model()->rowCount(),
                         f.window->StatusPanel(2)->text()),
              std::tuple(0, "", 1, QString()));
    EXPECT_FALSE(FindButton(f.window.get(), Q("Buchdatei speichern"))->isEnabled());
}

// An exception in a command is shown as an error, logged with a snapshot
// of the trace, and the window stays.
TEST(MainWindow, AnExceptionInACommandIsReportedLoggedAndTheWindowStays)
{
    WindowFixture f;
    f.t.app.traceLog.Start(ChangeFileExt(f.t.platform.programPath, ".KEL"), f.t.ui);
    // A directory cannot be read as a database file: the load throws.
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("dir.FOL")));
    const std::string path = PathToCp1252(f.dir.filePath(QStringLiteral("dir.FOL")));
    f.t.ui.filePaths.push_back(path);
    ActionNamed(f.window.get(), "OeffnenAction")->trigger();
    const std::string shown = "Fehler beim Lesen aus " + path + "!";
    ASSERT_FALSE(f.t.ui.messages.empty());
    EXPECT_EQ(std::tuple(f.t.ui.messages.back().kind, f.t.ui.messages.back().text), std::tuple(MsgKind::Error, shown));
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_TRUE(QFile::exists(f.dir.filePath(QStringLiteral("Folianto.001.KEL"))));
    bool logged = false;
    for (int slot = 0; slot < TraceLog::SlotCount; ++slot)
        logged = logged || f.t.app.traceLog.Line(slot).find("TFoliantoMainWindow.AppException [ENTRY]\r\n"
                                                            "Exception.Message=\"" + shown + "\"") != std::string::npos;
    EXPECT_TRUE(logged);
    f.t.app.traceLog.End();
}

TEST(Startup, UnreadableSettingsWarnAndTheDefaultsStay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Folianto.INI"))); // exists, cannot be read as a file
    TestApp t;
    RunProgram(t, dir);
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(std::tuple(t.ui.messages[0].text, t.ui.messages[0].kind, t.app.settings.BuchSort),
              std::tuple("Konnte Folianto.INI nicht lesen!", MsgKind::Warning, 0));
}

} // namespace
} // namespace folianto::test
