#include "ui/shell/MainWindow.h"

#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/BuchEditModel.h"
#include "exchange/BibTexExport.h"
#include "exchange/BibTexImport.h"
#include "exchange/CslDialogModel.h"
#include "exchange/CslJson.h"
#include "exchange/EntryFormatter.h"
#include "exchange/RisExport.h"
#include "exchange/RisImport.h"
#include "exchange/TextExport.h"
#include "exchange/TextImport.h"
#include "exchange/WorkbookExchange.h"
#include "selection/FilterDialogModel.h"
#include "selection/QuickSearch.h"
#include "application/App.h"
#include "application/BuchData.h"
#include "application/Recovery.h"
#include "application/SemaphoreFile.h"
#include "application/FileCommands.h"
#include "application/FileHistoryCommands.h"
#include "shell/MainCommands.h"
#include "shell/OptionsApply.h"
#include "application/StatusBar.h"
#include "shell/TitleCommands.h"
#include "spreadsheet/Workbook.h"
#include "ui/config/OptionenForm.h"
#include "ui/diag/TraceForm.h"
#include "ui/lookup/LookupWindow.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/exchange/CslBibliographyDialog.h"
#include "ui/exchange/TxtImportDialog.h"
#include "ui/help/HelpWindow.h"
#include "ui/selection/DuplicateList.h"
#include "ui/selection/FilterDialog.h"
#include "ui/shell/Startup.h"
#include "ui/shell/TitleGrid.h"
#include "selection/Selection.h"
#include "selection/SearchLists.h"

#include <QAbstractEventDispatcher>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace folianto {

namespace {

constexpr int SortCount = 8;
constexpr int QuickSearchCount = 3;

// Sort orders in the order of the "&Anzeigen" menu and the popup menu.
struct SortEntry {
    int order;
    const char* menuCaption;
    Qt::Key key;
    const char* popupCaption;
};
constexpr SortEntry SortEntries[SortCount] = {
    {7, "nach &Kürzel", Qt::Key_K, "Kürzel"},
    {0, "nach &Titel", Qt::Key_T, "Titel"},
    {1, "nach &Autor", Qt::Key_A, "Autor"},
    {2, "nach Kate&gorie", Qt::Key_G, "Kategorie"},
    {5, "nach T&yp", Qt::Key_Y, "Typ"},
    {3, "nach S&prache", Qt::Key_P, "Sprache"},
    {4, "nach &Besitzer", Qt::Key_B, "Besitzer"},
    {6, "in &Eingabereihenfolge", Qt::Key_E, "Eingabe-Reihenfolge"},
};

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QKeySequence Ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }

// The title commands' view of the editor and the grid.
class EditorView : public TitleEditorView {
public:
    EditorView(TBuchEditDlg& editor, TitleGrid& grid) : editor_(editor), grid_(grid) {}
    bool ShowModal() override { return editor_.ShowModal(); }
    int GridTopRow() const override { return grid_.TopRow(); }
    void ScrollGridTo(int topRow) override { grid_.verticalScrollBar()->setValue(topRow - 1); }

private:
    TBuchEditDlg& editor_;
    TitleGrid& grid_;
};

// Help contexts of the main window's parts.
constexpr int HelpContextGrid = 100;
constexpr int HelpContextMain = 1;

} // namespace

