#pragma once
// The import dialog ("Folianto: Import-Filter") over its logic model.

#include <QDialog>

class QLabel;
class QLineEdit;
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

    QTabWidget* Pages;
    QSpinBox* KopfzeilenSpin;
    QLineEdit* TrennzeichenEdit;
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
    void LoadControls();
    void StoreControls();
    void OkClicked();
    void ResetClicked();

    ImportDialogModel& model_;
    bool activated_ = false;
};

} // namespace folianto
