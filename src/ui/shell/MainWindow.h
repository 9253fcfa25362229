#pragma once
// The main window: menus, tool bar, title grid, status bar. Each command is
// one named QAction, shared by the menus, the tool bar and the pop-up menu.

#include "workspace/GridModel.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace folianto {

struct App;
struct PickItem;
class TitleEditorModel;
enum class FilterDialogMode;
class HelpWindow;
class TBuchEditDlg;
class TitleEditorView;
class TitleGrid;

class TFoliantoMainWindow : public QMainWindow, private GridListener {
    Q_OBJECT
public:
    explicit TFoliantoMainWindow(App& app, QWidget* parent = nullptr);
    ~TFoliantoMainWindow() override;

    // Start-up: opens `startFile` (as "Öffnen..." does), else the last file
    // when so configured, and builds the grid.
    void InitBuchStringGrid(const std::string& startFile = {});
    // Close query: true when the window may close.
    bool FormCloseQuery();
    // The file history entries of the File menu.
    void Adjust_FileMenu();
    // Exactly the sort action of the current order is checked (menu item,
    // pop-up item and tool button alike).
    void Update_SortSpeedbuttons();
    // Every action's enabled and checked state, its caption where it names
    // the step to undo, and the file history entries, from the model.
    void UpdateActionStates();
    // Status bar texts.
    void ShowHint();
    // Everything the logic may have changed: grid, status bar, actions.
    void RefreshFromLogic();

    TitleGrid* Grid() const { return grid_; }
    QAction* SaveAction() const { return saveAction_; }
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* PopupMenu() const { return popup_; }
    QLabel* StatusPanel(int i) const { return panels_[static_cast<std::size_t>(i)]; }
    HelpWindow* Help();
    // The title editor: one for the whole run, made at start-up (or on first use).
    TBuchEditDlg& TitleEditor();

    // Shows the help page of a context number.
    void ShowHelpContext(int context);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The view follows the logic grid.
    void GridReset() override;
    void CurrentChanged() override;
    void StatusChanged() override;

    void InstallMeasurer();
    void AfterCommand();
    // MainActions.cpp: the actions, and where they are placed.
    void CreateActions();
    void CreateChoiceActions();
    QAction* NewAction(const char* name, const QString& caption, const char* shortcut,
                       std::function<void()> command);
    QAction* Action(const char* name) const;
    void BuildMenus();
    void BuildToolBar();
    void BuildPopup();
    void BuildStatusBar();
    // Runs a command; afterwards the widgets follow the logic.
    void Run(const std::function<void()>& command);

    void FileOpen();
    void FileMerge();
    void FileSave();
    void FileSaveAs();
    void FileNew();
    void TitleDelete();
    void TitleOpen();
    void TitleNew();
    void TitleEdit(bool copy);
    void TitleView();
    // The undo and redo entries say what they would take back or do again.
    void UpdateHistoryActions();
    void ImportWorkbook();
    void ExportShownTitles();
    void ExportCslBibliography();
    void SetSort(int order);
    std::optional<int> PickColumn(const std::vector<PickItem>& items);
    void SyncQuickSearchItems();
    // The options dialog; after OK the grid refreshes what the changes need.
    void ShowOptions();
    void ShowAbout();
    void ShowInspector(bool columns);
    void ChooseQuickSearch(int choice);
    // The filter dialog in one of its modes, then the refresh or the replacement.
    void OpenFilterDialog(FilterDialogMode mode);
    void TypeAhead(char key);
    void ClearTypeAhead();

    App& app_;
    TitleGrid* grid_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QActionGroup* sortGroup_ = nullptr;
    QActionGroup* quickSearchGroup_ = nullptr;
    int fixedFileEntries_ = 0;
    std::vector<std::string> historyCaptions_; // the file history entries shown
    // From opening the filter dialog to the end of its own refresh: an
    // activation meanwhile must not refresh (and report) a second time.
    bool filterDialogRunning_ = false;
    std::array<QLabel*, 5> panels_{};
    HelpWindow* help_ = nullptr;
    std::unique_ptr<TitleEditorModel> editorModel_;
    TBuchEditDlg* editor_ = nullptr;
    std::unique_ptr<TitleEditorView> editorView_;
};

} // namespace folianto
