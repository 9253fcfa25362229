#pragma once
// "Folianto: Filtern, suchen und sortieren von (Buch-)Titeln" over its logic
// model; also the full-text search and the replace dialog.

#include "selection/FilterDialogModel.h"

#include <QDialog>

#include <array>

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace folianto {

struct App;
class CheckListAdapter;
class HelpWindow;
class PickListAdapter;

class TFiltern_Suchen_Sortieren_Dlg : public QDialog, private FilterDialogQuestions {
    Q_OBJECT
public:
    TFiltern_Suchen_Sortieren_Dlg(App& app, FilterDialogMode mode, QWidget* parent = nullptr);
    ~TFiltern_Suchen_Sortieren_Dlg() override;

    FilterDialogModel& Model() { return model_; }
    // The check list currently shown (filter sub-page, keywords or authors); -1 elsewhere.
    int VisibleCheckList() const;
    // Runs a check-list popup command on `list`, as the popup menu does.
    void RunPopupCommand(QAction* action, int list);

    QTabWidget* Pages;
    QLineEdit* SearchEdit;
    QLabel* NoteLabel;
    QListWidget* ListNames;
    QListView* ListEntries;
    QToolButton* TakeOverButton;
    std::array<QCheckBox*, 10> SearchBoxes{}; // in the order shown
    QLabel* ReplaceLabel;
    QLineEdit* ReplaceEdit;
    QCheckBox* CaseBox;
    QGroupBox* FilterGroup;
    QTabWidget* FilterPages;
    std::array<QListView*, CheckListCount> CheckLists{}; // by CheckListId
    QGroupBox* OpenDefGroup;
    QListWidget* DefaultsList;
    QPushButton* BenutzenButton;
    QPushButton* StandardButton;
    QMenu* CheckListPopup;
    QAction *SelectAllAction, *SelectNoneAction, *InvertAction, *SaveSetAction, *LoadSetAction;
    QMenu* FilterPopup;
    QAction *RefillKeywordsAction, *RefillFiltersAction;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<int> RadioChoice(const std::vector<std::string>& choices, int preselected) override;
    std::optional<std::string> InputText(const std::string& label) override;
    std::optional<std::string> PickOne(const std::string& caption, const std::string& noun,
                                       const std::vector<std::string>& entries) override;

    QWidget* BuildSearchPage();
    QWidget* BuildFilterPage();
    QWidget* BuildDefaultsPage();
    QListView* NewCheckList(int list, const QString& name, QWidget* parent);
    void ShowCheckListPopup(int list, const QPoint& globalPos);
    void ApplyMode();
    // The widgets show the model's state.
    void LoadFromModel();
    void RefreshCheckLists();
    void PageChanged(int page);
    void FocusPageControl();
    void ShowHelp();

    App& app_;
    FilterDialogModel model_;
    std::array<CheckListAdapter*, CheckListCount> adapters_{};
    PickListAdapter* pickAdapter_ = nullptr;
    QButtonGroup* openDefButtons_ = nullptr;
    HelpWindow* help_ = nullptr;
    bool activated_ = false;
    bool loading_ = false;
};

} // namespace folianto
