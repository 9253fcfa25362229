#include "ui/GuiSupport.h"

#include "core/ErrorText.h"
#include "core/Text.h"
#include "platform/SingleInstanceLock.h"
#include "support/DbBytes.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/shell/Startup.h"
#include "ui/shell/TitleGrid.h"
#include "selection/Selection.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <tuple>

namespace folianto::test {
namespace {

// A menu as the user reads it: "caption keys (aus)" per visible entry, a
// submenu's entries in braces.
QString Listing(const QMenu* menu)
{
    QStringList entries;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        QString entry = a->text();
        if (!a->shortcut().isEmpty())
            entry += QLatin1Char(' ') + a->shortcut().toString();
        if (!a->isEnabled())
            entry += Q(" (aus)");
        if (a->menu())
            entry += Q(" {") + Listing(a->menu()) + QLatin1Char('}');
        entries << entry;
    }
    return entries.join(Q("; "));
}

TEST(MainWindow, MenusListTheirEntriesKeysAndStates)
{
    WindowFixture f;
    const std::pair<const char*, const char*> menus[] = {
        {"&Datei", "&Neu; Ö&ffnen...; &Importieren ... {aus &Folianto-Datei (*.FOL); aus E&xcel-Datei (*.XLS); "
                   "aus &Text-Datei (*.TXT); aus &BibTeX-Datei (*.BIB); aus &RIS-Datei (*.RIS); "
                   "aus CSL-&JSON-Datei (*.JSON)}; &Exportieren ... {der angezeigten Spalten in &Excel-Datei (*.XLS); "
                   "in Excel-Datei (*.XLS) gemäß Export-Definition; in &Literaturliste (*.TXT) gemäß "
                   "Export-Definition; einer Spalte in Textdatei (*.TXT); in BibTeX-Datei; in RIS-Datei; "
                   "in CSL-JSON-Datei; Literaturverzeichnis im Zitierstil...}; &Speichern Ctrl+S (aus); "
                   "Speichern &unter... Ctrl+U; &Beenden"},
        {"&Bearbeiten", "&Rückgängig Ctrl+Z (aus); &Wiederherstellen Ctrl+Shift+Z (aus); Eintrag in die "
                        "Zwischenablage kopieren; &Filtern, suchen und sortieren Ctrl+F; &Volltextsuche Ctrl+Alt+F; "
                        "&Ersetzen Ctrl+H; &Doppelte Titel suchen; alle internen Listen aktualisieren"},
        {"&Anzeigen", "nach &Kürzel Ctrl+K; nach &Titel Ctrl+T; nach &Autor Ctrl+A; nach Kate&gorie Ctrl+G; "
                      "nach T&yp Ctrl+Y; nach S&prache Ctrl+P; nach &Besitzer Ctrl+B; in &Eingabereihenfolge Ctrl+E"},
        {"&Titel", "&Neu eingeben Ctrl+N; &Kopieren; &Bearbeiten; &Ansehen; Nach &ISBN/DOI aufnehmen...; &Löschen Del"},
        {"&Optionen", "allgemeine &Optionen Ctrl+O"},
        {"Hilfe", "Hilfe   -    F1; &Inhaltsübersicht; &Schnelleinstieg; &Info über Folianto"},
    };
    QStringList shown;
    for (QAction* top : f.window->menuBar()->actions())
        if (top->isVisible())
            shown << top->text() + Q(": ") + Listing(top->menu());
    QStringList expected;
    for (const auto& [menu, entries] : menus)
        expected << Q(menu) + Q(": ") + Q(entries);
    EXPECT_EQ(shown, expected);
    for (const char* hidden : {"DruckenAction", "DruckereinrichtungAction", "NotizblockAction"}) {
        QAction* a = ActionNamed(f.window.get(), hidden);
        ASSERT_NE(a, nullptr) << hidden;
        EXPECT_TRUE(!a->isVisible() && !a->isEnabled()) << hidden;
    }
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
        EXPECT_FALSE(a->text().isEmpty());
        EXPECT_FALSE(a->objectName().isEmpty());
        EXPECT_FALSE(names.contains(a->objectName()));
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

TEST(MainWindow, ToolButtonsAndPopupInTheirOrder)
{
    WindowFixture f;
    QStringList hints;
    auto* bar = f.window->findChild<QToolBar*>();
    for (QAction* a : bar->actions())
        if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a)); b && a->isVisible())
            hints << b->toolTip();
    EXPECT_EQ(hints, (QStringList{
                         Q("Buchdatei öffnen"), Q("Buchdatei speichern"), Q("neue Buchdatei anlegen"),
                         Q("Literatur filtern, suchen und sortieren"), Q("Folianto-Programmoptionen"),
                         Q("neues Buch eingeben"), Q("sortieren nach Buchtiteln"), Q("sortieren nach Autoren"),
                         Q("sortieren nach Kategorie"), Q("sortieren nach Typ"), Q("sortieren nach Sprache"),
                         Q("sortieren nach Eigentümer"), Q("Folianto beenden"), Q("Info über Folianto"),
                         Q("unsortiert = in der Reihenfolge der Eingabe"), Q("nach Kürzel sortieren"),
                         Q("angezeigte Titel nach Excel exportieren"), Q("aktuellen Eintrag ins Clipboard kopieren"),
                         Q("Volltext-Suche"), Q("Filtern-und-Suchen-Einstellungen zurücksetzen")}));
    EXPECT_FALSE(FindButton(f.window.get(), Q("Buchdatei speichern"))->isEnabled());
    EXPECT_TRUE(bar->actions().contains(f.window->SaveAction())); // the menu's action, not a copy

    // Open, the pop-up names the shared actions as the grid's entries.
    QMenu* popup = f.window->PopupMenu();
    QMenu* sortMenu = FindMenuAction(popup, {Q("Sortieren nach ...")})->menu();
    const auto captions = [](const QMenu* menu) {
        QStringList texts;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                texts << a->text();
        return texts;
    };
    popup->popup(QPoint());
    sortMenu->popup(QPoint());
    EXPECT_EQ(captions(popup), (QStringList{Q("Titel bearbeiten"), Q("bestehenden Titel kopieren"),
                                            Q("neuen Titel erfassen"), Q("Titel löschen"), Q("Sortieren nach ..."),
                                            Q("Schnellsuche in  ...")}));
    EXPECT_EQ(captions(sortMenu), (QStringList{Q("Kürzel"), Q("Titel"), Q("Autor"), Q("Kategorie"), Q("Typ"),
                                               Q("Sprache"), Q("Besitzer"), Q("Eingabe-Reihenfolge")}));
    sortMenu->hide();
    popup->hide();
    EXPECT_EQ(popup->actions().front(), ActionNamed(f.window.get(), "TitelBearbeitenAction"));
    EXPECT_EQ(popup->actions().front()->text(), Q("&Bearbeiten"));
    EXPECT_EQ(sortMenu->actions().front()->text(), Q("nach &Kürzel"));
    QAction* titeln = FindMenuAction(popup, {Q("Schnellsuche in  ..."), Q("Titeln")});
    ASSERT_NE(titeln, nullptr);
    EXPECT_TRUE(titeln->isChecked());
    EXPECT_EQ(titeln->shortcut().toString(), Q("Ctrl+Alt+T"));
}

