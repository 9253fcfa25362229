#include "ui/exchange/CslBibliographyDialog.h"

#include "application/App.h"
#include "application/SettingsFile.h"
#include "config/IniFile.h"
#include "core/Codec.h"
#include "exchange/CslDialogModel.h"
#include "ui/help/HelpWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

namespace folianto {
namespace {

// A caption's text without its mnemonic, for the accessible name.
QString Plain(const QString& caption)
{
    QString text = caption;
    return text.remove(QLatin1Char('&'));
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(Plain(text).remove(QLatin1Char(':')));
    return label;
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(Plain(text));
    return button;
}

} // namespace

CslBibliographyDialog::CslBibliographyDialog(CslDialogModel& model, QWidget* parent)
    : QDialog(parent), model_(model)
{
    setObjectName(QStringLiteral("CslBibliographyDialog"));
    setWindowTitle(QStringLiteral("Literaturverzeichnis im Zitierstil"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildForm());
    layout->addLayout(BuildButtons());
    ExportButton->setDefault(true);
    BuildTimers();
    FillList();
    ConnectControls();
    if (const std::optional<CslStyle> style = model_.chosenStyle(); style && model_.currentRow() < 0)
        OwnFileLabel->setText(FromCp1252(model_.ownPath()));
    SchedulePreview();
    resize(720, 600);
}

QFormLayout* CslBibliographyDialog::BuildForm()
{
    auto* form = new QFormLayout;

    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setClearButtonEnabled(true);
    SearchEdit->setPlaceholderText(QStringLiteral("z. B. DIN, APA, Chicago, Harvard"));
    form->addRow(Caption(QStringLiteral("&Suchen:"), SearchEdit, this), SearchEdit);

    GermanFirstCheck = new QCheckBox(QStringLiteral("&Deutsche Stile zuerst"), this);
    GermanFirstCheck->setObjectName(QStringLiteral("GermanFirstCheck"));
    GermanFirstCheck->setAccessibleName(QStringLiteral("Deutsche Stile zuerst"));
    GermanFirstCheck->setChecked(model_.germanFirst());
    form->addRow(QString(), GermanFirstCheck);

    StyleList = new QListWidget(this);
    StyleList->setObjectName(QStringLiteral("StyleList"));
    StyleList->setMinimumHeight(220);
    form->addRow(Caption(QStringLiteral("&Zitierstil:"), StyleList, this), StyleList);

    auto* own = new QHBoxLayout;
    OwnFileButton = Button(QStringLiteral("&Eigene Stildatei..."), "OwnFileButton", this);
    OwnFileLabel = new QLabel(this);
    OwnFileLabel->setObjectName(QStringLiteral("OwnFileLabel"));
    own->addWidget(OwnFileButton);
    own->addWidget(OwnFileLabel, 1);
    form->addRow(QString(), own);

    FormatCombo = new QComboBox(this);
    FormatCombo->setObjectName(QStringLiteral("FormatCombo"));
    for (const std::string& caption : CslDialogModel::FormatCaptions())
        FormatCombo->addItem(FromCp1252(caption));
    FormatCombo->setCurrentIndex(model_.formatIndex());
    form->addRow(Caption(QStringLiteral("&Format:"), FormatCombo, this), FormatCombo);

    PreviewBrowser = new QTextBrowser(this);
    PreviewBrowser->setObjectName(QStringLiteral("PreviewBrowser"));
    PreviewBrowser->setMaximumHeight(110);
    form->addRow(Caption(QStringLiteral("&Vorschau:"), PreviewBrowser, this), PreviewBrowser);

    // What the clipboard button copies: the entry or the citation in the text, with a page.
    CitationCombo = new QComboBox(this);
    CitationCombo->setObjectName(QStringLiteral("CitationCombo"));
    for (const std::string& caption : CslDialogModel::CitationCaptions())
        CitationCombo->addItem(FromCp1252(caption));
    CitationCombo->setCurrentIndex(model_.citeInText() ? 1 : 0);
    form->addRow(Caption(QStringLiteral("Zi&tat:"), CitationCombo, this), CitationCombo);
    PageEdit = new QLineEdit(this);
    PageEdit->setObjectName(QStringLiteral("PageEdit"));
    PageEdit->setPlaceholderText(QStringLiteral("z. B. 12 oder 12-14"));
    PageEdit->setEnabled(model_.citeInText());
    form->addRow(Caption(QStringLiteral("Se&ite:"), PageEdit, this), PageEdit);
    CopiedLabel = new QLabel(this);
    CopiedLabel->setObjectName(QStringLiteral("CopiedLabel"));
    CopiedLabel->setWordWrap(true);
    CopiedLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString(), CopiedLabel);
    return form;
}

QHBoxLayout* CslBibliographyDialog::BuildButtons()
{
    auto* buttons = new QHBoxLayout;
    ClipboardButton = Button(QStringLiteral("Zitat in die Zwischen&ablage"), "ClipboardButton", this);
    ExportButton = Button(QStringLiteral("E&xportieren..."), "ExportButton", this);
    CloseButton = Button(QStringLiteral("S&chließen"), "CloseButton", this);
    HelpButton = Button(QStringLiteral("&Hilfe"), "HelpButton", this);
    buttons->addWidget(ClipboardButton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    buttons->addWidget(ExportButton);
    buttons->addWidget(CloseButton);
    return buttons;
}

void CslBibliographyDialog::BuildTimers()
{
    previewTimer_ = new QTimer(this);
    previewTimer_->setSingleShot(true);
    // Long enough for a key held down in the list; a run that a new row
    // makes stale is stopped anyway.
    previewTimer_->setInterval(150);
    connect(previewTimer_, &QTimer::timeout, this, &CslBibliographyDialog::StartPreview);
    collectTimer_ = new QTimer(this);
    collectTimer_->setInterval(25);
    connect(collectTimer_, &QTimer::timeout, this, &CslBibliographyDialog::CollectPreview);
}

void CslBibliographyDialog::ConnectControls()
{
    connect(SearchEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_.setSearch(ToCp1252(text));
        FillList();
        ShowSelection();
    });
    connect(GermanFirstCheck, &QCheckBox::toggled, this, [this](bool on) {
        model_.setGermanFirst(on);
        FillList();
        ShowSelection();
    });
    connect(CitationCombo, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        model_.setCiteInText(index == 1);
        PageEdit->setEnabled(index == 1);
    });
    connect(PageEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { model_.setPage(ToCp1252(text)); });
    connect(StyleList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        model_.setCurrentRow(row);
        OwnFileLabel->clear();
        SchedulePreview();
    });
    connect(FormatCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { model_.setFormatIndex(index); });
    connect(OwnFileButton, &QPushButton::clicked, this, &CslBibliographyDialog::ChooseOwnFile);
    connect(ClipboardButton, &QPushButton::clicked, this, &CslBibliographyDialog::CopyCitation);
    connect(ExportButton, &QPushButton::clicked, this, [this] {
        if (model_.exportBibliography())
            FormatCombo->setCurrentIndex(model_.formatIndex());
    });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HelpButton, &QPushButton::clicked, this, &CslBibliographyDialog::ShowHelp);
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    helpKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(helpKey, &QShortcut::activated, this, &CslBibliographyDialog::ShowHelp);
}

