#include "ui/shell/MainWindow.h"

#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/TitleEditorModel.h"
#include "exchange/TextExport.h"
#include "exchange/TextImport.h"
#include "exchange/WorkbookExchange.h"
#include "selection/FilterDialogModel.h"
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
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/exchange/CslBibliographyDialog.h"
#include "ui/exchange/TxtImportDialog.h"
#include "ui/help/HelpWindow.h"
#include "ui/selection/FilterDialog.h"
#include "ui/shell/Startup.h"
#include "ui/shell/TitleGrid.h"
#include "selection/QuickSearch.h"
#include "selection/SearchLists.h"
#include "selection/Selection.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>

namespace folianto {

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

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

} // namespace

TFoliantoMainWindow::TFoliantoMainWindow(App& app, QWidget* parent) : QMainWindow(parent), app_(app)
{
    TraceScope trace("FoliantoMainWindow.FormCreate", "Version=" + app_.platform.ProgramVersion());
    setObjectName(QStringLiteral("FoliantoMainWindow"));
    setWindowTitle(QString());
    setProperty("HelpContext", HelpOverview);

    grid_ = new TitleGrid(app_, this);
    grid_->setProperty("HelpContext", HelpTitleGrid);
    setCentralWidget(grid_);

    CreateActions();
    BuildMenus();
    BuildToolBar();
    BuildPopup();
    BuildStatusBar();

    connect(grid_, &TitleGrid::CellClicked, this, [this] { GetCurrentBuch(app_); });
    connect(grid_, &TitleGrid::OpenRequested, Action("TitelBearbeitenAction"), &QAction::trigger);
    connect(grid_, &TitleGrid::EscapePressed, this, &TFoliantoMainWindow::ClearTypeAhead);
    connect(grid_, &TitleGrid::TypeAheadKey, this, &TFoliantoMainWindow::TypeAhead);
    connect(grid_, &TitleGrid::PopupRequested, this, [this](const QPoint& pos) { popup_->popup(pos); });

    // F1 is not the help entry's shortcut: its caption names the key already.
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, Action("HilfeAction"), &QAction::trigger);

    app_.grid.Listener = this;
    app_.titleHistory.SetChangeHook([this] { UpdateActionStates(); });
    app_.store.SetSavedHook([this] { saveAction_->setEnabled(!app_.store.Gesichert()); });
    InstallMeasurer();
    app_.grid.ResetToHeader();
    app_.columns.InitHeaders(app_.grid, true);
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
    app_.store.SetSavedHook({});
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
    app_.recovery.Flush(); // what a change outside the recorded steps made due
    WarnOfRecoveryFailure(app_);
    ShowHint(); // a command may change the file name without refilling the grid
    UpdateActionStates();
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

void TFoliantoMainWindow::ShowHint()
{
    const StatusPanels panels = folianto::ShowHint(app_);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i]->setText(FromCp1252(panels.Text[i]));
        panels_[i]->setFixedWidth(panels.Width[i]);
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
    // Unchanged titles, or no file yet: the user names the file.
    if (!app_.store.Gesichert() && HasPrintable(app_.DataFileName))
        folianto::FileSave(app_);
    else
        FileSaveAs();
}

void TFoliantoMainWindow::FileSaveAs()
{
    folianto::FileSaveAs(app_);
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
        editorModel_ = std::make_unique<TitleEditorModel>(app_);
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

void TFoliantoMainWindow::ImportWorkbook()
{
    Workbook workbook;
    ImportFromWorkbook(
        app_, workbook, [this](ImportDialogModel& model) { return TForm_TXT_Import::Run(model, this); },
        SystemNumberFormatter());
}

void TFoliantoMainWindow::ExportShownTitles()
{
    Workbook workbook;
    ExportGridToWorkbook(app_, workbook);
}

void TFoliantoMainWindow::ExportCslBibliography()
{
    std::vector<CslStyle> styles;
    {
        BusyCursor busy(app_.ui);
        styles = ListCslStyles();
    }
    RunCslBibliographyDialog(app_, std::move(styles), this);
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

void TFoliantoMainWindow::TypeAhead(char key)
{
    Run([this, key] { TypeAheadKey(app_, key); });
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
    return EndAllowed(app_);
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