TFoliantoMainWindow::TFoliantoMainWindow(App& app, QWidget* parent) : QMainWindow(parent), app_(app)
{
    TraceScope trace("FoliantoMainWindow.FormCreate", "Version=" + app_.platform.ProgramVersion());
    setObjectName(QStringLiteral("FoliantoMainWindow"));
    setWindowTitle(QString());
    setProperty("HelpContext", HelpContextMain);

    grid_ = new TitleGrid(app_, this);
    grid_->setProperty("HelpContext", HelpContextGrid);
    setCentralWidget(grid_);

    BuildMenus();
    BuildToolBar();
    BuildPopup();
    BuildStatusBar();

    // Idle handler: whenever the event loop is about to wait.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TFoliantoMainWindow::IdleCheck);

    connect(grid_, &TitleGrid::CellClicked, this, [this] { GetCurrentBuch(app_); });
    connect(grid_, &TitleGrid::OpenRequested, this, [this] { Run([this] { TitleOpen(); }); });
    connect(grid_, &TitleGrid::EscapePressed, this, &TFoliantoMainWindow::ClearTypeAhead);
    connect(grid_, &TitleGrid::TypeAheadKey, this, &TFoliantoMainWindow::TypeAhead);
    connect(grid_, &TitleGrid::PopupRequested, this, [this](const QPoint& pos) { popup_->popup(pos); });

    auto* titleInspector = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F10), this);
    connect(titleInspector, &QShortcut::activated, this, [this] { ShowInspector(false); });
    auto* columnInspector = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_F10), this);
    connect(columnInspector, &QShortcut::activated, this, [this] { ShowInspector(true); });
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this, [this] { ShowHelpContext(FocusHelpContext(this)); });

    app_.grid.Listener = this;
    app_.titleHistory.SetChangeHook([this] { UpdateHistoryActions(); });
    UpdateHistoryActions();
    InstallMeasurer();
    app_.grid.ResetToHeader();
    app_.columns.InitHeaders(app_.grid, true);
    if (!HasPrintable(app_.DataFileName))
        saveAction_->setEnabled(false);
    Update_SortSpeedbuttons();
    app_.columns.Resort_BuchString_Headers_and_Pos(app_.grid);
    RefreshFromLogic();
    resize(1000, 680);
    app_.grid.ViewWidth = width(); // until the grid is shown and knows its own
    app_.DataVerMain = -1;
    app_.DataVerMinor = -1;
}

TFoliantoMainWindow::~TFoliantoMainWindow()
{
    app_.grid.Listener = nullptr;
    app_.titleHistory.SetChangeHook({});
    delete editor_; // before the model it works on
}

void TFoliantoMainWindow::InstallMeasurer()
{
    // Per-byte advances of the grid's font: widths of Windows-1252 texts.
    const QFontMetrics metrics(grid_->font());
    int advances[256];
    for (int c = 0; c < 256; ++c)
        advances[c] = metrics.horizontalAdvance(FromCp1252(std::string(1, static_cast<char>(c))));
    app_.grid.SetMeasurer(std::make_shared<CharTableMeasurer>(advances));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        app_.grid.ScreenWidth = screen->size().width();
}

QAction* TFoliantoMainWindow::AddAction(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                                         std::function<void()> handler)
{
    QAction* action = menu->addAction(caption);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] { Run(handler); });
    return action;
}

