#include "ui/exchange/TxtImportDialog.h"

#include "core/Codec.h"
#include "exchange/ImportDialogModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace folianto {

namespace {

constexpr int PositionColumn = 1;

constexpr int PreviewLineCount = 5;

// A label whose control is its buddy and is named by it, without the
// mnemonic and the trailing " =" or colon.
QLabel* Caption(const QString& text, QWidget* control)
{
    auto* label = new QLabel(text, control->parentWidget());
    label->setBuddy(control);
    QString spoken = QString(text).remove(QLatin1Char('&')).trimmed();
    while (spoken.endsWith(QLatin1Char('=')) || spoken.endsWith(QLatin1Char(':')))
        spoken = spoken.left(spoken.size() - 1).trimmed();
    control->setAccessibleName(spoken);
    return label;
}

QSpinBox* Spin(int low, int high, QWidget* parent, const char* name)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(low, high);
    return spin;
}

// Editors of the position cells pass every key through the dialog's filter.
class PositionDelegate : public QStyledItemDelegate {
public:
    PositionDelegate(QObject* filter, QObject* parent) : QStyledItemDelegate(parent), filter_(filter) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->installEventFilter(filter_);
        return editor;
    }

private:
    QObject* filter_;
};

} // namespace

TForm_TXT_Import::TForm_TXT_Import(ImportDialogModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setObjectName(QStringLiteral("Form_TXT_Import"));
    setWindowTitle(FromCp1252(ImportDialogModel::Caption()));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    if (model_.HasTextFile())
        layout->addWidget(BuildFileGroup());

    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("PageControl"));
    Pages->addTab(BuildGeneralPage(), QStringLiteral("&allgemeine Einstellungen"));
    Pages->addTab(BuildWorkbookPage(), QStringLiteral("Import aus &Excel"));
    layout->addWidget(Pages);
    layout->addWidget(BuildPositionGroup(), 1);
    NoteLabel = new QLabel(QStringLiteral("HINWEISE: Die Spalten-Positionsangaben müssen GRÖSSER  Null sein, Angaben GLEICH "
                                          "Null bedeuten, dass die Information NICHT in der Import-Textdatei enthalten ist."),
                           this);
    NoteLabel->setObjectName(QStringLiteral("NoteLabel"));
    NoteLabel->setWordWrap(true);
    layout->addWidget(NoteLabel);
    layout->addLayout(BuildButtonRow());

    const bool workbook = model_.WorkbookPageVisible();
    Pages->setTabVisible(1, workbook);
    Pages->setTabEnabled(1, workbook);
    for (QSpinBox* s : {FirstRowSpin, FirstColSpin, AnzRowsSpin, AnzColsSpin})
        s->setEnabled(workbook);
    KopfzeilenSpin->setEnabled(model_.HeaderLinesEnabled());
    HinweisLabel->setText(FromCp1252(model_.HintText()));
    Pages->setCurrentIndex(0);
    LoadControls();
    ShowPreview();
    resize(560, model_.HasTextFile() ? 680 : 600);
}

QWidget* TForm_TXT_Import::BuildGeneralPage()
{
    auto* general = new QWidget(Pages);
    auto* generalLayout = new QVBoxLayout(general);
    auto* form = new QFormLayout;
    KopfzeilenSpin = Spin(0, 100, general, "KopfzeilenSpin");
    form->addRow(Caption(QStringLiteral("Anzahl zu überlesender Kopfzeilen = "), KopfzeilenSpin), KopfzeilenSpin);
    // One character typed, or "Tab" picked from the list.
    TrennzeichenBox = new QComboBox(general);
    TrennzeichenBox->setObjectName(QStringLiteral("TrennzeichenBox"));
    TrennzeichenBox->setEditable(true);
    TrennzeichenBox->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& choice : ImportDialogModel::DelimiterChoices())
        TrennzeichenBox->addItem(FromCp1252(choice));
    TrennzeichenBox->lineEdit()->setMaxLength(3);
    TrennzeichenBox->setMaximumWidth(80);
    form->addRow(Caption(QStringLiteral("Trennzeichen zwischen den Infor. ="), TrennzeichenBox), TrennzeichenBox);
    TrennzeichenBox->lineEdit()->setAccessibleName(TrennzeichenBox->accessibleName());
    generalLayout->addLayout(form);
    HinweisLabel = new QLabel(general);
    HinweisLabel->setObjectName(QStringLiteral("HinweisLabel"));
    HinweisLabel->setWordWrap(true);
    generalLayout->addWidget(HinweisLabel);
    generalLayout->addStretch();
    return general;
}

