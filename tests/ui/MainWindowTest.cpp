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
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <tuple>

namespace folianto::test {
namespace {

struct MenuCase {
    QStringList path;
    const char* shortcut;
    bool enabled;
};

TEST(MainWindow, MenuEntriesHaveTheirCaptionsShortcutsAndState)
{
    WindowFixture f;
    const MenuCase cases[] = {
        {{Q("&Datei"), Q("&Neu")}, "", true},
        {{Q("&Datei"), Q("Ö&ffnen...")}, "", true},
        {{Q("&Datei"), Q("&Importieren ..."), Q("aus &Folianto-Datei (*.FOL)")}, "", true},
        {{Q("&Datei"), Q("&Importieren ..."), Q("aus E&xcel-Datei (*.XLS)")}, "", true},
        {{Q("&Datei"), Q("&Importieren ..."), Q("aus &Text-Datei (*.TXT)")}, "", true},
        {{Q("&Datei"), Q("&Importieren ..."), Q("aus &BibTeX-Datei (*.BIB)")}, "", true},
        {{Q("&Datei"), Q("&Importieren ..."), Q("aus &RIS-Datei (*.RIS)")}, "", true},
        {{Q("&Datei"), Q("&Exportieren ..."), Q("der angezeigten Spalten in &Excel-Datei (*.XLS)")}, "", true},
        {{Q("&Datei"), Q("&Exportieren ..."), Q("in Excel-Datei (*.XLS) gemäß Export-Definition")}, "", true},
        {{Q("&Datei"), Q("&Exportieren ..."), Q("in &Literaturliste (*.TXT) gemäß Export-Definition")}, "", true},
        {{Q("&Datei"), Q("&Exportieren ..."), Q("einer Spalte in Textdatei (*.TXT)")}, "", true},
        {{Q("&Datei"), Q("&Exportieren ..."), Q("in BibTeX-Datei")}, "", true},
        {{Q("&Datei"), Q("&Exportieren ..."), Q("in RIS-Datei")}, "", true},
        {{Q("&Datei"), Q("&Speichern")}, "Ctrl+S", false},
        {{Q("&Datei"), Q("Speichern &unter...")}, "Ctrl+U", true},
        {{Q("&Datei"), Q("&Beenden")}, "", true},
        {{Q("&Bearbeiten"), Q("&Rückgängig")}, "Ctrl+Z", false},
        {{Q("&Bearbeiten"), Q("&Wiederherstellen")}, "Ctrl+Shift+Z", false},
        {{Q("&Bearbeiten"), Q("Eintrag in die Zwischenablage kopieren")}, "", true},
        {{Q("&Bearbeiten"), Q("&Filtern, suchen und sortieren")}, "Ctrl+F", true},
        {{Q("&Bearbeiten"), Q("&Volltextsuche")}, "Ctrl+Alt+F", true},
        {{Q("&Bearbeiten"), Q("&Ersetzen")}, "Ctrl+H", true},
        {{Q("&Bearbeiten"), Q("&Doppelte Titel suchen")}, "", true},
        {{Q("&Bearbeiten"), Q("alle internen Listen aktualisieren")}, "", true},
        {{Q("&Anzeigen"), Q("nach &Kürzel")}, "Ctrl+K", true},
        {{Q("&Anzeigen"), Q("nach &Titel")}, "Ctrl+T", true},
        {{Q("&Anzeigen"), Q("nach &Autor")}, "Ctrl+A", true},
        {{Q("&Anzeigen"), Q("nach Kate&gorie")}, "Ctrl+G", true},
        {{Q("&Anzeigen"), Q("nach T&yp")}, "Ctrl+Y", true},
        {{Q("&Anzeigen"), Q("nach S&prache")}, "Ctrl+P", true},
        {{Q("&Anzeigen"), Q("nach &Besitzer")}, "Ctrl+B", true},
        {{Q("&Anzeigen"), Q("in &Eingabereihenfolge")}, "Ctrl+E", true},
        {{Q("&Titel"), Q("&Neu eingeben")}, "Ctrl+N", true},
        {{Q("&Titel"), Q("&Kopieren")}, "", true},
        {{Q("&Titel"), Q("&Bearbeiten")}, "", true},
        {{Q("&Titel"), Q("&Ansehen")}, "", true},
        {{Q("&Titel"), Q("&Löschen")}, "Del", true},
        {{Q("&Optionen"), Q("allgemeine &Optionen")}, "Ctrl+O", true},
        {{Q("Hilfe"), Q("Hilfe   -    F1")}, "", true},
        {{Q("Hilfe"), Q("&Inhaltsübersicht")}, "", true},
        {{Q("Hilfe"), Q("&Schnelleinstieg")}, "", true},
        {{Q("Hilfe"), Q("&Info über Folianto")}, "", true},
    };
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(c.path.join(QStringLiteral(" | ")).toStdString());
        QAction* a = FindAction(f.window.get(), c.path);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->shortcut().toString().toStdString(), c.shortcut);
        EXPECT_EQ(a->isEnabled(), c.enabled);
        EXPECT_TRUE(a->isVisible());
    }