void TFoliantoMainWindow::BuildMenus()
{
    QMenuBar* bar = menuBar();

    fileMenu_ = bar->addMenu(U("&Datei"));
    fileMenu_->setObjectName(QStringLiteral("DateiMenu"));
    AddAction(fileMenu_, U("&Neu"), {}, [this] { FileNew(); });
    AddAction(fileMenu_, U("Ö&ffnen..."), {}, [this] { FileOpen(); });
    fileMenu_->addSeparator();
    QMenu* importMenu = fileMenu_->addMenu(U("&Importieren ..."));
    AddAction(importMenu, U("aus &Folianto-Datei (*.FOL)"), {}, [this] { FileMerge(); });
    const ImportDialogRunner importDialog = [this](ImportDialogModel& model) {
        return TForm_TXT_Import::Run(model, this);
    };
    AddAction(importMenu, U("aus E&xcel-Datei (*.XLS)"), {}, [this, importDialog] {
        Workbook workbook;
        ImportFromWorkbook(app_, workbook, importDialog, SystemNumberFormatter());
    });
    AddAction(importMenu, U("aus &Text-Datei (*.TXT)"), {}, [this, importDialog] { ImportFromText(app_, importDialog); });
    AddAction(importMenu, U("aus &BibTeX-Datei (*.BIB)"), {}, [this] { ImportFromBibTex(app_); });
    AddAction(importMenu, U("aus &RIS-Datei (*.RIS)"), {}, [this] { ImportFromRis(app_); });
    AddAction(importMenu, U("aus CSL-&JSON-Datei (*.JSON)"), {}, [this] { ImportFromCslJson(app_); });
    QMenu* exportMenu = fileMenu_->addMenu(U("&Exportieren ..."));
    AddAction(exportMenu, U("der angezeigten Spalten in &Excel-Datei (*.XLS)"), {}, [this] { ExportShownTitles(); });
    AddAction(exportMenu, U("in Excel-Datei (*.XLS) gemäß Export-Definition"), {}, [this] {
        Workbook workbook;
        ExportDefinitionToWorkbook(app_, workbook);
    });
    AddAction(exportMenu, U("in &Literaturliste (*.TXT) gemäß Export-Definition"), {},
              [this] { ExportLiteratureList(app_); });
    AddAction(exportMenu, U("einer Spalte in Textdatei (*.TXT)"), {}, [this] {
        ExportColumn(app_, [this](const std::vector<PickItem>& items) { return PickColumn(items); });
    });
    AddAction(exportMenu, U("in BibTeX-Datei"), {}, [this] { ExportToBibTex(app_); });
    AddAction(exportMenu, U("in RIS-Datei"), {}, [this] { ExportToRis(app_); });
    AddAction(exportMenu, U("in CSL-JSON-Datei"), {}, [this] { ExportToCslJson(app_); });
    AddAction(exportMenu, U("Literaturverzeichnis im Zitierstil..."), {}, [this] {
        std::vector<CslStyle> styles;
        {
            BusyCursor busy(app_.ui);
            styles = ListCslStyles();
        }
        RunCslBibliographyDialog(app_, std::move(styles), this);
    });
    fileMenu_->addSeparator();
    saveAction_ = AddAction(fileMenu_, U("&Speichern"), Ctrl(Qt::Key_S), [this] { FileSave(); });
    AddAction(fileMenu_, U("Speichern &unter..."), Ctrl(Qt::Key_U), [this] { FileSaveAs(); });
    fileMenu_->addSeparator();
    for (const char* caption : {"&Drucken...", "Drucker&einrichtung..."}) {
        QAction* hidden = AddAction(fileMenu_, U(caption), {}, {});
        hidden->setVisible(false);
        hidden->setEnabled(false);
    }
    fileMenu_->addSeparator();
    AddAction(fileMenu_, U("&Beenden"), {}, [this] { close(); });
    fixedFileEntries_ = static_cast<int>(fileMenu_->actions().size());

    QMenu* editMenu = bar->addMenu(U("&Bearbeiten"));
    editMenu->setObjectName(QStringLiteral("BearbeitenMenu"));
    // Ctrl+Y sorts by type, so redo takes the other usual key. A dialog's
    // text field keeps both keys: these act in the main window only.
    undoAction_ = AddAction(editMenu, U("&Rückgängig"), Ctrl(Qt::Key_Z), [this] {
        if (UndoTitleChange(app_) && app_.store.Gesichert()) // back at the saved state
            SavedState();
    });
    undoAction_->setObjectName(QStringLiteral("RueckgaengigAction"));
    redoAction_ = AddAction(editMenu, U("&Wiederherstellen"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                            [this] {
                                if (RedoTitleChange(app_) && app_.store.Gesichert())
                                    SavedState();
                            });
    redoAction_->setObjectName(QStringLiteral("WiederherstellenAction"));
    editMenu->addSeparator();
    AddAction(editMenu, U("Eintrag in die Zwischenablage kopieren"), {}, [this] { CopyEntryToClipboard(app_); });
    QAction* notes = AddAction(editMenu, U("Notizblock öffnen"), {}, {});
    notes->setVisible(false);
    notes->setEnabled(false);
    editMenu->addSeparator();
    AddAction(editMenu, U("&Filtern, suchen und sortieren"), Ctrl(Qt::Key_F),
              [this] { OpenFilterDialog(FilterDialogMode::Normal); });
    AddAction(editMenu, U("&Volltextsuche"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F),
              [this] { OpenFilterDialog(FilterDialogMode::Search); });
    AddAction(editMenu, U("&Ersetzen"), Ctrl(Qt::Key_H), [this] { OpenFilterDialog(FilterDialogMode::Replace); });
    AddAction(editMenu, U("&Doppelte Titel suchen"), {}, [this] { RunDuplicateFinder(app_, this); });
    editMenu->addSeparator();
    AddAction(editMenu, U("alle internen Listen aktualisieren"), {}, [this] { Fill_AllLists(app_); });

    QMenu* viewMenu = bar->addMenu(U("&Anzeigen"));
    viewMenu->setObjectName(QStringLiteral("AnzeigenMenu"));
    auto* sortGroup = new QActionGroup(this);
    for (const SortEntry& e : SortEntries) {
        const int order = e.order;
        QAction* item = AddAction(viewMenu, U(e.menuCaption), Ctrl(e.key), [this, order] { SetSort(order); });
        item->setCheckable(true);
        sortGroup->addAction(item);
        sortMenuItems_[static_cast<std::size_t>(order)] = item;
    }

    QMenu* titleMenu = bar->addMenu(U("&Titel"));
    titleMenu->setObjectName(QStringLiteral("TitelMenu"));
    AddAction(titleMenu, U("&Neu eingeben"), Ctrl(Qt::Key_N), [this] { TitleNew(); });
    AddAction(titleMenu, U("&Kopieren"), {}, [this] { TitleEdit(true); });
    AddAction(titleMenu, U("&Bearbeiten"), {}, [this] { TitleOpen(); });
    AddAction(titleMenu, U("&Ansehen"), {}, [this] { TitleView(); });
    AddAction(titleMenu, U("Nach &ISBN/DOI aufnehmen..."), {}, [this] { RunLookupWindow(app_, this); })
        ->setObjectName(QStringLiteral("NachschlagenAction"));
    titleMenu->addSeparator();
    AddAction(titleMenu, U("&Löschen"), QKeySequence(Qt::Key_Delete), [this] { TitleDelete(); });

    QMenu* categoryMenu = bar->addMenu(U("&Kategorie"));
    for (const char* caption : {"&Neu", "&Bearbeiten", "&Löschen"})
        AddAction(categoryMenu, U(caption), {}, {})->setEnabled(false);
    categoryMenu->menuAction()->setVisible(false);
    categoryMenu->menuAction()->setEnabled(false);

    QMenu* optionsMenu = bar->addMenu(U("&Optionen"));
    optionsMenu->setObjectName(QStringLiteral("OptionenMenu"));
    AddAction(optionsMenu, U("allgemeine &Optionen"), Ctrl(Qt::Key_O), [this] { ShowOptions(); });

    QMenu* helpMenu = bar->addMenu(U("Hilfe"));
    helpMenu->setObjectName(QStringLiteral("HilfeMenu"));
    AddAction(helpMenu, U("Hilfe   -    F1"), {}, [this] { ShowHelpContext(FocusHelpContext(this)); });
    AddAction(helpMenu, U("&Inhaltsübersicht"), {}, [this] { Help()->ShowContents(); });
    AddAction(helpMenu, U("&Schnelleinstieg"), {}, [this] { ShowHelpContext(303); });
    helpMenu->addSeparator();
    AddAction(helpMenu, U("&Info über Folianto"), {}, [this] { ShowAbout(); });
}

QToolButton* TFoliantoMainWindow::AddButton(const QString& hint, const QIcon& icon, const QString& text,
                                             std::function<void()> handler)
{
    auto* button = new QToolButton(this);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    if (icon.isNull()) {
        button->setText(text);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    } else {
        button->setIcon(icon);
    }
    if (handler)
        connect(button, &QToolButton::clicked, this, [this, handler = std::move(handler)] { Run(handler); });
    findChild<QToolBar*>(QStringLiteral("ToolBar"))->addWidget(button);
    return button;
}

void TFoliantoMainWindow::BuildToolBar()
{
    auto* toolBar = addToolBar(U("Werkzeuge"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(20, 20));
    QStyle* s = style();
    auto sortButton = [this](int order, const QString& hint, const QString& text) {
        QToolButton* b = AddButton(hint, {}, text, [this, order] { SetSort(order); });
        b->setCheckable(true);
        sortButtons_[static_cast<std::size_t>(order)] = b;
    };
    AddButton(U("Buchdatei öffnen"), s->standardIcon(QStyle::SP_DialogOpenButton), {}, [this] { FileOpen(); });
    saveButton_ = AddButton(U("Buchdatei speichern"), s->standardIcon(QStyle::SP_DialogSaveButton), {},
                            [this] { FileSave(); });
    saveButton_->setEnabled(false);
    AddButton(U("neue Buchdatei anlegen"), s->standardIcon(QStyle::SP_FileIcon), {}, [this] { FileNew(); });
    AddButton(U("Literatur filtern, suchen und sortieren"), s->standardIcon(QStyle::SP_FileDialogContentsView), {},
              [this] { OpenFilterDialog(FilterDialogMode::Normal); });
    AddButton(U("Folianto-Programmoptionen"), s->standardIcon(QStyle::SP_FileDialogDetailedView), {},
              [this] { ShowOptions(); });
    AddButton(U("neues Buch eingeben"), s->standardIcon(QStyle::SP_FileDialogNewFolder), {}, [this] { TitleNew(); });
    sortButton(0, U("sortieren nach Buchtiteln"), U("Titel"));
    sortButton(1, U("sortieren nach Autoren"), U("Autor"));
    sortButton(2, U("sortieren nach Kategorie"), U("Kat."));
    sortButton(5, U("sortieren nach Typ"), U("Typ"));
    sortButton(3, U("sortieren nach Sprache"), U("Spr."));
    sortButton(4, U("sortieren nach Eigentümer"), U("Bes."));
    AddButton(U("Folianto beenden"), s->standardIcon(QStyle::SP_DialogCloseButton), {}, [this] { close(); });
    AddButton(U("Info über Folianto"), s->standardIcon(QStyle::SP_MessageBoxInformation), {}, [this] { ShowAbout(); });
    QToolButton* note = AddButton(U("Notiz erstellen oder ändern"), {}, U("Notiz"), {});
    note->setEnabled(false);
    findChild<QToolBar*>(QStringLiteral("ToolBar"))->actions().last()->setVisible(false);
    sortButton(6, U("unsortiert = in der Reihenfolge der Eingabe"), U("Eing."));
    sortButton(7, U("nach Kürzel sortieren"), U("Kürzel"));
    AddButton(U("angezeigte Titel nach Excel exportieren"), {}, U("XLS"), [this] { ExportShownTitles(); });
    AddButton(U("aktuellen Eintrag ins Clipboard kopieren"), {}, U("Clip"), [this] { CopyEntryToClipboard(app_); });
    AddButton(U("Volltext-Suche"), {}, U("Volltext"), [this] { OpenFilterDialog(FilterDialogMode::Search); });
    AddButton(U("Filtern-und-Suchen-Einstellungen zurücksetzen"), s->standardIcon(QStyle::SP_BrowserReload), {},
              [this] { ResetFilterAndSearch(app_); });
}

void TFoliantoMainWindow::BuildPopup()
{
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    AddAction(popup_, U("Titel bearbeiten"), {}, [this] { TitleOpen(); });
    AddAction(popup_, U("bestehenden Titel kopieren"), {}, [this] { TitleEdit(true); });
    AddAction(popup_, U("neuen Titel erfassen"), {}, [this] { TitleNew(); });
    AddAction(popup_, U("Titel löschen"), {}, [this] { TitleDelete(); });
    popup_->addSeparator();
    QMenu* sortMenu = popup_->addMenu(U("Sortieren nach ..."));
    auto* sortGroup = new QActionGroup(this);
    for (const SortEntry& e : SortEntries) {
        const int order = e.order;
        QAction* item = AddAction(sortMenu, U(e.popupCaption), {}, [this, order] { SetSort(order); });
        item->setCheckable(true);
        sortGroup->addAction(item);
        sortPopupItems_[static_cast<std::size_t>(order)] = item;
    }
    QMenu* quickMenu = popup_->addMenu(U("Schnellsuche in  ..."));
    auto* quickGroup = new QActionGroup(this);
    const std::pair<const char*, Qt::Key> quick[QuickSearchCount] = {
        {"Titeln", Qt::Key_T}, {"Autoren", Qt::Key_A}, {"Kategorien", Qt::Key_K}};
    for (int i = 0; i < QuickSearchCount; ++i) {
        QAction* item = AddAction(quickMenu, U(quick[i].first), QKeySequence(Qt::CTRL | Qt::ALT | quick[i].second),
                                  [this, i] { ChooseQuickSearch(i); });
        item->setCheckable(true);
        item->setChecked(i == 0);
        quickGroup->addAction(item);
        addAction(item); // the shortcuts work without the menu open
        quickSearchItems_[static_cast<std::size_t>(i)] = item;
    }
}

void TFoliantoMainWindow::BuildStatusBar()
{
    const int widths[5] = {200, 50, 50, 50, 50};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFixedWidth(widths[i]);
        statusBar()->addWidget(panel);
        panels_[static_cast<std::size_t>(i)] = panel;
    }
    statusBar()->setSizeGripEnabled(true);
}

void TFoliantoMainWindow::Run(const std::function<void()>& command)
{
    // An exception ends the command; the program goes on (the event loop's
    // handler catches what escapes elsewhere).
    try {
        command();
    } catch (const std::exception& e) {
        AppException(app_, e.what());
    }
    AfterCommand();
}

void TFoliantoMainWindow::AfterCommand()
{
    WarnOfRecoveryFailure(app_);
    ShowHint(); // a command may change the file name without refilling the grid
    Update_SortSpeedbuttons();
    Adjust_FileMenu();
    IdleCheck();
}

void TFoliantoMainWindow::RefreshFromLogic()
{
    grid_->SyncFromModel();
    AfterCommand();
}

void TFoliantoMainWindow::GridReset()
{
    grid_->SyncFromModel();
    if (editorModel_) // the editor's labels follow the column headers
        editorModel_->AdjustLabelsFromHeaders(app_.columns);
}

void TFoliantoMainWindow::CurrentChanged()
{
    grid_->SetCurrentCell(app_.grid.Col, app_.grid.Row);
}

void TFoliantoMainWindow::StatusChanged()
{
    ShowHint();
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

void TFoliantoMainWindow::IdleCheck()
{
    app_.recovery.Flush();
    if (!app_.store.Gesichert() && (!saveAction_->isEnabled() || !saveButton_->isEnabled())) {
        saveAction_->setEnabled(true);
        saveButton_->setEnabled(true);
    }
}

void TFoliantoMainWindow::Update_SortSpeedbuttons()
{
    const int order = app_.settings.BuchSort;
    for (int i = 0; i < SortCount; ++i) {
        const bool on = i == order;
        sortMenuItems_[static_cast<std::size_t>(i)]->setChecked(on);
        sortPopupItems_[static_cast<std::size_t>(i)]->setChecked(on);
        sortButtons_[static_cast<std::size_t>(i)]->setChecked(on);
    }
}

void TFoliantoMainWindow::ShowHint()
{
    const StatusPanels panels = folianto::ShowHint(app_);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i]->setText(FromCp1252(panels.Text[i]));
        panels_[i]->setFixedWidth(panels.Width[i]);
    }
}