TEST(MainWindow, OpeningThroughTheFileDialogFillsTheGridAndHistory)
{
    WindowFixture f;
    const std::string path = f.Open("sample.FOL", 30);
    EXPECT_EQ(f.t.app.store.AnzBuch, 30);
    EXPECT_EQ(f.t.app.grid.RowCount(), 31);
    EXPECT_EQ(f.window->Grid()->model()->rowCount(), 30);
    EXPECT_EQ(f.window->StatusPanel(1)->text(), Q(" 30 Titel gezeigt von 30 Titeln"));
    EXPECT_EQ(f.window->StatusPanel(2)->text(), FromCp1252(path));
    EXPECT_EQ(f.window->FileMenu()->actions().last()->text(), Q("&1 ") + FromCp1252(path));
    EXPECT_FALSE(f.window->SaveAction()->isEnabled());

    const std::string copy = PathToCp1252(f.dir.filePath(QStringLiteral("copy.FOL")));
    f.t.ui.filePaths.push_back(copy);
    ActionNamed(f.window.get(), "SpeichernUnterAction")->trigger();
    EXPECT_EQ(f.window->StatusPanel(2)->text(), FromCp1252(copy));

    f.window->FileMenu()->actions().last()->trigger(); // the history entry loads its file again
    EXPECT_EQ(f.t.app.DataFileName, path);
    EXPECT_EQ(f.window->FileMenu()->actions().last()->text(), Q("&1 ") + FromCp1252(path));
}