QWidget* TForm_TXT_Import::BuildWorkbookPage()
{
    auto* excel = new QWidget(Pages);
    auto* excelForm = new QFormLayout(excel);
    FirstRowSpin = Spin(1, 2000, excel, "FirstRowSpin");
    FirstColSpin = Spin(1, 2000, excel, "FirstColSpin");
    AnzRowsSpin = Spin(0, 2000, excel, "AnzRowsSpin");
    AnzColsSpin = Spin(0, 2000, excel, "AnzColsSpin");
    excelForm->addRow(QStringLiteral("erste zu lesende Zeile: "), FirstRowSpin);
    excelForm->addRow(QStringLiteral("erste zu lesende Spalte: "), FirstColSpin);
    excelForm->addRow(QStringLiteral("Anzahl zu lesender Zeilen: "), AnzRowsSpin);
    excelForm->addRow(QStringLiteral("Anzahl zu lesender Spalten: "), AnzColsSpin);
    return excel;
}

QWidget* TForm_TXT_Import::BuildPositionGroup()
{
    auto* group = new QGroupBox(QStringLiteral(" Informations-Positionen "), this);
    auto* groupLayout = new QVBoxLayout(group);
    PositionTable = new QTableWidget(ImportDialogModel::RowCount, 2, group);
    PositionTable->setObjectName(QStringLiteral("PositionTable"));
    PositionTable->setHorizontalHeaderLabels({QStringLiteral("Eintrag"), QStringLiteral("Position")});
    PositionTable->verticalHeader()->hide();
    PositionTable->verticalHeader()->setDefaultSectionSize(PositionTable->fontMetrics().height() + 4);
    PositionTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    PositionTable->setColumnWidth(PositionColumn, 80);
    PositionTable->setSelectionMode(QAbstractItemView::SingleSelection);
    PositionTable->setEditTriggers(QAbstractItemView::AllEditTriggers);
    PositionTable->setItemDelegateForColumn(PositionColumn, new PositionDelegate(this, PositionTable));
    PositionTable->setMinimumHeight(160); // it scrolls: the dialog fits on a 768 pixel screen
    groupLayout->addWidget(PositionTable);
    return group;
}