void TFoliantoMainWindow::Adjust_FileMenu()
{
    QList<QAction*> entries = fileMenu_->actions();
    for (int i = static_cast<int>(entries.size()) - 1; i >= fixedFileEntries_; --i) {
        fileMenu_->removeAction(entries[i]);
        delete entries[i];
    }
    const std::vector<std::string> captions = folianto::Adjust_FileMenu(app_);
    if (captions.empty())
        return;
    fileMenu_->addSeparator();
    for (const std::string& caption : captions) {
        QAction* item = fileMenu_->addAction(FromCp1252(caption));
        connect(item, &QAction::triggered, this, [this, caption] {
            Run([this, &caption] {
                DoAutoItemClick(app_, caption, [](App& app, const std::string& path, std::string& errParam) {
                    return Load_Buch_Data(app, path, errParam);
                });
            });
        });
    }
}

void TFoliantoMainWindow::InitBuchStringGrid(const std::string& startFile)
{
    TraceScope trace("FoliantoMainWindow.InitBuchStringGrid");
    // Unsaved changes of an earlier run come before any file.
    const bool recovered = OfferWaitingRecoveries(app_);
    if (recovered) {
        // that catalogue is open
    } else if (!startFile.empty()) {
        folianto::FileOpenPath(app_, startFile);
    } else if (app_.settings.OpenFileAtStart) {
        std::string errParam;
        if (!Load_Buch_Data(app_, app_.DataFileName, errParam))
            app_.ui.message(MsgKind::Warning, GetErrorText(app_.store.FehlerNr, errParam), Buttons::Ok);
        else
            GetCurrentBuch(app_);
    }
    // The views, told of the new headers, may take the title under their
    // old cursor as the current one.
    const int32_t current = app_.store.ActBuch;
    app_.columns.ColumnsMoved = true;
    app_.columns.InitHeaders(app_.grid, true);
    app_.store.ActBuch = current;
    Update_SortSpeedbuttons();
    Adjust_FileMenu();
    app_.grid.Col = 1;
    if (!app_.recovery.Following())
        app_.recovery.Follow({}); // no file opened: a new catalogue's changes
    if (recovered)
        Fill_AllLists(app_);
    ShowOpenedTitles(app_);
    RefreshFromLogic();
}

