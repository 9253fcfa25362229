#pragma once
// The options dialog ("Folianto: Optionen") over its logic model.

#include "ui/help/HelpTopics.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace folianto {

class HelpWindow;
class OptionsDialogModel;
class UserInteraction;

class TOptionenForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = HelpOptions;

    TOptionenForm(OptionsDialogModel& model, UserInteraction& ui, QWidget* parent = nullptr);

    QTabWidget* Pages;
    // "allgemeine Optionen"
    QCheckBox *OpenFileAtStartCheck, *SaveDirCheck, *SaveOptionCheck, *KuerzelZwangCheck;
    QComboBox *TypCombo, *SpracheCombo, *BesitzerCombo;
    QSpinBox* HistryLgthPrzSpin;
    QLabel* InfoLabel;
    // "Anzeige-Optionen"
    QRadioButton *SortRadio0, *SortRadio1;
    QLineEdit* SortLengthEdit;
    QCheckBox *CaseSensitiveSortCheck, *ShowAllMsgCheck, *ShowOnlyFirstLineCheck;
    QRadioButton *ListsRadio, *AutoFillRadio;
    QCheckBox* UseMaxColWidthCheck;
    QLineEdit* MaxColWidthEdit;
    QCheckBox* AutoOptColWidthCheck;
    // "Spalten-Anzeige"
    QListWidget* ColumnList;
    // "Header festlegen"
    QListWidget *InfoList, *HeaderList;
    QLineEdit* HeaderEdit;
    QCheckBox* AdjustLabelsCheck;
    // "Bilder"
    QRadioButton *PicThumbnailRadio, *PicNaturalRadio, *PicDoubleClickRadio, *PicAutoRadio;
    // "Export-Auswahl"
    QListWidget* ExportList;
    QToolButton *UpButton, *DownButton;
    QCheckBox* VorgegExportCheck;

    QPushButton *OKButton, *AbbrechenButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildDisplayPage();
    QWidget* BuildColumnsPage();
    QWidget* BuildHeadersPage();
    QWidget* BuildPicturesPage();
    QWidget* BuildExportPage();
    void LoadControls();
    void StoreControls();
    void ShowExportLines();
    void MoveExportLine(int delta);
    void SelectHeaderLine(int line);
    void OkClicked();

    OptionsDialogModel& model_;
    UserInteraction& ui_;
    HelpWindow* help_ = nullptr;
    bool syncingHeaders_ = false;
};

} // namespace folianto