void RunCslBibliographyDialog(App& app, std::vector<CslStyle> styles, QWidget* parent)
{
    const std::string iniPath = IniFilePath(app);
    std::string bytes;
    const bool read = ReadFileBytes(iniPath, bytes);
    IniFile ini(bytes);
    CslChoice choice = ReadCslChoice(ini);
    CslDialogModel model(app, choice, std::move(styles));
    CslBibliographyDialog dialog(model, parent);
    dialog.exec();
    model.remember();
    // Only the dialog's section changes; an unreadable file is left alone.
    if (!read || !app.settings.SaveOption)
        return;
    WriteCslChoice(ini, choice);
    const QString folder = QFileInfo(PathFromCp1252(iniPath)).absolutePath();
    if (!QDir().mkpath(folder) || !WriteFileAtomically(iniPath, ini.Serialize()))
        app.ui.message(MsgKind::Warning, "nach " + iniPath + " kann nicht geschrieben werden", Buttons::Ok);
}

void CslBibliographyDialog::FillList()
{
    const QSignalBlocker block(StyleList);
    StyleList->clear();
    for (const CslStyle* style : model_.shown()) {
        auto* item = new QListWidgetItem(FromCp1252(style->Title), StyleList);
        item->setToolTip(FromCp1252(style->Name));
    }
    StyleList->setCurrentRow(model_.currentRow());
    if (model_.currentRow() >= 0)
        StyleList->scrollToItem(StyleList->currentItem());
}

void CslBibliographyDialog::ShowSelection()
{
    if (model_.currentRow() >= 0)
        OwnFileLabel->clear();
    SchedulePreview();
}

CslBibliographyDialog::~CslBibliographyDialog() = default;

void CslBibliographyDialog::SchedulePreview()
{
    previewJob_.reset(); // for a title or style no longer chosen
    collectTimer_->stop();
    previewTimer_->start();
}

void CslBibliographyDialog::StartPreview()
{
    previewTimer_->stop();
    std::string why;
    previewJob_ = model_.startPreview(why);
    if (previewJob_)
        collectTimer_->start();
    else
        ShowPreview({{}, {}, why});
}

void CslBibliographyDialog::CollectPreview()
{
    if (previewJob_ && !previewJob_->finished())
        return;
    collectTimer_->stop();
    if (previewJob_)
        ShowPreview(previewJob_->result());
    previewJob_.reset();
}

void CslBibliographyDialog::UpdatePreviewNow()
{
    StartPreview();
    if (previewJob_) {
        collectTimer_->stop();
        ShowPreview(previewJob_->result());
        previewJob_.reset();
    }
}

void CslBibliographyDialog::ShowPreview(const CitationText& citation)
{
    if (!citation.Error.empty())
        PreviewBrowser->setPlainText(FromCp1252(citation.Error));
    else
        PreviewBrowser->setHtml(QString::fromUtf8(citation.Html.data(), static_cast<int>(citation.Html.size())));
}

void CslBibliographyDialog::CopyCitation()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CitationText citation = model_.citationForClipboard();
    QApplication::restoreOverrideCursor();
    if (!citation.Error.empty()) {
        CopiedLabel->setText(FromCp1252(citation.Error));
        return;
    }
    CopiedLabel->setText(QStringLiteral("In der Zwischenablage: ") +
                         QString::fromUtf8(citation.Text.data(), static_cast<int>(citation.Text.size())));
    // Both forms: a word processor takes the HTML and keeps the italics.
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(citation.Text.data(), static_cast<int>(citation.Text.size())));
    data->setHtml(QString::fromUtf8(citation.Html.data(), static_cast<int>(citation.Html.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

void CslBibliographyDialog::ShowHelp()
{
    if (!help_)
        help_ = new HelpWindow(this); // a window of the dialog: usable while it is modal
    help_->ShowContext(HelpContext);
}

void CslBibliographyDialog::ChooseOwnFile()
{
    if (!model_.askOwnFile())
        return;
    const QSignalBlocker block(StyleList);
    StyleList->setCurrentRow(-1);
    OwnFileLabel->setText(FromCp1252(model_.ownPath()));
    SchedulePreview();
}

} // namespace folianto