void TFoliantoMainWindow::FileOpen()
{
    folianto::FileOpen(app_);
}

void TFoliantoMainWindow::FileMerge()
{
    folianto::FileMerge(app_);
}

void TFoliantoMainWindow::FileSave()
{
    if (saveAction_->isEnabled() && HasPrintable(app_.DataFileName)) {
        if (folianto::FileSave(app_))
            SavedState();
    } else {
        FileSaveAs();
    }
}

void TFoliantoMainWindow::FileSaveAs()
{
    if (folianto::FileSaveAs(app_))
        SavedState();
}

void TFoliantoMainWindow::SavedState()
{
    saveAction_->setEnabled(false);
    saveButton_->setEnabled(false);
}

void TFoliantoMainWindow::FileNew()
{
    if (!FormCloseQuery())
        return;
    NewDatabase(app_);
}

void TFoliantoMainWindow::TitleDelete()
{
    DeleteCurrentTitle(app_);
}

TBuchEditDlg& TFoliantoMainWindow::TitleEditor()
{
    if (!editor_) {
        editorModel_ = std::make_unique<BuchEditModel>(app_);
        editorModel_->AdjustLabelsFromHeaders(app_.columns);
        editor_ = new TBuchEditDlg(*editorModel_, this);
        editorView_ = std::make_unique<EditorView>(*editor_, *grid_);
    }
    return *editor_;
}