QLayout* TForm_TXT_Import::BuildButtonRow()
{
    OKButton = new QPushButton(QStringLiteral("&OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    AbbrechenButton = new QPushButton(QStringLiteral("&Abbrechen"), this);
    AbbrechenButton->setObjectName(QStringLiteral("AbbrechenButton"));
    ResetButton = new QPushButton(QStringLiteral("&Reset"), this);
    ResetButton->setObjectName(QStringLiteral("ResetButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {OKButton, AbbrechenButton, ResetButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    connect(OKButton, &QPushButton::clicked, this, &TForm_TXT_Import::OkClicked);
    connect(AbbrechenButton, &QPushButton::clicked, this, &TForm_TXT_Import::reject);
    connect(ResetButton, &QPushButton::clicked, this, &TForm_TXT_Import::ResetClicked);
    return buttons;
}

QWidget* TForm_TXT_Import::BuildFileGroup()
{
    auto* group = new QGroupBox(QStringLiteral(" Datei "), this);
    group->setObjectName(QStringLiteral("GroupBoxDatei"));
    auto* form = new QFormLayout(group);
    DateiLabel = new QLabel(PathFromCp1252(model_.FileName()), group);
    DateiLabel->setObjectName(QStringLiteral("DateiLabel"));
    DateiLabel->setWordWrap(true);
    DateiLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(Caption(QStringLiteral("Datei:"), DateiLabel), DateiLabel);

    ZeichensatzBox = new QComboBox(group);
    ZeichensatzBox->setObjectName(QStringLiteral("ZeichensatzBox"));
    ZeichensatzBox->addItem(QStringLiteral("UTF-8"));                 // TextEncoding::Utf8
    ZeichensatzBox->addItem(QStringLiteral("Windows-1252 (ANSI)"));   // TextEncoding::Windows1252
    ErkanntLabel = new QLabel(FromCp1252(model_.EncodingNote()), group);
    ErkanntLabel->setObjectName(QStringLiteral("ErkanntLabel"));
    auto* encodingRow = new QHBoxLayout;
    encodingRow->addWidget(ZeichensatzBox);
    encodingRow->addWidget(ErkanntLabel, 1);
    form->addRow(Caption(QStringLiteral("&Zeichensatz:"), ZeichensatzBox), encodingRow);

    KopfzeileCheck = new QCheckBox(QStringLiteral("Spalten nach der &Kopfzeile der Datei zuordnen"), group);
    KopfzeileCheck->setObjectName(QStringLiteral("KopfzeileCheck"));
    KopfzeileCheck->setAccessibleName(QStringLiteral("Spalten nach der Kopfzeile der Datei zuordnen"));
    form->addRow(KopfzeileCheck);

    VorschauText = new QPlainTextEdit(group);
    VorschauText->setObjectName(QStringLiteral("VorschauText"));
    VorschauText->setReadOnly(true);
    VorschauText->setLineWrapMode(QPlainTextEdit::NoWrap);
    VorschauText->setFixedHeight(VorschauText->fontMetrics().lineSpacing() * (PreviewLineCount + 1) + 8);
    form->addRow(Caption(QStringLiteral("&Vorschau:"), VorschauText), VorschauText);

    connect(ZeichensatzBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        StoreControls();
        model_.SetEncoding(index == 0 ? TextEncoding::Utf8 : TextEncoding::Windows1252);
        LoadControls();
        ShowPreview();
    });
    connect(KopfzeileCheck, &QCheckBox::toggled, this, [this](bool on) {
        StoreControls();
        model_.SetUseHeaderLine(on);
        LoadControls();
    });
    return group;
}

void TForm_TXT_Import::ShowPreview()
{
    if (!VorschauText)
        return;
    QStringList lines;
    for (const std::string& line : model_.PreviewLines(PreviewLineCount))
        lines << FromCp1252(line);
    VorschauText->setPlainText(lines.join(QLatin1Char('\n')));
}

bool TForm_TXT_Import::Run(ImportDialogModel& model, QWidget* parent)
{
    TForm_TXT_Import dialog(model, parent);
    return dialog.exec() == QDialog::Accepted;
}

void TForm_TXT_Import::LoadControls()
{
    KopfzeilenSpin->setValue(model_.Kopfzeilen);
    TrennzeichenBox->setCurrentText(FromCp1252(model_.Delimiter));
    if (ZeichensatzBox) {
        const QSignalBlocker blockEncoding(ZeichensatzBox);
        ZeichensatzBox->setCurrentIndex(model_.Encoding == TextEncoding::Utf8 ? 0 : 1);
        const QSignalBlocker blockHeader(KopfzeileCheck);
        KopfzeileCheck->setVisible(model_.HeaderLineOffered());
        KopfzeileCheck->setChecked(model_.UseHeaderLine());
    }
    FirstRowSpin->setValue(model_.FirstRow);
    FirstColSpin->setValue(model_.FirstCol);
    AnzRowsSpin->setValue(model_.AnzRows);
    AnzColsSpin->setValue(model_.AnzCols);
    for (int r = 0; r < ImportDialogModel::RowCount; ++r) {
        auto* entry = new QTableWidgetItem(FromCp1252(model_.EntryText(r)));
        entry->setFlags(Qt::ItemIsEnabled);
        PositionTable->setItem(r, 0, entry);
        auto* position = new QTableWidgetItem(FromCp1252(model_.Positions[static_cast<std::size_t>(r)]));
        position->setFlags(ImportDialogModel::RowEditable(r) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                                             : Qt::NoItemFlags);
        PositionTable->setItem(r, PositionColumn, position);
    }
}

void TForm_TXT_Import::StoreControls()
{
    model_.Kopfzeilen = KopfzeilenSpin->value();
    model_.Delimiter = ToCp1252(TrennzeichenBox->currentText());
    model_.FirstRow = FirstRowSpin->value();
    model_.FirstCol = FirstColSpin->value();
    model_.AnzRows = AnzRowsSpin->value();
    model_.AnzCols = AnzColsSpin->value();
    for (int r = 0; r < ImportDialogModel::RowCount; ++r)
        if (ImportDialogModel::RowEditable(r))
            model_.Positions[static_cast<std::size_t>(r)] = ToCp1252(PositionTable->item(r, PositionColumn)->text());
}

void TForm_TXT_Import::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    if (!activated_) {
        activated_ = true;
        model_.Activate();
    }
}

void TForm_TXT_Import::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) // Escape does not close this dialog
        return;
    QDialog::keyPressEvent(event);
}

bool TForm_TXT_Import::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* editor = qobject_cast<QLineEdit*>(watched);
        const QString typed = key->text();
        if (editor && typed.size() == 1) {
            const QChar c = typed.at(0);
            const char k = c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\0';
            if (!ImportDialogModel::AcceptsKey(ToCp1252(editor->text()), k))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_TXT_Import::OkClicked()
{
    StoreControls();
    if (model_.Ok())
        accept();
}

void TForm_TXT_Import::reject()
{
    StoreControls();
    model_.Cancel();
    QDialog::reject();
}

void TForm_TXT_Import::ResetClicked()
{
    StoreControls();
    model_.Reset();
    LoadControls();
}

} // namespace folianto