// A new user's first steps: the highlighted row is the current title after
// opening and after sorting, so viewing and copying act on it.
TEST(MainWindow, TheHighlightedRowIsTheCurrentTitle)
{
    WindowFixture f;
    f.Open("erste.FOL", 30);
    App& app = f.t.app;
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
    EXPECT_EQ(f.t.app.store.at(1)->Autor.Text, Cp1252("Müller, Hans"));
    EXPECT_EQ(f.t.app.grid.RowCount(), 3);
    EXPECT_TRUE(f.t.ui.messages.empty());

    const QString ris = f.dir.filePath(Q("out.ris"));
    f.t.ui.filePaths.push_back(ris.toStdString());
    ActionNamed(f.window.get(), "ExportRisAction")->trigger();
    const std::string written = ReadBytes(ris);
    EXPECT_NE(written.find("TY  - BOOK\r\nID  - k1\r\nAU  - M\xC3\xBCller, Hans\r\n"), std::string::npos);
    EXPECT_NE(written.find("TI  - Zweites"), std::string::npos);
}

TEST(MainWindow, OneColumnExportOffersTheColumnsForOneChoice)
{
    WindowFixture f;
    QString hint;
    int entries = 0;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<TForm_Select_From_List*>(modal)) {
            hint = dialog->HintLabel->text();
            entries = dialog->CheckList->count();
        }
        if (modal)
            modal->close();
    });
    ActionNamed(f.window.get(), "ExportSpalteAction")->trigger();
    EXPECT_EQ(hint, Q("es kann nur EINE Spalte ausgewählt werden"));
    EXPECT_EQ(entries, ColumnCount);
    EXPECT_TRUE(f.t.ui.messages.empty());
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
    EXPECT_TRUE(FindButton(f.window.get(), Q("sortieren nach Autoren"))->isChecked());
    EXPECT_TRUE(ActionNamed(f.window.get(), "NachAutorAction")->isChecked());
}

