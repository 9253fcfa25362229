#pragma once
// The title editor dialog over its value model: five pages, the short key on
// top, OK and cancel below. The widget copies its controls into the model
// before every action and shows the model's values again afterwards; each
// page builds, shows and reads its own controls.

#include "editor/TitleEditorModel.h"
#include "ui/editor/EditorControls.h"
#include "ui/help/HelpTopics.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QPushButton;
class QTabWidget;

namespace folianto {

class AutorTitelPage;
class BibliothekPage;
class HelpWindow;
class InternPage;
class PicturePage;
class SchlagwortePage;

class TBuchEditDlg : public QDialog {
    Q_OBJECT
public:
    explicit TBuchEditDlg(TitleEditorModel& model, QWidget* parent = nullptr);
    ~TBuchEditDlg() override;

    // Shows the model's values and runs the dialog; true when closed with OK.
    bool ShowModal();
    // The controls follow the model (values, lists, labels, panel, enabled state).
    void LoadFromModel();
    // The model takes the values of the controls.
    void StoreToModel();

    TitleEditorModel& Model() const { return model_; }
    QWidget* Control(EditControl control) const { return controls_.Control(control); }
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
    void BuildBottomPanel();
    void ConnectHandlers();
    void ConnectKaufdatum();

    void ApplyEnabled();
    void ApplyFocus();

    // Event handlers that run a model rule.
    void OkClicked();
    void LeaveControl(EditControl control);
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

    EditPage CurrentPage() const;
    QCheckBox* CheckBox(EditControl control) const;

    TitleEditorModel& model_;
    EditorControls controls_;
    QTabWidget* pages_ = nullptr;
    AutorTitelPage* autorTitelPage_ = nullptr;
    BibliothekPage* bibliothekPage_ = nullptr;
    SchlagwortePage* schlagwortePage_ = nullptr;
    InternPage* internPage_ = nullptr;
    PicturePage* picturePage_ = nullptr;
    QTabWidget* pictureTabs_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    HelpWindow* help_ = nullptr;
    QSize designedSize_;
    bool loading_ = false;  // the controls are being set from the model
    bool leaving_ = false;  // a leave rule is running (it may show a message)
};

} // namespace folianto
