#pragma once
// "Literaturverzeichnis im Zitierstil": the widgets over CslDialogModel.

#include "exchange/CslBibliography.h"
#include "ui/help/HelpTopics.h"

#include <QDialog>

#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QTimer;

namespace folianto {

struct App;
class CslDialogModel;
class HelpWindow;

// Opens the dialog over the styles; the choices it remembers are read from
// and written to the settings file.
void RunCslBibliographyDialog(App& app, std::vector<CslStyle> styles, QWidget* parent);

class CslBibliographyDialog : public QDialog {
    Q_OBJECT
public:
    explicit CslBibliographyDialog(CslDialogModel& model, QWidget* parent = nullptr);
    ~CslBibliographyDialog() override;

    // Sets the preview now instead of after the short pause that lets a user
    // scroll through the list without a pandoc run per row.
    void UpdatePreviewNow();

    QLineEdit* SearchEdit;
    QCheckBox* GermanFirstCheck;
    QListWidget* StyleList;
    QPushButton* OwnFileButton;
    QLabel* OwnFileLabel;
    QComboBox* FormatCombo;
    QTextBrowser* PreviewBrowser;
    QComboBox* CitationCombo;
    QLineEdit* PageEdit;
    QLabel* CopiedLabel;
    QPushButton* ClipboardButton;
    QPushButton* ExportButton;
    QPushButton* CloseButton;
    QPushButton* HelpButton;

    // Help page "Zitierstile und CSL-JSON" (F1 and the help button).
    static constexpr int HelpContext = HelpCitationStyles;

private:
    // The constructor's parts: the labelled controls, the button row, the
    // preview timers and the signals.
    QFormLayout* BuildForm();
    QHBoxLayout* BuildButtons();
    void BuildTimers();
    void ConnectControls();
    // The list after a search: the model's selection shown and scrolled to,
    // the preview following it.
    void FillList();
    void ShowSelection();
    // After the pause pandoc sets the preview while the dialog goes on; the
    // collecting timer looks for its end.
    void SchedulePreview();
    void StartPreview();
    void CollectPreview();
    void ShowPreview(const CitationText& citation);
    void CopyCitation();
    void ChooseOwnFile();
    void ShowHelp();

    CslDialogModel& model_;
    QTimer* previewTimer_;
    QTimer* collectTimer_;
    std::unique_ptr<CitationJob> previewJob_;
    HelpWindow* help_ = nullptr;
};

} // namespace folianto
