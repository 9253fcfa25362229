#pragma once
// The import dialog ("Folianto: Import-Filter") over its logic model.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;

namespace folianto {

class ImportDialogModel;

class TForm_TXT_Import : public QDialog {
    Q_OBJECT
public:
    explicit TForm_TXT_Import(ImportDialogModel& model, QWidget* parent = nullptr);

    // Shows the dialog until it is confirmed with valid values or cancelled.
    static bool Run(ImportDialogModel& model, QWidget* parent);

    // The file of a text import: how it is read and its first lines.
    QLabel* DateiLabel = nullptr;
    QComboBox* ZeichensatzBox = nullptr;
    QLabel* ErkanntLabel = nullptr;
    QCheckBox* KopfzeileCheck = nullptr;
    QPlainTextEdit* VorschauText = nullptr;
    QTabWidget* Pages;
    QSpinBox* KopfzeilenSpin;
    QComboBox* TrennzeichenBox; // one character or "Tab"
    QLabel* HinweisLabel;
    QSpinBox* FirstRowSpin;
    QSpinBox* FirstColSpin;
    QSpinBox* AnzRowsSpin;
    QSpinBox* AnzColsSpin;
    QTableWidget* PositionTable;
    QLabel* NoteLabel;
    QPushButton* OKButton;
    QPushButton* AbbrechenButton;
    QPushButton* ResetButton;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Abbrechen or closing the window: the settings keep the control values.
    void reject() override;

private:
    QWidget* BuildFileGroup();
    QWidget* BuildGeneralPage();
    QWidget* BuildWorkbookPage();
    QWidget* BuildPositionGroup();
    QLayout* BuildButtonRow();
    void LoadControls();
    void StoreControls();
    void ShowPreview();
    void OkClicked();
    void ResetClicked();

    ImportDialogModel& model_;
    bool activated_ = false;
};

} // namespace folianto
