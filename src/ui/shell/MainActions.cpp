// The main window's actions: created once each, placed in the menus, the
// tool bar and the pop-up menu, and their state derived from the model.

#include "ui/shell/MainWindow.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "exchange/BibTexExport.h"
#include "exchange/BibTexImport.h"
#include "exchange/CslBibliography.h"
#include "exchange/CslJson.h"
#include "exchange/EntryFormatter.h"
#include "exchange/RisExport.h"
#include "exchange/RisImport.h"
#include "exchange/TextExport.h"
#include "exchange/TextImport.h"
#include "exchange/WorkbookExchange.h"
#include "selection/FilterDialogModel.h"
#include "selection/QuickSearch.h"
#include "selection/SearchLists.h"
#include "selection/Selection.h"
#include "application/App.h"
#include "application/BuchData.h"
#include "application/FileHistoryCommands.h"
#include "shell/MainCommands.h"
#include "spreadsheet/Workbook.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/exchange/CslBibliographyDialog.h"
#include "ui/exchange/TxtImportDialog.h"
#include "ui/help/HelpWindow.h"
#include "ui/lookup/LookupWindow.h"
#include "ui/selection/DuplicateList.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace folianto {

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Sort orders in the order of the "&Anzeigen" menu and the pop-up menu.
struct SortEntry {
    BuchSortOrder order;
    const char* name;
    const char* caption;
    const char* shortcut;
    const char* popupCaption;
};
constexpr SortEntry SortEntries[] = {
    {SortKuerzel, "NachKuerzelAction", "nach &Kürzel", "Ctrl+K", "Kürzel"},
    {SortTitel, "NachTitelAction", "nach &Titel", "Ctrl+T", "Titel"},
    {SortAutor, "NachAutorAction", "nach &Autor", "Ctrl+A", "Autor"},
    {SortKategorie, "NachKategorieAction", "nach Kate&gorie", "Ctrl+G", "Kategorie"},
    {SortTyp, "NachTypAction", "nach T&yp", "Ctrl+Y", "Typ"},
    {SortSprache, "NachSpracheAction", "nach S&prache", "Ctrl+P", "Sprache"},
    {SortBesitzer, "NachBesitzerAction", "nach &Besitzer", "Ctrl+B", "Besitzer"},
    {SortEingabe, "EingabereihenfolgeAction", "in &Eingabereihenfolge", "Ctrl+E", "Eingabe-Reihenfolge"},
};

struct QuickSearchEntry {
    QuickSearchColumn column;
    const char* name;
    const char* caption;
    const char* shortcut;
};
constexpr QuickSearchEntry QuickSearchEntries[] = {
    {QuickTitel, "SchnellsucheTitelAction", "Titeln", "Ctrl+Alt+T"},
    {QuickAutor, "SchnellsucheAutorAction", "Autoren", "Ctrl+Alt+A"},
    {QuickKategorie, "SchnellsucheKategorieAction", "Kategorien", "Ctrl+Alt+K"},
};

// Tool bar buttons in their order: the action, its hint, and an icon or a
// short text.
constexpr int TextOnly = -1;
struct ToolEntry {
    const char* name;
    const char* hint;
    int icon; // QStyle::StandardPixmap, or TextOnly
    const char* text;
};
constexpr ToolEntry ToolEntries[] = {
    {"OeffnenAction", "Buchdatei öffnen", QStyle::SP_DialogOpenButton, nullptr},
    {"SpeichernAction", "Buchdatei speichern", QStyle::SP_DialogSaveButton, nullptr},
    {"DateiNeuAction", "neue Buchdatei anlegen", QStyle::SP_FileIcon, nullptr},
    {"FilternAction", "Literatur filtern, suchen und sortieren", QStyle::SP_FileDialogContentsView, nullptr},
    {"OptionenAction", "Folianto-Programmoptionen", QStyle::SP_FileDialogDetailedView, nullptr},
    {"TitelNeuAction", "neues Buch eingeben", QStyle::SP_FileDialogNewFolder, nullptr},
    {"NachTitelAction", "sortieren nach Buchtiteln", TextOnly, "Titel"},
    {"NachAutorAction", "sortieren nach Autoren", TextOnly, "Autor"},
    {"NachKategorieAction", "sortieren nach Kategorie", TextOnly, "Kat."},
    {"NachTypAction", "sortieren nach Typ", TextOnly, "Typ"},
    {"NachSpracheAction", "sortieren nach Sprache", TextOnly, "Spr."},
    {"NachBesitzerAction", "sortieren nach Eigentümer", TextOnly, "Bes."},
    {"BeendenAction", "Folianto beenden", QStyle::SP_DialogCloseButton, nullptr},
    {"InfoAction", "Info über Folianto", QStyle::SP_MessageBoxInformation, nullptr},
    {"NotizAction", "Notiz erstellen oder ändern", TextOnly, "Notiz"},
    {"EingabereihenfolgeAction", "unsortiert = in der Reihenfolge der Eingabe", TextOnly, "Eing."},
    {"NachKuerzelAction", "nach Kürzel sortieren", TextOnly, "Kürzel"},
    {"ExportSpaltenXlsAction", "angezeigte Titel nach Excel exportieren", TextOnly, "XLS"},
    {"ZwischenablageAction", "aktuellen Eintrag ins Clipboard kopieren", TextOnly, "Clip"},
    {"VolltextsucheAction", "Volltext-Suche", TextOnly, "Volltext"},
    {"ZuruecksetzenAction", "Filtern-und-Suchen-Einstellungen zurücksetzen", QStyle::SP_BrowserReload, nullptr},
};