void TFoliantoMainWindow::TitleOpen()
{
    TitleEditor();
    GridDoubleClick(app_, *editorModel_, *editorView_);
}

void TFoliantoMainWindow::TitleNew()
{
    TitleEditor();
    NewTitle(app_, *editorModel_, *editorView_);
}

void TFoliantoMainWindow::TitleEdit(bool copy)
{
    TitleEditor();
    EditTitle(app_, *editorModel_, *editorView_, copy);
}

void TFoliantoMainWindow::TitleView()
{
    TitleEditor();
    ViewTitle(app_, *editorModel_, *editorView_);
}

void TFoliantoMainWindow::ExportShownTitles()
{
    Workbook workbook;
    ExportGridToWorkbook(app_, workbook);
}

void TFoliantoMainWindow::SetSort(int order)
{
    SetBuchSort(app_, static_cast<uint8_t>(order));
}

std::optional<int> TFoliantoMainWindow::PickColumn(const std::vector<PickItem>& items)
{
    TForm_Select_From_List dialog(app_.ui, this);
    dialog.setWindowTitle(U("Auswahl der Spalte"));
    QStringList entries;
    std::vector<bool> enabled;
    for (const PickItem& item : items) {
        entries << FromCp1252(item.Text);
        enabled.push_back(item.Enabled);
    }
    dialog.SetEntries(entries, enabled);
    dialog.SetSingleChoice(true);
    dialog.SetNoun(U("E Spalte")); // "es kann nur EINE Spalte ausgewählt werden"
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::vector<int> checked = dialog.CheckedIndices();
    if (checked.empty())
        return std::nullopt;
    return checked.front();
}

