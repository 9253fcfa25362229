#pragma once
// The title editor dialog over its value model: five pages, the short key on
// top, OK and cancel below. The widget copies its controls into the model
// before every action and shows the model's values again afterwards.

#include "editor/BuchEditModel.h"
#include "ui/help/HelpTopics.h"

#include <QDialog>
#include <QHash>
#include <QString>

#include <array>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace folianto {

class HelpWindow;
class TKaufdatumBox;
class TSelectComboBox;
class PicturePage;

class TBuchEditDlg : public QDialog {
    Q_OBJECT
public:
    explicit TBuchEditDlg(BuchEditModel& model, QWidget* parent = nullptr);
    ~TBuchEditDlg() override;

    // Shows the model's values and runs the dialog; true when closed with OK.
    bool ShowModal();
    // The controls follow the model (values, lists, labels, panel, enabled state).
    void LoadFromModel();
    // The model takes the values of the controls.
    void StoreToModel();

    BuchEditModel& Model() const { return model_; }
    QWidget* Control(EditControl control) const { return controls_[static_cast<std::size_t>(control)]; }
    QTabWidget* Pages() const { return pages_; }
    QTabWidget* PictureTabs() const { return pictureTabs_; }
    QSize DesignedSize() const { return designedSize_; }

    // Help page of the editor.
    static constexpr int HelpContext = HelpTitleEditor;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildTopPanel();
    QWidget* BuildAutorTitelPage();
    QWidget* BuildBibliothekPage();
    QWidget* BuildSchlagwortePage();
    QWidget* BuildInternPage();
    QWidget* BuildBilderPage();
    void BuildBottomPanel();
    void Register(EditControl control, QWidget* widget);
    QLabel* BuddyLabel(EditControl control, QWidget* parent);
    QComboBox* ChoiceCombo(EditControl control, QWidget* parent);
    QLineEdit* LineEdit(EditControl control, QWidget* parent);
    QPlainTextEdit* Memo(EditControl control, QWidget* parent);
    void ConnectHandlers();

    // Text shown in a control, keeping the stored bytes while it is untouched.
    void ShowText(EditControl control, const std::string& bytes);
    std::string ReadText(EditControl control) const;
    void ShowChoice(EditControl control, const ChoiceBox& box, bool sorted = true);
    void ShowMultiSelect(EditControl control, const MultiSelectBox& box);
    void ReadMultiSelect(EditControl control, MultiSelectBox& box) const;
    void ApplyLabels();
    void ApplyPanel();
    void ApplyEnabled();
    void ApplyFocus();
    // Quelle is read-only while it is a link; a long text shows in full as its hint.
    void ApplyQuelleLink();
    void ShowKeywordSelection();

    // Event handlers that run a model rule.
    void OkClicked();
    void LeaveControl(EditControl control);
    void EnterControl(EditControl control);
    void TypeAhead(EditControl control);
    void LiteraturTypClicked(int typ);
    void VerleihstatusClicked(int index);
    void WiederverwendenClicked(bool ticked);
    void VerlinkenClicked();
    void QuelleDoubleClicked();
    void KeywordMemoChanged();
    void KeywordClicked();
    void TakeOverKeyword();
    bool FilterKey(EditControl control, QKeyEvent* event);
    void WalkFocus(EditControl from);
    void FocusControl(EditControl control);
    void PageChanged(int index);
    void ApplySizeRule();
    void ShowHelp();

    EditControl ControlOf(const QObject* object) const;
    EditPage CurrentPage() const;

    BuchEditModel& model_;
    std::array<QWidget*, EditControlCount> controls_{};
    std::array<QWidget*, EditControlCount> captions_{}; // label, group or the control itself
    struct ShownText {
        QString shown;
        std::string bytes;
    };
    std::array<ShownText, EditControlCount> shownTexts_{};
    std::array<std::vector<std::string>, EditControlCount> shownItems_{}; // model items last shown
    std::array<std::vector<std::size_t>, EditControlCount> displayOrder_{}; // shown entry -> model item
    QHash<const QObject*, EditControl> controlOf_;

    QTabWidget* pages_ = nullptr;
    QTabWidget* pictureTabs_ = nullptr;
    PicturePage* picturePage_ = nullptr;
    QGroupBox* groupBuecher_ = nullptr;
    QGroupBox* groupZeitschriften_ = nullptr;
    QGroupBox* groupAudioVisuell_ = nullptr;
    QGroupBox* groupSeiten_ = nullptr;
    QGroupBox* groupKuerzel_ = nullptr;
    QGroupBox* groupLiteraturTyp_ = nullptr;
    QGroupBox* groupVerleihstatus_ = nullptr;
    QButtonGroup* literaturTyp_ = nullptr;
    QButtonGroup* verleihstatus_ = nullptr;
    QLabel* verleihstatusLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* verlinkenButton_ = nullptr;
    QPushButton* lookupButton_ = nullptr; // "Nachschlagen" beside the ISBN
    HelpWindow* help_ = nullptr;
    QSize designedSize_;
    bool loading_ = false;  // the controls are being set from the model
    bool leaving_ = false;  // a leave rule is running (it may show a message)
};

} // namespace folianto