TEST(MainWindow, DeleteAsksTheExactQuestion)
{
    WindowFixture f;
    f.Open("del.FOL", 5);
    f.window->Grid()->SetCurrentCell(1, 2);
    GetCurrentBuch(f.t.app);
    const TBuch* current = f.t.app.store.current();
    ASSERT_NE(current, nullptr);
    const std::string question = Cp1252("Folianto: Sicherheitssystem\r\n\r\nDer Titel [") + current->Kuerzel.Text +
                                 "], \"" + current->Titel.Text + Cp1252("\" soll gelöscht werden.\r\n") +
                                 Cp1252("Soll der Titel wirklich gelöscht werden?");
    QAction* del = ActionNamed(f.window.get(), "TitelLoeschenAction");

    f.t.ui.answers = {Answer::No};
    del->trigger();
    ASSERT_EQ(f.t.ui.messages.size(), 1u);
    EXPECT_EQ(f.t.ui.messages[0].text, question);
    EXPECT_EQ(f.t.ui.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(f.t.app.store.AnzBuch, 5);

    f.t.ui.answers = {Answer::Yes};
    del->trigger();
    EXPECT_EQ(f.t.app.store.AnzBuch, 4);
    EXPECT_EQ(f.window->Grid()->model()->rowCount(), 4);
    EXPECT_TRUE(FindButton(f.window.get(), Q("Buchdatei speichern"))->isEnabled()); // at once, not when idle
}

// Deleting, then undoing through the menu: the titles and the file saved
// afterwards are as before; the entries name the command.
TEST(MainWindow, UndoAndRedoThroughTheMenu)
{
    WindowFixture f;
    const std::string path = f.Open("undo.FOL", 5);
    QAction* undo = ActionNamed(f.window.get(), "RueckgaengigAction");
    QAction* redo = ActionNamed(f.window.get(), "WiederherstellenAction");
    f.window->Grid()->SetCurrentCell(1, 2);
    GetCurrentBuch(f.t.app);
    ActionNamed(f.window.get(), "TitelLoeschenAction")->trigger();
    ASSERT_EQ(f.t.app.store.AnzBuch, 4);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), Q("&Rückgängig: Titel löschen"));
    EXPECT_EQ(redo->text(), Q("&Wiederherstellen"));
    EXPECT_FALSE(redo->isEnabled());

    undo->trigger();
    EXPECT_EQ(f.t.app.store.AnzBuch, 5);
    EXPECT_EQ(f.window->Grid()->model()->rowCount(), 5);
    EXPECT_TRUE(f.t.app.store.Gesichert());
    EXPECT_FALSE(f.window->SaveAction()->isEnabled());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), Q("&Rückgängig"));
    EXPECT_EQ(redo->text(), Q("&Wiederherstellen: Titel löschen"));

    const std::string copy = PathToCp1252(f.dir.path() + QStringLiteral("/kopie.FOL"));
    f.t.ui.filePaths.push_back(copy);
    ActionNamed(f.window.get(), "SpeichernUnterAction")->trigger();
    QFile a(PathFromCp1252(path));
    QFile b(PathFromCp1252(copy));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_TRUE(a.readAll() == b.readAll());

    redo->trigger();
    EXPECT_EQ(f.t.app.store.AnzBuch, 4);
    EXPECT_TRUE(undo->isEnabled());
}