void TFoliantoMainWindow::OpenFilterDialog(FilterDialogMode mode)
{
    filterDialogRunning_ = true;
    const auto done = qScopeGuard([this] { filterDialogRunning_ = false; });
    bool confirmed = false;
    {
        TFiltern_Suchen_Sortieren_Dlg dialog(app_, mode, this);
        confirmed = dialog.exec() == QDialog::Accepted;
    }
    AfterFilterDialog(app_, mode, confirmed);
}

void TFoliantoMainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The filter dialog left settings that no refresh has shown yet. The flag
    // goes first: a message of the refresh must not start another one.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && app_.selection.FSS_Changed &&
        !filterDialogRunning_ && !QApplication::activeModalWidget()) {
        app_.selection.FSS_Changed = false;
        Run([this] { SetAusgabeData(app_); });
    }
}

void TFoliantoMainWindow::ChooseQuickSearch(int choice)
{
    SetQuickSearchColumn(app_, choice);
    SyncQuickSearchItems();
}

void TFoliantoMainWindow::SyncQuickSearchItems()
{
    for (int i = 0; i < QuickSearchCount; ++i)
        quickSearchItems_[static_cast<std::size_t>(i)]->setChecked(i == app_.selection.QuickSearchColumn);
}

void TFoliantoMainWindow::TypeAhead(char key)
{
    Run([this, key] { TypeAheadKey(app_, key); });
    SyncQuickSearchItems();
}