    QStringList visibleMenus;
    for (QAction* top : f.window->menuBar()->actions())
        if (top->isVisible())
            visibleMenus << top->text();
    EXPECT_EQ(visibleMenus, (QStringList{Q("&Datei"), Q("&Bearbeiten"), Q("&Anzeigen"), Q("&Titel"), Q("&Optionen"),
                                         Q("Hilfe")}));
    for (const QStringList& hidden : {QStringList{Q("&Datei"), Q("&Drucken...")},
                                      QStringList{Q("&Datei"), Q("Drucker&einrichtung...")},
                                      QStringList{Q("&Bearbeiten"), Q("Notizblock öffnen")}}) {
        QAction* a = FindAction(f.window.get(), hidden);
        ASSERT_NE(a, nullptr);
        EXPECT_FALSE(a->isVisible());
        EXPECT_FALSE(a->isEnabled());
    }
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

    QStringList popup;
    for (QAction* a : f.window->PopupMenu()->actions())
        if (!a->isSeparator())
            popup << a->text();
    EXPECT_EQ(popup, (QStringList{Q("Titel bearbeiten"), Q("bestehenden Titel kopieren"), Q("neuen Titel erfassen"),
                                  Q("Titel löschen"), Q("Sortieren nach ..."), Q("Schnellsuche in  ...")}));
    QStringList sortItems;
    for (QAction* a : FindMenuAction(f.window->PopupMenu(), {Q("Sortieren nach ...")})->menu()->actions())
        sortItems << a->text();
    EXPECT_EQ(sortItems, (QStringList{Q("Kürzel"), Q("Titel"), Q("Autor"), Q("Kategorie"), Q("Typ"), Q("Sprache"),
                                      Q("Besitzer"), Q("Eingabe-Reihenfolge")}));
    QAction* titeln = FindMenuAction(f.window->PopupMenu(), {Q("Schnellsuche in  ..."), Q("Titeln")});
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
    FindAction(f.window.get(), {Q("&Datei"), Q("Speichern &unter...")})->trigger();
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

    FindAction(f.window.get(), {Q("&Anzeigen"), Q("nach &Kürzel")})->trigger();
    EXPECT_EQ(highlighted(), first);
    EXPECT_EQ(app.store.at(app.store.ActBuch)->BuchNr, first);

    app.settings.ExportPos[0] = 1; // the clipboard entry: the short key
    FindAction(f.window.get(), {Q("&Bearbeiten"), Q("Eintrag in die Zwischenablage kopieren")})->trigger();
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
    FindAction(f.window.get(), {Q("&Datei"), Q("&Importieren ..."), Q("aus &BibTeX-Datei (*.BIB)")})->trigger();
    ASSERT_EQ(f.t.app.store.AnzBuch, 2);
    EXPECT_EQ(f.t.app.store.at(1)->Autor.Text, Cp1252("Müller, Hans"));
    EXPECT_EQ(f.t.app.grid.RowCount(), 3);
    EXPECT_TRUE(f.t.ui.messages.empty());

    const QString ris = f.dir.filePath(Q("out.ris"));
    f.t.ui.filePaths.push_back(ris.toStdString());
    FindAction(f.window.get(), {Q("&Datei"), Q("&Exportieren ..."), Q("in RIS-Datei")})->trigger();
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
    FindAction(f.window.get(), {Q("&Datei"), Q("&Exportieren ..."), Q("einer Spalte in Textdatei (*.TXT)")})->trigger();
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
    EXPECT_TRUE(FindAction(f.window.get(), {Q("&Anzeigen"), Q("nach &Autor")})->isChecked());
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
    QAction* del = FindAction(f.window.get(), {Q("&Titel"), Q("&Löschen")});

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
    QApplication::processEvents(); // the idle handler enables saving
    f.window->IdleCheck();
    EXPECT_TRUE(f.window->SaveAction()->isEnabled());
    EXPECT_TRUE(f.window->SaveButton()->isEnabled());
}

// Deleting, then undoing through the menu: the titles and the file saved
// afterwards are as before; the entries name the command.
TEST(MainWindow, UndoAndRedoThroughTheMenu)
{
    WindowFixture f;
    const std::string path = f.Open("undo.FOL", 5);
    QAction* undo = FindAction(f.window.get(), {Q("&Bearbeiten"), Q("&Rückgängig")});
    QAction* redo = FindAction(f.window.get(), {Q("&Bearbeiten"), Q("&Wiederherstellen")});
    f.window->Grid()->SetCurrentCell(1, 2);
    GetCurrentBuch(f.t.app);
    FindAction(f.window.get(), {Q("&Titel"), Q("&Löschen")})->trigger();
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
    FindAction(f.window.get(), {Q("&Datei"), Q("Speichern &unter...")})->trigger();
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
    f.window->IdleCheck();
    ASSERT_TRUE(f.window->SaveAction()->isEnabled());
    f.t.ui.answers = {Answer::Yes};
    QTest::mouseClick(FindButton(f.window.get(), Q("neue Buchdatei anlegen")), Qt::LeftButton);
    EXPECT_EQ(f.t.app.store.AnzBuch, 0);
    EXPECT_EQ(f.t.app.DataFileName, "");
    EXPECT_EQ(f.window->Grid()->model()->rowCount(), 1);
    EXPECT_EQ(f.window->StatusPanel(2)->text(), QString());
    EXPECT_FALSE(f.window->SaveAction()->isEnabled());
    EXPECT_FALSE(f.window->SaveButton()->isEnabled());
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
    FindAction(f.window.get(), {Q("&Datei"), Q("Ö&ffnen...")})->trigger();
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