TEST(MainWindow, ClosingWithUnsavedDataAsksAndAbortKeepsTheWindow)
{
    WindowFixture f;
    f.t.app.store.MarkChanged();
    f.t.ui.answers = {Answer::Abort};
    EXPECT_FALSE(f.window->close());
    ASSERT_EQ(f.t.ui.messages.size(), 1u);
    EXPECT_EQ(f.t.ui.messages[0].text, Cp1252("Folianto: Sicherheitssystem\r\n\r\nDie Buchdaten wurden geändert, "
                                              "aber noch nicht gesichert.\r\nDie Buchdaten jetzt sichern?"));
    EXPECT_EQ(f.t.ui.messages[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(f.t.ui.messages[0].buttons, Buttons::YesNoAbort);

    // Yes without a file name opens the save-as dialog; cancelling it keeps the program open.
    f.t.ui.answers = {Answer::Yes};
    EXPECT_FALSE(f.window->close());
    EXPECT_EQ(f.t.ui.dialogs.size(), 1u);

    f.t.ui.answers = {Answer::No};
    EXPECT_TRUE(f.window->close());
}

TEST(MainWindow, NewDatabaseSavesOnYesAndLeavesNothingToSave)
{
    WindowFixture f;
    f.Open("new.FOL", 3);
    f.t.app.store.MarkChanged();
    f.window->UpdateActionStates();
    ASSERT_TRUE(f.window->SaveAction()->isEnabled());
    f.t.ui.answers = {Answer::Yes};
    QTest::mouseClick(FindButton(f.window.get(), Q("neue Buchdatei anlegen")), Qt::LeftButton);
    EXPECT_EQ(f.t.app.store.AnzBuch, 0);
    EXPECT_EQ(f.t.app.DataFileName, "");
    EXPECT_EQ(f.window->Grid()->model()->rowCount(), 1);
    EXPECT_EQ(f.window->StatusPanel(2)->text(), QString());
    EXPECT_FALSE(FindButton(f.window.get(), Q("Buchdatei speichern"))->isEnabled());
}

TEST(MainWindow, OpenButtonAsksBeforeUnsavedTitlesGo)
{
    WindowFixture f;
    const std::string first = f.Open("eins.FOL", 3);
    f.t.app.store.MarkChanged();
    const std::size_t dialogs = f.t.ui.dialogs.size();
    f.t.ui.answers = {Answer::Abort};
    QTest::mouseClick(FindButton(f.window.get(), Q("Buchdatei öffnen")), Qt::LeftButton);
    ASSERT_EQ(f.t.ui.messages.size(), 1u);
    EXPECT_EQ(f.t.ui.messages[0].text.rfind("Folianto: Sicherheitssystem\r\n\r\n", 0), 0u);
    EXPECT_EQ(f.t.ui.dialogs.size(), dialogs); // no file dialog
    EXPECT_EQ(std::tuple(f.t.app.store.AnzBuch, f.t.app.DataFileName), std::tuple(3, first));

    f.t.ui.answers = {Answer::No};
    const std::string second = f.Open("zwei.FOL", 5);
    EXPECT_EQ(std::tuple(f.t.app.store.AnzBuch, f.t.app.DataFileName), std::tuple(5, second));
    EXPECT_EQ(f.window->Grid()->model()->rowCount(), 5);
}

TEST(MainWindow, ClosingWithSavedDataAsksNothing)
{
    WindowFixture f;
    EXPECT_TRUE(f.window->close());
    EXPECT_TRUE(f.t.ui.messages.empty());
}

TEST(MainWindow, AnExceptionInACommandIsReportedAndTheWindowStays)
{
    WindowFixture f;
    // A directory cannot be read as a database file: the load throws.
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("dir.FOL")));
    const std::string path = PathToCp1252(f.dir.filePath(QStringLiteral("dir.FOL")));
    f.t.ui.filePaths.push_back(path);
    ActionNamed(f.window.get(), "OeffnenAction")->trigger();
    ASSERT_FALSE(f.t.ui.messages.empty());
    EXPECT_EQ(f.t.ui.messages.back().kind, MsgKind::Error);
    EXPECT_EQ(f.t.ui.messages.back().text, "Fehler beim Lesen aus " + path + "!");
    EXPECT_TRUE(f.window->isVisible());
}

TEST(Startup, UnreadableSettingsWarnAndTheDefaultsStay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Folianto.INI"))); // exists, cannot be read as a file
    TestApp t;
    RunProgram(t, dir);
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages[0].text, "Konnte Folianto.INI nicht lesen!");
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Warning);
    EXPECT_EQ(t.app.settings.BuchSort, 0);
}

TEST(Startup, AppExceptionShowsLogsAndSnapshotsTheTrace)
{
    QTemporaryDir dir;
    TestApp t;
    t.platform.programPath = PathToCp1252(dir.filePath(QStringLiteral("Folianto")));
    t.app.traceLog.Start(ChangeFileExt(t.platform.programPath, ".KEL"), t.ui);
    AppException(t.app, "Etwas ging schief");
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "Etwas ging schief");
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Error);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Folianto.001.KEL"))));
    bool logged = false;
    for (int slot = 0; slot < 5; ++slot)
        logged = logged || t.app.traceLog.Line(slot).find("TFoliantoMainWindow.AppException [ENTRY]\r\n"
                                                          "Exception.Message=\"Etwas ging schief\"") !=
                               std::string::npos;
    EXPECT_TRUE(logged);
    t.app.traceLog.End();
}

} // namespace
} // namespace folianto::test