// While the pop-up menu is open, its entries carry the captions of the grid's
// pop-up ("Titel löschen" for "&Löschen"); closed, those of the main menu.
const char* const PopupCaption = "popupCaption";

void SwapPopupCaptions(QMenu* menu)
{
    for (QAction* a : menu->actions()) {
        const QVariant other = a->property(PopupCaption);
        if (other.isValid()) {
            a->setProperty(PopupCaption, a->text());
            a->setText(other.toString());
        }
    }
}

void UsePopupCaptions(QMenu* menu)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { SwapPopupCaptions(menu); });
    QObject::connect(menu, &QMenu::aboutToHide, menu, [menu] { SwapPopupCaptions(menu); });
}

// A menu's entries by action name; "-" is a separator.
void AddEntries(QMenu* menu, const QWidget* owner, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (name[0] == '-')
            menu->addSeparator();
        else
            menu->addAction(owner->findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly));
    }
}

} // namespace

QAction* TFoliantoMainWindow::NewAction(const char* name, const QString& caption, const char* shortcut,
                                        std::function<void()> command)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(QKeySequence(QLatin1String(shortcut), QKeySequence::PortableText));
    if (command) {
        connect(action, &QAction::triggered, this, [this, command = std::move(command)] { Run(command); });
    } else { // without a function so far: hidden
        action->setVisible(false);
        action->setEnabled(false);
    }
    return action;
}