void TFoliantoMainWindow::ClearTypeAhead()
{
    Run([this] { ResetTypeAhead(app_); });
}

void TFoliantoMainWindow::ShowOptions()
{
    OptionsDialogModel model(OptionsDataOf(app_));
    TOptionenForm form(model, app_.ui, this);
    if (form.exec() != QDialog::Accepted)
        return;
    ApplyOptions(app_, model.Result());
    if (editorModel_) // AdjustLabels may have been switched on without a header change
        editorModel_->AdjustLabelsFromHeaders(app_.columns);
}

void TFoliantoMainWindow::ShowAbout()
{
    TUeberForm about(FromCp1252(app_.platform.ProgramVersion()), this);
    about.exec();
}

void TFoliantoMainWindow::ShowInspector(bool columns)
{
    if (columns)
        TTraceForm::ShowColumns(app_, this);
    else
        TTraceForm::ShowTitle(app_, this);
}

HelpWindow* TFoliantoMainWindow::Help()
{
    if (!help_)
        help_ = new HelpWindow(this);
    return help_;
}

void TFoliantoMainWindow::ShowHelpContext(int context)
{
    Help()->ShowContext(context);
}

bool TFoliantoMainWindow::FormCloseQuery()
{
    TraceScope trace("FoliantoMainWindow.FormCloseQuery");
    if (app_.store.Gesichert())
        return true;
    const bool allowed = EndAllowed(app_);
    if (app_.store.Gesichert()) // saved on request: nothing left to save
        SavedState();
    return allowed;
}

void TFoliantoMainWindow::closeEvent(QCloseEvent* event)
{
    bool allowed = false;
    Run([this, &allowed] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    {
        TraceScope trace("FoliantoMainWindow.FormClose", "Version=" + app_.platform.ProgramVersion());
        EraseSemaphoreFile(app_, app_.DataFileName);
        app_.recovery.Leave(app_.store.Gesichert());
    }
    if (help_)
        help_->close();
    event->accept();
}

} // namespace folianto