QAction* TFoliantoMainWindow::Action(const char* name) const
{
    return findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

void TFoliantoMainWindow::CreateActions()
{
    using W = TFoliantoMainWindow;
    struct Row {
        const char* name;
        const char* caption;
        const char* shortcut;
        void (*run)(W&);
    };
    const Row rows[] = {
        {"DateiNeuAction", "&Neu", "", [](W& w) { w.FileNew(); }},
        {"OeffnenAction", "Ö&ffnen...", "", [](W& w) { w.FileOpen(); }},
        {"ImportFolAction", "aus &Folianto-Datei (*.FOL)", "", [](W& w) { w.FileMerge(); }},
        {"ImportXlsAction", "aus E&xcel-Datei (*.XLS)", "", [](W& w) { w.ImportWorkbook(); }},
        {"ImportTxtAction", "aus &Text-Datei (*.TXT)", "",
         [](W& w) { ImportFromText(w.app_, [&w](ImportDialogModel& m) { return TForm_TXT_Import::Run(m, &w); }); }},
        {"ImportBibAction", "aus &BibTeX-Datei (*.BIB)", "", [](W& w) { ImportFromBibTex(w.app_); }},
        {"ImportRisAction", "aus &RIS-Datei (*.RIS)", "", [](W& w) { ImportFromRis(w.app_); }},
        {"ImportJsonAction", "aus CSL-&JSON-Datei (*.JSON)", "", [](W& w) { ImportFromCslJson(w.app_); }},
        {"ExportSpaltenXlsAction", "der angezeigten Spalten in &Excel-Datei (*.XLS)", "",
         [](W& w) { w.ExportShownTitles(); }},
        {"ExportXlsAction", "in Excel-Datei (*.XLS) gemäß Export-Definition", "",
         [](W& w) {
             Workbook workbook;
             ExportDefinitionToWorkbook(w.app_, workbook);
         }},
        {"ExportListeAction", "in &Literaturliste (*.TXT) gemäß Export-Definition", "",
         [](W& w) { ExportLiteratureList(w.app_); }},
        {"ExportSpalteAction", "einer Spalte in Textdatei (*.TXT)", "",
         [](W& w) { ExportColumn(w.app_, [&w](const std::vector<PickItem>& items) { return w.PickColumn(items); }); }},
        {"ExportBibAction", "in BibTeX-Datei", "", [](W& w) { ExportToBibTex(w.app_); }},
        {"ExportRisAction", "in RIS-Datei", "", [](W& w) { ExportToRis(w.app_); }},
        {"ExportJsonAction", "in CSL-JSON-Datei", "", [](W& w) { ExportToCslJson(w.app_); }},
        {"ExportZitierstilAction", "Literaturverzeichnis im Zitierstil...", "", [](W& w) { w.ExportCslBibliography(); }},
        {"SpeichernAction", "&Speichern", "Ctrl+S", [](W& w) { w.FileSave(); }},
        {"SpeichernUnterAction", "Speichern &unter...", "Ctrl+U", [](W& w) { w.FileSaveAs(); }},
        {"DruckenAction", "&Drucken...", "", nullptr},
        {"DruckereinrichtungAction", "Drucker&einrichtung...", "", nullptr},
        {"BeendenAction", "&Beenden", "", [](W& w) { w.close(); }},
        // Ctrl+Y sorts by type, so redo takes the other usual key. A dialog's
        // text field keeps both keys: these act in the main window only.
        {"RueckgaengigAction", "&Rückgängig", "Ctrl+Z", [](W& w) { UndoTitleChange(w.app_); }},
        {"WiederherstellenAction", "&Wiederherstellen", "Ctrl+Shift+Z", [](W& w) { RedoTitleChange(w.app_); }},
        {"ZwischenablageAction", "Eintrag in die Zwischenablage kopieren", "",
         [](W& w) { CopyEntryToClipboard(w.app_); }},
        {"NotizblockAction", "Notizblock öffnen", "", nullptr},
        {"NotizAction", "Notiz", "", nullptr},
        {"FilternAction", "&Filtern, suchen und sortieren", "Ctrl+F",
         [](W& w) { w.OpenFilterDialog(FilterDialogMode::Normal); }},
        {"VolltextsucheAction", "&Volltextsuche", "Ctrl+Alt+F", [](W& w) { w.OpenFilterDialog(FilterDialogMode::Search); }},
        {"ErsetzenAction", "&Ersetzen", "Ctrl+H", [](W& w) { w.OpenFilterDialog(FilterDialogMode::Replace); }},
        {"ZuruecksetzenAction", "Filtern und Suchen zurücksetzen", "", [](W& w) { ResetFilterAndSearch(w.app_); }},
        {"DoppelteAction", "&Doppelte Titel suchen", "", [](W& w) { RunDuplicateFinder(w.app_, &w); }},
        {"ListenAktualisierenAction", "alle internen Listen aktualisieren", "", [](W& w) { Fill_AllLists(w.app_); }},
        {"TitelNeuAction", "&Neu eingeben", "Ctrl+N", [](W& w) { w.TitleNew(); }},
        {"TitelKopierenAction", "&Kopieren", "", [](W& w) { w.TitleEdit(true); }},
        {"TitelBearbeitenAction", "&Bearbeiten", "", [](W& w) { w.TitleOpen(); }},
        {"TitelAnsehenAction", "&Ansehen", "", [](W& w) { w.TitleView(); }},
        {"NachschlagenAction", "Nach &ISBN/DOI aufnehmen...", "", [](W& w) { RunLookupWindow(w.app_, &w); }},
        {"TitelLoeschenAction", "&Löschen", "Del", [](W& w) { w.TitleDelete(); }},
        {"KategorieNeuAction", "&Neu", "", nullptr},
        {"KategorieBearbeitenAction", "&Bearbeiten", "", nullptr},
        {"KategorieLoeschenAction", "&Löschen", "", nullptr},
        {"OptionenAction", "allgemeine &Optionen", "Ctrl+O", [](W& w) { w.ShowOptions(); }},
        {"HilfeAction", "Hilfe   -    F1", "", [](W& w) { w.ShowHelpContext(FocusHelpContext(&w)); }},
        {"InhaltAction", "&Inhaltsübersicht", "", [](W& w) { w.Help()->ShowContents(); }},
        {"SchnelleinstiegAction", "&Schnelleinstieg", "", [](W& w) { w.ShowHelpContext(HelpQuickStart); }},
        {"InfoAction", "&Info über Folianto", "", [](W& w) { w.ShowAbout(); }},
        // Without a menu entry: the inspectors answer their keys only.
        {"TitelInspektorAction", "Titel-Inspektor", "Ctrl+Alt+F10", [](W& w) { w.ShowInspector(false); }},
        {"SpaltenInspektorAction", "Spalten-Inspektor", "Ctrl+Alt+Shift+F10", [](W& w) { w.ShowInspector(true); }},
    };
    for (const Row& row : rows) {
        std::function<void()> command;
        if (row.run)
            command = [this, run = row.run] { run(*this); };
        NewAction(row.name, U(row.caption), row.shortcut, std::move(command));
    }
    addActions({Action("TitelInspektorAction"), Action("SpaltenInspektorAction")});
    saveAction_ = Action("SpeichernAction");
    undoAction_ = Action("RueckgaengigAction");
    redoAction_ = Action("WiederherstellenAction");
    CreateChoiceActions();
}

void TFoliantoMainWindow::CreateChoiceActions()
{
    sortGroup_ = new QActionGroup(this);
    for (const SortEntry& e : SortEntries) {
        const BuchSortOrder order = e.order;
        QAction* item = NewAction(e.name, U(e.caption), e.shortcut, [this, order] { SetBuchSort(app_, order); });
        item->setCheckable(true);
        item->setData(static_cast<int>(order));
        item->setProperty(PopupCaption, U(e.popupCaption));
        item->setShortcutVisibleInContextMenu(false);
        sortGroup_->addAction(item);
    }
    quickSearchGroup_ = new QActionGroup(this);
    for (const QuickSearchEntry& e : QuickSearchEntries) {
        const QuickSearchColumn column = e.column;
        QAction* item =
            NewAction(e.name, U(e.caption), e.shortcut, [this, column] { SetQuickSearchColumn(app_, column); });
        item->setCheckable(true);
        item->setData(static_cast<int>(column));
        quickSearchGroup_->addAction(item);
    }
    addActions(quickSearchGroup_->actions()); // the keys work without the pop-up open
}

void TFoliantoMainWindow::BuildMenus()
{
    QMenuBar* bar = menuBar();
    const auto addMenu = [this, bar](const char* caption, const char* name, std::initializer_list<const char*> names) {
        QMenu* menu = bar->addMenu(U(caption));
        menu->setObjectName(QLatin1String(name));
        AddEntries(menu, this, names);
        return menu;
    };
    fileMenu_ = addMenu("&Datei", "DateiMenu", {"DateiNeuAction", "OeffnenAction", "-"});
    AddEntries(fileMenu_->addMenu(U("&Importieren ...")), this,
               {"ImportFolAction", "ImportXlsAction", "ImportTxtAction", "ImportBibAction", "ImportRisAction",
                "ImportJsonAction"});
    AddEntries(fileMenu_->addMenu(U("&Exportieren ...")), this,
               {"ExportSpaltenXlsAction", "ExportXlsAction", "ExportListeAction", "ExportSpalteAction",
                "ExportBibAction", "ExportRisAction", "ExportJsonAction", "ExportZitierstilAction"});
    AddEntries(fileMenu_, this,
               {"-", "SpeichernAction", "SpeichernUnterAction", "-", "DruckenAction", "DruckereinrichtungAction", "-",
                "BeendenAction"});
    fixedFileEntries_ = static_cast<int>(fileMenu_->actions().size());
    addMenu("&Bearbeiten", "BearbeitenMenu",
            {"RueckgaengigAction", "WiederherstellenAction", "-", "ZwischenablageAction", "NotizblockAction", "-",
             "FilternAction", "VolltextsucheAction", "ErsetzenAction", "DoppelteAction", "-",
             "ListenAktualisierenAction"});
    addMenu("&Anzeigen", "AnzeigenMenu", {})->addActions(sortGroup_->actions());
    addMenu("&Titel", "TitelMenu",
            {"TitelNeuAction", "TitelKopierenAction", "TitelBearbeitenAction", "TitelAnsehenAction",
             "NachschlagenAction", "-", "TitelLoeschenAction"});
    QMenu* categoryMenu =
        addMenu("&Kategorie", "KategorieMenu", {"KategorieNeuAction", "KategorieBearbeitenAction", "KategorieLoeschenAction"});
    categoryMenu->menuAction()->setVisible(false);
    categoryMenu->menuAction()->setEnabled(false);
    addMenu("&Optionen", "OptionenMenu", {"OptionenAction"});
    addMenu("Hilfe", "HilfeMenu", {"HilfeAction", "InhaltAction", "SchnelleinstiegAction", "-", "InfoAction"});
}

void TFoliantoMainWindow::BuildToolBar()
{
    auto* toolBar = addToolBar(U("Werkzeuge"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(20, 20));
    for (const ToolEntry& e : ToolEntries) {
        QAction* action = Action(e.name);
        action->setToolTip(U(e.hint));
        if (e.icon == TextOnly) {
            action->setIconText(U(e.text));
        } else {
            action->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(e.icon)));
            action->setIconVisibleInMenu(false);
        }
        toolBar->addAction(action);
        if (e.icon == TextOnly)
            static_cast<QToolButton*>(toolBar->widgetForAction(action))->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
}

void TFoliantoMainWindow::BuildPopup()
{
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    const std::pair<const char*, const char*> titleEntries[] = {{"TitelBearbeitenAction", "Titel bearbeiten"},
                                                                {"TitelKopierenAction", "bestehenden Titel kopieren"},
                                                                {"TitelNeuAction", "neuen Titel erfassen"},
                                                                {"TitelLoeschenAction", "Titel löschen"}};
    for (const auto& [name, caption] : titleEntries) {
        QAction* action = Action(name);
        action->setProperty(PopupCaption, U(caption));
        action->setShortcutVisibleInContextMenu(false);
        popup_->addAction(action);
    }
    popup_->addSeparator();
    QMenu* sortMenu = popup_->addMenu(U("Sortieren nach ..."));
    sortMenu->addActions(sortGroup_->actions());
    popup_->addMenu(U("Schnellsuche in  ..."))->addActions(quickSearchGroup_->actions());
    UsePopupCaptions(popup_);
    UsePopupCaptions(sortMenu);
}

void TFoliantoMainWindow::UpdateActionStates()
{
    saveAction_->setEnabled(!app_.store.Gesichert());
    UpdateHistoryActions();
    Update_SortSpeedbuttons();
    SyncQuickSearchItems();
    Adjust_FileMenu();
}

void TFoliantoMainWindow::UpdateHistoryActions()
{
    const TitleHistory& history = app_.titleHistory;
    // "&Rückgängig: Titel löschen"; the bare verb when there is nothing to do.
    const auto show = [](QAction* action, const char* verb, bool can, const std::string& label) {
        action->setEnabled(can);
        const QString named = can && !label.empty() ? QStringLiteral(": ") + FromCp1252(label) : QString();
        action->setText(U(verb) + QString(named).replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setToolTip(action->text().remove(QLatin1Char('&')));
        action->setStatusTip(action->toolTip());
    };
    show(undoAction_, "&Rückgängig", history.CanUndo(), history.UndoLabel());
    show(redoAction_, "&Wiederherstellen", history.CanRedo(), history.RedoLabel());
}

void TFoliantoMainWindow::Update_SortSpeedbuttons()
{
    for (QAction* item : sortGroup_->actions())
        if (item->data().toInt() == app_.settings.BuchSort)
            item->setChecked(true);
}

void TFoliantoMainWindow::SyncQuickSearchItems()
{
    for (QAction* item : quickSearchGroup_->actions())
        if (item->data().toInt() == app_.selection.QuickSearchColumn)
            item->setChecked(true);
}

void TFoliantoMainWindow::Adjust_FileMenu()
{
    std::vector<std::string> captions = folianto::Adjust_FileMenu(app_);
    if (captions == historyCaptions_)
        return;
    historyCaptions_ = std::move(captions);
    QList<QAction*> entries = fileMenu_->actions();
    for (int i = static_cast<int>(entries.size()) - 1; i >= fixedFileEntries_; --i) {
        fileMenu_->removeAction(entries[i]);
        entries[i]->deleteLater(); // it may be the entry being triggered
    }
    if (historyCaptions_.empty())
        return;
    fileMenu_->addSeparator();
    int number = 0;
    for (const std::string& caption : historyCaptions_) {
        QAction* item = fileMenu_->addAction(FromCp1252(caption));
        item->setObjectName(QStringLiteral("Historie%1Action").arg(++number));
        connect(item, &QAction::triggered, this, [this, caption] {
            Run([this, &caption] {
                DoAutoItemClick(app_, caption, [](App& app, const std::string& path, std::string& errParam) {
                    return Load_Buch_Data(app, path, errParam);
                });
            });
        });
    }
}

} // namespace folianto
