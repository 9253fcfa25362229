#include "ui/editor/BuchEditDlg.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "editor/PictureLinks.h"
#include "ui/editor/KaufdatumBox.h"
#include "ui/editor/PicturePage.h"
#include "ui/editor/Memo.h"
#include "ui/editor/SelectComboBox.h"
#include "ui/help/HelpWindow.h"
#include "ui/lookup/EditorLookupDialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <unordered_map>

namespace folianto {

namespace {

using C = EditControl;

constexpr std::size_t Idx(EditControl c) { return static_cast<std::size_t>(c); }

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr int PictureTabCount = 10;
constexpr int MemoMinHeight = 30;
constexpr int SplitterMinHeight = 60;

const char* const LiteraturTypItems[TypCount] = {
    "&Monographie", "&Hochschulschrift", "&Sammelwerk", "Sammelwerk&beitrag", "&Zeitschriftenaufsatz",
    "Zeitungs&artikel", "Audio&visuelles Material", "&graue Literatur", "&unklar",
};
const char* const VerleihstatusItems[4] = {"&vorhanden", "&verliehen an ...", "&ausgeliehen aus ...",
                                           "zukünftig &besorgen"};

QString Hint(EditControl c) { return FromCp1252(ControlHint(c)); }

// A caption as a screen reader reads it: without the mnemonic mark, the
// blanks around it and a final colon ("Ort:" names the field "Ort").
QString AccessibleText(const QString& caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && ++i >= caption.size())
            break;
        text += caption.at(i);
    }
    text = text.trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

QString WidgetText(const QWidget* w)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->currentText();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(w))
        return memo->toPlainText();
    return {};
}

void SetWidgetText(QWidget* w, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->setEditText(text);
    else if (auto* memo = qobject_cast<TMemo*>(w))
        memo->SetText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        plain->setPlainText(text);
}

QLineEdit* LineEditOf(QWidget* w)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit;
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->lineEdit();
    return nullptr;
}

// Focus changes that do not mean the user left a control.
bool Passing(const QFocusEvent* event)
{
    return event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason;
}

bool IsChoiceBox(EditControl c)
{
    switch (c) {
    case C::ComboBoxZeitschrift: case C::ComboBoxSerie: case C::ComboBoxVerlag: case C::ComboBoxOrt:
    case C::ComboBoxSprache: case C::ComboBoxTyp: case C::ComboBoxOwner: case C::ComboBoxStandort: case C::ComboBoxKategorie:
        return true;
    default:
        return false;
    }
}

bool IsDigitsOnly(EditControl c)
{
    return c == C::AusgabeEdit || c == C::FirstEditionEdit || c == C::EditionYearEdit;
}

// The key as the key filters see it: a Windows-1252 character, '\b' for
// Backspace, '\r' for Enter; 0 for keys that type nothing.
char KeyChar(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace: return '\b';
    case Qt::Key_Return:
    case Qt::Key_Enter: return '\r';
    default: break;
    }
    const QList<uint> chars = event->text().toUcs4();
    if (chars.size() != 1 || !QChar::isPrint(chars[0]))
        return 0;
    const std::string bytes = ToCp1252(event->text());
    // A character of another script is stored as a reference: to the key
    // filters it is neither a digit nor a separator.
    return bytes.size() == 1 ? bytes[0] : '?';
}

} // namespace

TBuchEditDlg::TBuchEditDlg(BuchEditModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    TraceScope trace("BuchEditDlg.FormCreate");
    setObjectName(QStringLiteral("BuchEditDlg"));
    setModal(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("HelpContext", HelpContext);

    auto* layout = new QVBoxLayout(this);
    BuildTopPanel();
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl"));
    pages_->addTab(BuildAutorTitelPage(), U("Autor / Titel"));
    pages_->addTab(BuildBibliothekPage(), U("bibliothekarisches"));
    pages_->addTab(BuildSchlagwortePage(), U("Schlagworte, Inhalt, Bemerkungen"));
    pages_->addTab(BuildInternPage(), U("interne Zuordnung und anderes"));
    pages_->addTab(BuildBilderPage(), U("Bilder"));
    layout->addWidget(pages_, 1);
    BuildBottomPanel();
    ConnectHandlers();

    // Every group is shown now: the designed size has room for all of them,
    // up to what a 1366x768 screen holds; beyond that the pages scroll.
    const QSize full = minimumSizeHint().expandedTo(QSize(800, 560));
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("PageScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    layout->replaceWidget(pages_, scroll);
    scroll->setWidget(pages_);
    designedSize_ = full.boundedTo(QSize(1300, 700));
    resize(designedSize_);
    LoadFromModel();
}

TBuchEditDlg::~TBuchEditDlg() = default;

// ---------------------------------------------------------------------------
// Building

void TBuchEditDlg::Register(EditControl control, QWidget* widget)
{
    controls_[Idx(control)] = widget;
    widget->setObjectName(QString::fromLatin1(ControlName(control)));
    widget->installEventFilter(this);
    controlOf_.insert(widget, control);
    if (!captions_[Idx(control)])
        captions_[Idx(control)] = widget;
}

QLabel* TBuchEditDlg::BuddyLabel(EditControl control, QWidget* parent)
{
    auto* label = new QLabel(FromCp1252(model_.Label(control)), parent);
    label->setObjectName(QString::fromLatin1(ControlName(control)) + QStringLiteral("Label"));
    captions_[Idx(control)] = label;
    return label;
}

QComboBox* TBuchEditDlg::ChoiceCombo(EditControl control, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr); // completion follows the search lists
    combo->setMaxVisibleItems(8);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(12);
    Register(control, combo);
    return combo;
}

QLineEdit* TBuchEditDlg::LineEdit(EditControl control, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    Register(control, edit);
    return edit;
}

QPlainTextEdit* TBuchEditDlg::Memo(EditControl control, QWidget* parent)
{
    auto* memo = new TMemo(parent);
    memo->setMinimumHeight(MemoMinHeight);
    Register(control, memo);
    return memo;
}

void TBuchEditDlg::BuildTopPanel()
{
    groupKuerzel_ = new QGroupBox(FromCp1252(model_.Label(C::EditKuerzel)), this);
    groupKuerzel_->setObjectName(QStringLiteral("GroupBoxKuerzel"));
    captions_[Idx(C::EditKuerzel)] = groupKuerzel_;
    auto* row = new QHBoxLayout(groupKuerzel_);
    QLineEdit* kuerzel = LineEdit(C::EditKuerzel, groupKuerzel_);
    kuerzel->setMinimumWidth(220);
    row->addWidget(kuerzel);
    row->addSpacing(24);
    auto* kopieren = new QCheckBox(FromCp1252(model_.Label(C::CheckBoxKopieren)), groupKuerzel_);
    kopieren->setToolTip(Hint(C::CheckBoxKopieren));
    Register(C::CheckBoxKopieren, kopieren);
    row->addWidget(kopieren);
    row->addStretch();
    static_cast<QVBoxLayout*>(layout())->addWidget(groupKuerzel_);
}

QWidget* TBuchEditDlg::BuildAutorTitelPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheetAutorTitel"));
    auto* grid = new QGridLayout(page);
    int row = 0;
    const auto addRow = [&](EditControl c, QWidget* field) {
        QLabel* label = BuddyLabel(c, page);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    for (EditControl c : {C::ComboBoxAutor, C::ComboBoxHerausgeber}) {
        auto* box = new TSelectComboBox(page);
        Register(c, box);
        addRow(c, box);
    }
    addRow(C::TitelEdit, LineEdit(C::TitelEdit, page));
    addRow(C::AltTitelEdit, LineEdit(C::AltTitelEdit, page));
    addRow(C::OrgTitelEdit, LineEdit(C::OrgTitelEdit, page));
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* TBuchEditDlg::BuildBibliothekPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheetBibliothek"));
    auto* columns = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;

    // The type group comes first in the focus order (Tab from the short key).
    groupLiteraturTyp_ = new QGroupBox(FromCp1252(model_.Label(C::RadioGroup_LiteraturTyp)), page);
    Register(C::RadioGroup_LiteraturTyp, groupLiteraturTyp_);
    auto* typLayout = new QVBoxLayout(groupLiteraturTyp_);
    literaturTyp_ = new QButtonGroup(this);
    for (int i = 0; i < TypCount; ++i) {
        auto* radio = new QRadioButton(U(LiteraturTypItems[i]), groupLiteraturTyp_);
        radio->setObjectName(QStringLiteral("RadioLiteraturTyp%1").arg(i));
        radio->installEventFilter(this);
        controlOf_.insert(radio, C::RadioGroup_LiteraturTyp);
        literaturTyp_->addButton(radio, i);
        typLayout->addWidget(radio);
    }
    right->addWidget(groupLiteraturTyp_);
    auto* beschreibung = new TMemo(page);
    beschreibung->setReadOnly(true);
    beschreibung->setFocusPolicy(Qt::ClickFocus);
    beschreibung->setAccessibleName(QStringLiteral("Beschreibung"));
    beschreibung->setMinimumHeight(110);
    Register(C::MemoBeschreibung, beschreibung);
    right->addWidget(beschreibung, 1);

    const auto group = [page](const char* objectName, const QString& title) {
        auto* box = new QGroupBox(title, page);
        box->setObjectName(QString::fromLatin1(objectName));
        return box;
    };
    const auto addField = [this](QGridLayout* grid, int row, int col, EditControl c, QWidget* field, QWidget* parent) {
        QLabel* label = BuddyLabel(c, parent);
        label->setBuddy(field);
        grid->addWidget(label, row, col);
        grid->addWidget(field, row, col + 1);
    };

    groupBuecher_ = group("GroupBoxBuecher", U(" Bücher "));
    auto* books = new QGridLayout(groupBuecher_);
    addField(books, 0, 0, C::AusgabeEdit, LineEdit(C::AusgabeEdit, groupBuecher_), groupBuecher_);
    addField(books, 0, 2, C::EditionYearEdit, LineEdit(C::EditionYearEdit, groupBuecher_), groupBuecher_);
    addField(books, 1, 0, C::FirstEditionEdit, LineEdit(C::FirstEditionEdit, groupBuecher_), groupBuecher_);
    addField(books, 1, 2, C::BandEdit, LineEdit(C::BandEdit, groupBuecher_), groupBuecher_);
    const auto wideField = [&](int row, EditControl c, QWidget* field) {
        QLabel* label = BuddyLabel(c, groupBuecher_);
        label->setBuddy(field);
        books->addWidget(label, row, 0);
        books->addWidget(field, row, 1, 1, 3);
    };
    wideField(2, C::ComboBoxSerie, ChoiceCombo(C::ComboBoxSerie, groupBuecher_));
    // The place beside the publisher, as a citation names them.
    addField(books, 3, 0, C::ComboBoxVerlag, ChoiceCombo(C::ComboBoxVerlag, groupBuecher_), groupBuecher_);
    addField(books, 3, 2, C::ComboBoxOrt, ChoiceCombo(C::ComboBoxOrt, groupBuecher_), groupBuecher_);
    {
        // The look-up sits beside the ISBN; it also takes a DOI from "Quelle:".
        QLineEdit* isbn = LineEdit(C::ISBN_Edit, groupBuecher_);
        QLabel* label = BuddyLabel(C::ISBN_Edit, groupBuecher_);
        label->setBuddy(isbn);
        lookupButton_ = new QPushButton(U("Nachschlagen"), groupBuecher_);
        lookupButton_->setObjectName(QStringLiteral("ButtonNachschlagen"));
        lookupButton_->setAccessibleName(lookupButton_->text());
        lookupButton_->setToolTip(U("Titelangaben nach ISBN (oder DOI unter \"Quelle:\") in Bibliothekskatalogen nachschlagen"));
        lookupButton_->setAutoDefault(false);
        books->addWidget(label, 4, 0);
        books->addWidget(isbn, 4, 1, 1, 2);
        books->addWidget(lookupButton_, 4, 3);
    }
    books->setColumnStretch(1, 1);
    books->setColumnStretch(3, 1);
    left->addWidget(groupBuecher_);

    groupZeitschriften_ = group("GroupBoxZeitschriften", U(" Zeitschriften o.ä. "));
    auto* journals = new QGridLayout(groupZeitschriften_);
    QComboBox* journal = ChoiceCombo(C::ComboBoxZeitschrift, groupZeitschriften_);
    QLabel* journalLabel = BuddyLabel(C::ComboBoxZeitschrift, groupZeitschriften_);
    journalLabel->setBuddy(journal);
    journals->addWidget(journalLabel, 0, 0);
    journals->addWidget(journal, 0, 1, 1, 5);
    addField(journals, 1, 0, C::EditJahrgang, LineEdit(C::EditJahrgang, groupZeitschriften_), groupZeitschriften_);
    addField(journals, 1, 2, C::EditJahr, LineEdit(C::EditJahr, groupZeitschriften_), groupZeitschriften_);
    addField(journals, 1, 4, C::EditHeftNr, LineEdit(C::EditHeftNr, groupZeitschriften_), groupZeitschriften_);
    left->addWidget(groupZeitschriften_);

    // The page count sits before the audio-visual group: for types 6 and 8
    // the length is the page's last field.
    groupSeiten_ = group("GroupBoxSeiten", QString());
    auto* pages = new QGridLayout(groupSeiten_);
    addField(pages, 0, 0, C::EditSeiten, LineEdit(C::EditSeiten, groupSeiten_), groupSeiten_);
    pages->setColumnStretch(1, 1);
    left->addWidget(groupSeiten_);

    groupAudioVisuell_ = group("GroupBoxAudioVisuell", U(" Audio-Visuelles Material "));
    auto* av = new QGridLayout(groupAudioVisuell_);
    // Quelle gets the whole width: it often holds a full path or address.
    QLineEdit* quelle = LineEdit(C::EditQuelle, groupAudioVisuell_);
    QLabel* quelleLabel = BuddyLabel(C::EditQuelle, groupAudioVisuell_);
    quelleLabel->setBuddy(quelle);
    av->addWidget(quelleLabel, 0, 0);
    av->addWidget(quelle, 0, 1, 1, 3);
    auto* link = new QCheckBox(FromCp1252(model_.Label(C::CheckBoxQuelleAlsLinkBenutzen)), groupAudioVisuell_);
    Register(C::CheckBoxQuelleAlsLinkBenutzen, link);
    verlinkenButton_ = new QPushButton(U("auf Datei verlinken"), groupAudioVisuell_);
    verlinkenButton_->setObjectName(QStringLiteral("ButtonVerlinken"));
    verlinkenButton_->setAccessibleName(verlinkenButton_->text());
    verlinkenButton_->setAutoDefault(false);
    auto* linkRow = new QHBoxLayout;
    linkRow->addWidget(link);
    linkRow->addWidget(verlinkenButton_);
    linkRow->addStretch();
    av->addLayout(linkRow, 1, 1, 1, 3);
    addField(av, 2, 0, C::EditMedium, LineEdit(C::EditMedium, groupAudioVisuell_), groupAudioVisuell_);
    addField(av, 2, 2, C::EditLaenge, LineEdit(C::EditLaenge, groupAudioVisuell_), groupAudioVisuell_);
    av->setColumnStretch(1, 3);
    av->setColumnStretch(3, 2);
    left->addWidget(groupAudioVisuell_);
    left->addStretch();

    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
    return page;
}

QWidget* TBuchEditDlg::BuildSchlagwortePage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheetSchlagworte"));
    auto* layout = new QVBoxLayout(page);
    auto* splitter = new QSplitter(Qt::Vertical, page);
    splitter->setObjectName(QStringLiteral("SplitterSchlagworte"));
    splitter->setChildrenCollapsible(false);

    // One pane per memo: its label above it; the splitter keeps each pane visible.
    const auto pane = [this, splitter](EditControl c, QWidget*& box) {
        box = new QWidget(splitter);
        box->setMinimumHeight(SplitterMinHeight);
        auto* column = new QVBoxLayout;
        column->setContentsMargins(0, 0, 0, 0);
        QPlainTextEdit* memo = Memo(c, box);
        QLabel* label = BuddyLabel(c, box);
        label->setBuddy(memo);
        column->addWidget(label);
        column->addWidget(memo, 1);
        splitter->addWidget(box);
        return column;
    };

    QWidget* keywordPane = nullptr;
    QVBoxLayout* keywordColumn = pane(C::MemoSchlagworte, keywordPane);
    auto* note = new QLabel(U("Hinweis: die Schlagworte sind durch Semikola zu trennen!"), keywordPane);
    note->setObjectName(QStringLiteral("LabelHinweisSchlagworte"));
    keywordColumn->addWidget(note);
    // The keyword memo shares its pane with the list of all keywords.
    auto* list = new QListWidget(keywordPane);
    list->setToolTip(Hint(C::ListBoxAlleSchlagworte));
    list->setAccessibleName(Hint(C::ListBoxAlleSchlagworte));
    list->setMinimumHeight(MemoMinHeight);
    Register(C::ListBoxAlleSchlagworte, list);
    list->viewport()->installEventFilter(this);
    auto* take = new QToolButton(keywordPane);
    take->setText(QStringLiteral("<<"));
    take->setToolTip(Hint(C::SpeedButtonUebernehmen));
    take->setAccessibleName(Hint(C::SpeedButtonUebernehmen));
    take->setFocusPolicy(Qt::StrongFocus);
    Register(C::SpeedButtonUebernehmen, take);
    auto* listColumn = new QVBoxLayout;
    auto* takeRow = new QHBoxLayout;
    takeRow->addWidget(take);
    takeRow->addStretch();
    listColumn->addLayout(takeRow);
    listColumn->addWidget(list, 1);
    auto* keywordRow = new QHBoxLayout(keywordPane);
    keywordRow->setContentsMargins(0, 0, 0, 0);
    keywordRow->addLayout(keywordColumn, 3);
    keywordRow->addLayout(listColumn, 2);

    for (EditControl c : {C::MemoInhalt, C::MemoBemerkung}) {
        QWidget* box = nullptr;
        QVBoxLayout* column = pane(c, box);
        box->setLayout(column);
    }
    layout->addWidget(splitter);
    return page;
}

QWidget* TBuchEditDlg::BuildInternPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheetIntern"));
    auto* grid = new QGridLayout(page);
    int row = 0;
    const auto addRow = [&](EditControl c, QWidget* field) {
        QLabel* label = BuddyLabel(c, page);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, 1, 2);
        ++row;
    };
    // Typ (2) first: Tab from the short key and from the remark lands there.
    addRow(C::ComboBoxTyp, ChoiceCombo(C::ComboBoxTyp, page));
    addRow(C::ComboBoxSprache, ChoiceCombo(C::ComboBoxSprache, page));
    addRow(C::ComboBoxKategorie, ChoiceCombo(C::ComboBoxKategorie, page));
    addRow(C::ComboBoxOwner, ChoiceCombo(C::ComboBoxOwner, page));
    addRow(C::ComboBoxStandort, ChoiceCombo(C::ComboBoxStandort, page));

    groupVerleihstatus_ = new QGroupBox(FromCp1252(model_.Label(C::RadioGroupVerleihstatus)), page);
    Register(C::RadioGroupVerleihstatus, groupVerleihstatus_);
    auto* lending = new QGridLayout(groupVerleihstatus_);
    verleihstatus_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(U(VerleihstatusItems[i]), groupVerleihstatus_);
        radio->setObjectName(QStringLiteral("RadioVerleihstatus%1").arg(i));
        radio->installEventFilter(this);
        controlOf_.insert(radio, C::RadioGroupVerleihstatus);
        verleihstatus_->addButton(radio, i);
        lending->addWidget(radio, i % 2, i / 2); // two columns
    }
    verleihstatusLabel_ = new QLabel(groupVerleihstatus_);
    verleihstatusLabel_->setObjectName(QStringLiteral("LabelVerleihstatus"));
    lending->addWidget(verleihstatusLabel_, 2, 0);
    QLineEdit* lentTo = LineEdit(C::EditVerleihstatus, groupVerleihstatus_);
    verleihstatusLabel_->setBuddy(lentTo);
    lending->addWidget(lentTo, 2, 1);
    grid->addWidget(groupVerleihstatus_, row++, 0, 1, 3);

    // Price, currency and date keep their natural width.
    const auto shortRow = [&](EditControl c, std::initializer_list<QWidget*> fields) {
        QLabel* label = BuddyLabel(c, page);
        label->setBuddy(*fields.begin());
        auto* line = new QHBoxLayout;
        for (QWidget* f : fields)
            line->addWidget(f);
        line->addStretch();
        grid->addWidget(label, row, 0);
        grid->addLayout(line, row, 1, 1, 2);
        ++row;
    };
    QLineEdit* price = LineEdit(C::EditPreis, page);
    price->setMaximumWidth(140);
    QComboBox* currency = ChoiceCombo(C::ComboBoxWaehrung, page);
    currency->lineEdit()->setMaxLength(4);
    currency->setMinimumContentsLength(5);
    currency->setAccessibleName(U("Währung"));
    shortRow(C::EditPreis, {price, currency});
    auto* date = new TKaufdatumBox(page);
    date->setToolTip(Hint(C::DateTimePickerKaufdatum));
    date->setMinimumWidth(140);
    Register(C::DateTimePickerKaufdatum, date);
    shortRow(C::DateTimePickerKaufdatum, {date});
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* TBuchEditDlg::BuildBilderPage()
{
    picturePage_ = new PicturePage(model_.Pictures, model_.PictureSettings(), model_.Ui(), this);
    pictureTabs_ = picturePage_->Tabs();
    return picturePage_;
}

void TBuchEditDlg::BuildBottomPanel()
{
    auto* row = new QHBoxLayout;
    auto* reuse = new QCheckBox(FromCp1252(model_.Label(C::CheckBoxWiederverwenden)), this);
    Register(C::CheckBoxWiederverwenden, reuse);
    row->addWidget(reuse);
    row->addStretch();
    okButton_ = new QPushButton(FromCp1252(model_.Label(C::OkButton)), this);
    cancelButton_ = new QPushButton(FromCp1252(model_.Label(C::CancelButton)), this);
    Register(C::OkButton, okButton_);
    Register(C::CancelButton, cancelButton_);
    for (QPushButton* b : {okButton_, cancelButton_}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void TBuchEditDlg::ConnectHandlers()
{
    connect(okButton_, &QPushButton::clicked, this, &TBuchEditDlg::OkClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &TBuchEditDlg::reject);
    connect(literaturTyp_, &QButtonGroup::idClicked, this, &TBuchEditDlg::LiteraturTypClicked);
    connect(verleihstatus_, &QButtonGroup::idClicked, this, &TBuchEditDlg::VerleihstatusClicked);
    connect(static_cast<QCheckBox*>(Control(C::CheckBoxWiederverwenden)), &QCheckBox::clicked, this,
            &TBuchEditDlg::WiederverwendenClicked);
    connect(pages_, &QTabWidget::currentChanged, this, &TBuchEditDlg::PageChanged);
    connect(static_cast<QCheckBox*>(Control(C::CheckBoxQuelleAlsLinkBenutzen)), &QCheckBox::toggled, this,
            [this] { ApplyQuelleLink(); });
    connect(verlinkenButton_, &QPushButton::clicked, this, &TBuchEditDlg::VerlinkenClicked);
    connect(lookupButton_, &QPushButton::clicked, this, [this] {
        StoreToModel();
        if (RunEditorLookup(model_, model_.PictureSettings(), this))
            LoadFromModel();
    });

    for (EditControl c : {C::ComboBoxAutor, C::ComboBoxHerausgeber, C::ComboBoxZeitschrift, C::ComboBoxSerie,
                          C::ComboBoxVerlag, C::ComboBoxOrt, C::ComboBoxSprache, C::ComboBoxTyp, C::ComboBoxOwner,
                          C::ComboBoxStandort, C::ComboBoxKategorie}) {
        QLineEdit* edit = LineEditOf(Control(c));
        connect(edit, &QLineEdit::textEdited, this, [this, c] { TypeAhead(c); });
    }

    auto* memo = static_cast<QPlainTextEdit*>(Control(C::MemoSchlagworte));
    connect(memo, &QPlainTextEdit::textChanged, this, &TBuchEditDlg::KeywordMemoChanged);
    auto* list = static_cast<QListWidget*>(Control(C::ListBoxAlleSchlagworte));
    connect(list, &QListWidget::itemClicked, this, &TBuchEditDlg::KeywordClicked);
    connect(list, &QListWidget::itemDoubleClicked, this, &TBuchEditDlg::TakeOverKeyword);
    connect(static_cast<QToolButton*>(Control(C::SpeedButtonUebernehmen)), &QToolButton::clicked, this,
            &TBuchEditDlg::TakeOverKeyword);

    auto* date = static_cast<TKaufdatumBox*>(Control(C::DateTimePickerKaufdatum));
    connect(date, &TKaufdatumBox::Entered, this, [this] {
        if (loading_)
            return;
        model_.EnterKaufdatum(TKaufdatumBox::DayOf(QDate::currentDate()));
        LoadFromModel();
    });
    connect(date, &TKaufdatumBox::Cleared, this, [this] {
        if (loading_)
            return;
        model_.ClearKaufdatum();
        LoadFromModel();
    });
    connect(date, &TKaufdatumBox::Chosen, this, [this](double day) {
        if (!loading_)
            model_.ChooseKaufdatum(day);
    });
    connect(date, &TKaufdatumBox::Left, this, [this] {
        if (loading_)
            return;
        model_.LeaveKaufdatum();
        LoadFromModel();
    });

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WidgetWithChildrenShortcut);
    connect(help, &QShortcut::activated, this, &TBuchEditDlg::ShowHelp);
}

// ---------------------------------------------------------------------------
// Between the controls and the model

void TBuchEditDlg::ShowText(EditControl control, const std::string& bytes)
{
    QWidget* w = Control(control);
    ShownText& shown = shownTexts_[Idx(control)];
    if (ReadText(control) != bytes) {
        SetWidgetText(w, FromCp1252(bytes));
        if (QLineEdit* edit = LineEditOf(w))
            edit->setCursorPosition(0);
    }
    shown.shown = WidgetText(w);
    shown.bytes = bytes;
}

std::string TBuchEditDlg::ReadText(EditControl control) const
{
    const QWidget* w = Control(control);
    const ShownText& shown = shownTexts_[Idx(control)];
    const QString text = WidgetText(w);
    // Untouched: the stored bytes, also where the control cannot hold them
    // exactly (line ends of memos, over-long lines).
    if (text == shown.shown)
        return shown.bytes;
    if (qobject_cast<const QPlainTextEdit*>(w)) {
        QString lines = text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        return ToCp1252(lines);
    }
    return ToCp1252(text);
}

void TBuchEditDlg::ShowChoice(EditControl control, const ChoiceBox& box, bool sorted)
{
    auto* combo = static_cast<QComboBox*>(Control(control));
    std::vector<std::string>& shownItems = shownItems_[Idx(control)];
    if (shownItems != box.Items) {
        shownItems = box.Items;
        QStringList items;
        for (const std::string& item : sorted ? DisplayOrder(box.Items) : box.Items)
            items << FromCp1252(item);
        const QSignalBlocker block(combo);
        combo->clear();
        combo->addItems(items);
        combo->setCurrentIndex(-1);
        combo->setEditText(FromCp1252(box.Text));
        shownTexts_[Idx(control)] = {combo->currentText(), box.Text};
    }
    ShowText(control, box.Text);
}

void TBuchEditDlg::ShowMultiSelect(EditControl control, const MultiSelectBox& box)
{
    auto* combo = static_cast<TSelectComboBox*>(Control(control));
    std::vector<std::size_t>& order = displayOrder_[Idx(control)];
    std::vector<std::string>& shownItems = shownItems_[Idx(control)];
    if (shownItems != box.Items) {
        shownItems = box.Items;
        std::unordered_map<std::string, std::size_t> position;
        for (std::size_t i = 0; i < box.Items.size(); ++i)
            position.emplace(box.Items[i], i);
        std::vector<std::string> shown = DisplayOrder(box.Items);
        order.clear();
        for (const std::string& item : shown)
            order.push_back(position[item]);
        combo->SetEntries(shown, {});
    }
    std::vector<bool> ticks(order.size(), false);
    for (std::size_t i = 0; i < order.size(); ++i)
        ticks[i] = order[i] < box.Ticked.size() && box.Ticked[order[i]];
    combo->SetTicks(ticks);
    ShowText(control, box.Text);
}

void TBuchEditDlg::ReadMultiSelect(EditControl control, MultiSelectBox& box) const
{
    const auto* combo = static_cast<const TSelectComboBox*>(Control(control));
    const std::vector<std::size_t>& order = displayOrder_[Idx(control)];
    box.Text = ReadText(control);
    if (box.Items != shownItems_[Idx(control)])
        return; // the model refilled the list since: its ticks stand
    box.Ticked.assign(box.Items.size(), false);
    const std::vector<bool>& ticks = combo->Ticks();
    for (std::size_t i = 0; i < order.size() && i < ticks.size(); ++i)
        box.Ticked[order[i]] = ticks[i];
}

void TBuchEditDlg::LoadFromModel()
{
    const bool wasLoading = loading_;
    loading_ = true;
    const BuchEditValues& v = model_.Values;
    if (!model_.Caption.empty())
        setWindowTitle(FromCp1252(model_.Caption));

    ShowText(C::EditKuerzel, v.Kuerzel);
    static_cast<QCheckBox*>(Control(C::CheckBoxKopieren))->setChecked(v.Kopieren);
    static_cast<QCheckBox*>(Control(C::CheckBoxWiederverwenden))->setChecked(v.Wiederverwenden);

    ShowMultiSelect(C::ComboBoxAutor, v.Autor);
    ShowMultiSelect(C::ComboBoxHerausgeber, v.Herausgeber);
    ShowText(C::TitelEdit, v.Titel);
    ShowText(C::AltTitelEdit, v.AltTitel);
    ShowText(C::OrgTitelEdit, v.OrigTitel);

    if (QAbstractButton* typ = literaturTyp_->button(v.LiteraturTyp))
        typ->setChecked(true);
    ShowText(C::AusgabeEdit, v.Ausgabe);
    ShowText(C::EditionYearEdit, v.EditionYear);
    ShowText(C::FirstEditionEdit, v.FirstEdition);
    ShowChoice(C::ComboBoxSerie, v.Serie);
    ShowText(C::BandEdit, v.Band);
    ShowChoice(C::ComboBoxVerlag, v.Verlag);
    ShowChoice(C::ComboBoxOrt, v.Ort);
    ShowText(C::ISBN_Edit, v.ISBN);
    ShowChoice(C::ComboBoxZeitschrift, v.Zeitschrift);
    ShowText(C::EditJahrgang, v.Jahrgang);
    ShowText(C::EditJahr, v.Jahr);
    ShowText(C::EditHeftNr, v.HeftNr);
    ShowText(C::EditQuelle, v.Quelle);
    static_cast<QCheckBox*>(Control(C::CheckBoxQuelleAlsLinkBenutzen))->setChecked(v.QuelleAlsLink);
    ApplyQuelleLink();
    ShowText(C::EditMedium, v.Medium);
    ShowText(C::EditLaenge, v.Laenge);
    ShowText(C::EditSeiten, v.Seiten);

    ShowText(C::MemoSchlagworte, v.Schlagworte);
    ShowText(C::MemoInhalt, v.Inhalt);
    ShowText(C::MemoBemerkung, v.Bemerkung);
    auto* list = static_cast<QListWidget*>(Control(C::ListBoxAlleSchlagworte));
    std::vector<std::string>& shownKeywords = shownItems_[Idx(C::ListBoxAlleSchlagworte)];
    if (shownKeywords != v.AlleSchlagworte) {
        shownKeywords = v.AlleSchlagworte;
        const QSignalBlocker block(list);
        list->clear();
        QStringList items;
        for (const std::string& k : v.AlleSchlagworte)
            items << FromCp1252(k);
        list->addItems(items);
    }
    ShowKeywordSelection();

    ShowChoice(C::ComboBoxSprache, v.Sprache);
    ShowChoice(C::ComboBoxTyp, v.Typ);
    ShowChoice(C::ComboBoxOwner, v.Owner);
    if (QAbstractButton* state = verleihstatus_->button(v.Verleihstatus))
        state->setChecked(true);
    verleihstatusLabel_->setText(FromCp1252(v.VerleihstatusLabel));
    Control(C::EditVerleihstatus)->setAccessibleName(AccessibleText(verleihstatusLabel_->text()));
    Control(C::EditVerleihstatus)->setVisible(v.VerliehenAnVisible);
    ShowText(C::EditVerleihstatus, v.VerliehenAn);
    ShowChoice(C::ComboBoxStandort, v.Standort);
    ShowText(C::EditPreis, v.Preis);
    ShowChoice(C::ComboBoxWaehrung, v.Waehrung, false); // in the order found
    ShowChoice(C::ComboBoxKategorie, v.Kategorie);
    static_cast<TKaufdatumBox*>(Control(C::DateTimePickerKaufdatum))->SetDay(v.Kaufdatum);

    ApplyLabels();
    ApplyPanel();
    ApplyEnabled();
    ApplyFocus();
    loading_ = wasLoading;
}

void TBuchEditDlg::StoreToModel()
{
    BuchEditValues& v = model_.Values;
    v.Kuerzel = ReadText(C::EditKuerzel);
    v.Kopieren = static_cast<QCheckBox*>(Control(C::CheckBoxKopieren))->isChecked();
    v.Wiederverwenden = static_cast<QCheckBox*>(Control(C::CheckBoxWiederverwenden))->isChecked();

    ReadMultiSelect(C::ComboBoxAutor, v.Autor);
    ReadMultiSelect(C::ComboBoxHerausgeber, v.Herausgeber);
    v.Titel = ReadText(C::TitelEdit);
    v.AltTitel = ReadText(C::AltTitelEdit);
    v.OrigTitel = ReadText(C::OrgTitelEdit);

    if (literaturTyp_->checkedId() >= 0)
        v.LiteraturTyp = literaturTyp_->checkedId();
    v.Ausgabe = ReadText(C::AusgabeEdit);
    v.EditionYear = ReadText(C::EditionYearEdit);
    v.FirstEdition = ReadText(C::FirstEditionEdit);
    v.Serie.Text = ReadText(C::ComboBoxSerie);
    v.Band = ReadText(C::BandEdit);
    v.Verlag.Text = ReadText(C::ComboBoxVerlag);
    v.Ort.Text = ReadText(C::ComboBoxOrt);
    v.ISBN = ReadText(C::ISBN_Edit);
    v.Zeitschrift.Text = ReadText(C::ComboBoxZeitschrift);
    v.Jahrgang = ReadText(C::EditJahrgang);
    v.Jahr = ReadText(C::EditJahr);
    v.HeftNr = ReadText(C::EditHeftNr);
    v.Quelle = ReadText(C::EditQuelle);
    v.QuelleAlsLink = static_cast<QCheckBox*>(Control(C::CheckBoxQuelleAlsLinkBenutzen))->isChecked();
    v.Medium = ReadText(C::EditMedium);
    v.Laenge = ReadText(C::EditLaenge);
    v.Seiten = ReadText(C::EditSeiten);

    v.Schlagworte = ReadText(C::MemoSchlagworte);
    v.Inhalt = ReadText(C::MemoInhalt);
    v.Bemerkung = ReadText(C::MemoBemerkung);
    const auto* list = static_cast<const QListWidget*>(Control(C::ListBoxAlleSchlagworte));
    if (list->currentItem() && list->currentItem()->isSelected())
        v.AlleSchlagworteSelected = list->currentRow();

    v.Sprache.Text = ReadText(C::ComboBoxSprache);
    v.Typ.Text = ReadText(C::ComboBoxTyp);
    v.Owner.Text = ReadText(C::ComboBoxOwner);
    if (verleihstatus_->checkedId() >= 0)
        v.Verleihstatus = verleihstatus_->checkedId();
    v.VerliehenAn = ReadText(C::EditVerleihstatus);
    v.Standort.Text = ReadText(C::ComboBoxStandort);
    v.Preis = ReadText(C::EditPreis);
    v.Waehrung.Text = ReadText(C::ComboBoxWaehrung);
    v.Kategorie.Text = ReadText(C::ComboBoxKategorie);
    v.Kaufdatum = static_cast<TKaufdatumBox*>(Control(C::DateTimePickerKaufdatum))->Day();
}

void TBuchEditDlg::ApplyLabels()
{
    for (int i = 0; i < EditControlCount; ++i) {
        const auto c = static_cast<EditControl>(i);
        QWidget* caption = captions_[Idx(c)];
        const std::string& label = model_.Label(c);
        if (!caption || label.empty())
            continue;
        const QString text = FromCp1252(label);
        if (auto* l = qobject_cast<QLabel*>(caption))
            l->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(caption))
            g->setTitle(text);
        else if (auto* b = qobject_cast<QAbstractButton*>(caption))
            b->setText(text);
        if (QWidget* control = Control(c); control && control != caption)
            control->setAccessibleName(AccessibleText(text));
    }
    for (EditControl c : {C::ComboBoxAutor, C::ComboBoxHerausgeber}) {
        auto* box = static_cast<TSelectComboBox*>(Control(c));
        box->Popup()->List()->setAccessibleName(box->accessibleName());
    }
}

void TBuchEditDlg::ApplyPanel()
{
    const TypePanel& panel = model_.Panel;
    groupBuecher_->setVisible(panel.Books);
    groupZeitschriften_->setVisible(panel.Journals);
    groupAudioVisuell_->setVisible(panel.AudioVisual);
    groupSeiten_->setVisible(panel.Pages);
    ShowText(C::MemoBeschreibung, panel.Description);
}

void TBuchEditDlg::ApplyEnabled()
{
    const BuchEditValues& v = model_.Values;
    for (int i = 0; i < EditControlCount; ++i) {
        const auto c = static_cast<EditControl>(i);
        QWidget* w = Control(c);
        if (!w)
            continue;
        bool enabled = !model_.IsDisabled(c);
        if (c == C::CheckBoxKopieren)
            enabled = enabled && v.KopierenEnabled;
        else if (c == C::SpeedButtonUebernehmen)
            enabled = enabled && v.UebernehmenEnabled;
        w->setEnabled(enabled);
    }
    verlinkenButton_->setEnabled(!model_.IsDisabled(C::EditQuelle));
    picturePage_->SetReadOnly(model_.IsDisabled(C::ButtonBildHinzufuegen));
}

void TBuchEditDlg::ApplyQuelleLink()
{
    auto* quelle = static_cast<QLineEdit*>(Control(C::EditQuelle));
    const bool ticked = static_cast<QCheckBox*>(Control(C::CheckBoxQuelleAlsLinkBenutzen))->isChecked();
    quelle->setReadOnly(ticked);
    if (!quelle->isVisible())
        return; // no width to measure against yet; the resize brings it
    // A text that fits needs no hint: one left from before would name another
    // title's document.
    const std::optional<std::string> hint = QuelleHint(
        ReadText(C::EditQuelle), ticked, quelle->fontMetrics().horizontalAdvance(quelle->text()), quelle->width());
    quelle->setToolTip(hint ? FromCp1252(*hint) : QString());
}

void TBuchEditDlg::ApplyFocus()
{
    const FocusRequest focus = model_.Focus;
    model_.Focus = {};
    if (focus.Page != PageNone)
        pages_->setCurrentIndex(focus.Page - 1);
    if (focus.Control)
        FocusControl(*focus.Control);
}

void TBuchEditDlg::ShowKeywordSelection()
{
    auto* list = static_cast<QListWidget*>(Control(C::ListBoxAlleSchlagworte));
    const int selected = model_.Values.AlleSchlagworteSelected;
    const QSignalBlocker block(list);
    if (selected < 0 || selected >= list->count()) {
        list->clearSelection();
        return;
    }
    if (list->currentRow() != selected || !list->item(selected)->isSelected())
        list->setCurrentRow(selected);
    list->scrollToItem(list->item(selected), QAbstractItemView::PositionAtTop);
}

void TBuchEditDlg::FocusControl(EditControl control)
{
    QWidget* w = Control(control);
    if (!w) // the picture page's button belongs to the picture page
        w = findChild<QWidget*>(QString::fromLatin1(ControlName(control)));
    if (control == C::RadioGroup_LiteraturTyp)
        w = literaturTyp_->checkedButton() ? literaturTyp_->checkedButton() : literaturTyp_->button(TypUnklar);
    else if (control == C::RadioGroupVerleihstatus)
        w = verleihstatus_->checkedButton();
    if (!w || !w->isEnabled() || !w->isVisibleTo(this)) {
        if (control == C::ButtonBildHinzufuegen)
            pictureTabs_->setFocus(Qt::TabFocusReason);
        return;
    }
    w->setFocus(Qt::TabFocusReason);
}

// ---------------------------------------------------------------------------
// Showing

bool TBuchEditDlg::ShowModal()
{
    TraceScope trace("BuchEditDlg.ShowModal");
    LoadFromModel();
    picturePage_->Refresh();
    ApplySizeRule();
    return exec() == QDialog::Accepted;
}

void TBuchEditDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ApplySizeRule();
}

void TBuchEditDlg::PageChanged(int)
{
    ApplySizeRule();
}

void TBuchEditDlg::ApplySizeRule()
{
    if (CurrentPage() == PageSchlagworte) {
        // The keyword page may grow and be maximised.
        setMinimumSize(minimumSizeHint());
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        return;
    }
    if (isMaximized())
        showNormal();
    setFixedSize(designedSize_);
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TBuchEditDlg::ShowHelp()
{
    if (!help_)
        help_ = new HelpWindow(this); // a window of the dialog: usable while it is modal
    help_->ShowContext(HelpContext);
}

// ---------------------------------------------------------------------------
// Handlers

EditControl TBuchEditDlg::ControlOf(const QObject* object) const
{
    return controlOf_.value(object, C::Count);
}

EditPage TBuchEditDlg::CurrentPage() const
{
    return static_cast<EditPage>(pages_->currentIndex() + 1);
}

void TBuchEditDlg::OkClicked()
{
    StoreToModel();
    const OkOutcome outcome = model_.OkClicked();
    LoadFromModel();
    if (outcome == OkOutcome::Close)
        accept();
}

void TBuchEditDlg::LeaveControl(EditControl control)
{
    if (leaving_ || loading_ || !isVisible())
        return;
    leaving_ = true;
    StoreToModel();
    if (control == C::EditKuerzel)
        model_.LeaveKuerzel(cancelButton_->underMouse());
    else if (IsChoiceBox(control) || control == C::ComboBoxAutor || control == C::ComboBoxHerausgeber)
        model_.LeaveChoiceBox(control);
    else if (control == C::MemoSchlagworte)
        model_.LeaveSchlagworte();
    LoadFromModel();
    leaving_ = false;
}

void TBuchEditDlg::TypeAhead(EditControl control)
{
    if (loading_)
        return;
    QLineEdit* edit = LineEditOf(Control(control));
    // The model counts bytes, the widget characters: they differ where a
    // character is kept as a reference.
    const QString typed = edit->text();
    const auto caret = static_cast<int>(ToCp1252(typed.left(edit->cursorPosition())).size());
    const std::optional<Completion> completion = model_.TypeAhead(control, ToCp1252(typed), caret);
    if (!completion)
        return;
    const std::string_view text = completion->Text;
    const auto index = [text](int bytes) {
        return static_cast<int>(FromCp1252(text.substr(0, static_cast<std::size_t>(bytes))).size());
    };
    const int selStart = index(completion->SelStart);
    const int selEnd = index(completion->SelStart + completion->SelLength);
    edit->setText(FromCp1252(text));
    if (selEnd > selStart)
        edit->setSelection(selEnd, selStart - selEnd);
    else
        edit->setCursorPosition(selStart);
}

void TBuchEditDlg::LiteraturTypClicked(int typ)
{
    StoreToModel();
    model_.SetLiteraturTyp(typ);
    LoadFromModel();
}

void TBuchEditDlg::VerleihstatusClicked(int index)
{
    StoreToModel();
    model_.SetVerleihstatus(index);
    LoadFromModel();
}

void TBuchEditDlg::VerlinkenClicked()
{
    const std::optional<std::string> chosen =
        model_.ChooseDocument(ReadText(C::EditQuelle));
    if (!chosen)
        return;
    StoreToModel();
    model_.Values.Quelle = *chosen;
    LoadFromModel();
}

void TBuchEditDlg::QuelleDoubleClicked()
{
    TraceScope trace("TBuchEditDlg.EditQuelleDblClick");
    const std::string text = ReadText(C::EditQuelle);
    if (!QuelleStartsDocument(text, static_cast<QCheckBox*>(Control(C::CheckBoxQuelleAlsLinkBenutzen))->isChecked()))
        return;
    model_.StartLinkedDocument(text);
}

void TBuchEditDlg::WiederverwendenClicked(bool ticked)
{
    StoreToModel();
    model_.SetWiederverwenden(ticked);
    LoadFromModel();
}

void TBuchEditDlg::KeywordMemoChanged()
{
    if (loading_)
        return;
    model_.Values.Schlagworte = ReadText(C::MemoSchlagworte);
    model_.SchlagworteTyped();
    ShowKeywordSelection();
}

void TBuchEditDlg::KeywordClicked()
{
    auto* list = static_cast<QListWidget*>(Control(C::ListBoxAlleSchlagworte));
    model_.SelectKeyword(list->currentItem() && list->currentItem()->isSelected() ? list->currentRow() : -1);
    ApplyEnabled();
}

void TBuchEditDlg::TakeOverKeyword()
{
    if (model_.IsDisabled(C::ListBoxAlleSchlagworte))
        return;
    StoreToModel();
    model_.TakeOverKeyword();
    LoadFromModel();
}

bool TBuchEditDlg::FilterKey(EditControl control, QKeyEvent* event)
{
    const int key = event->key();
    model_.NoteKey(key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Clear);
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QWidget* w = Control(control);
    const bool textual = LineEditOf(w) || qobject_cast<QPlainTextEdit*>(w);

    if (enter && control == C::ListBoxAlleSchlagworte) {
        TakeOverKeyword();
        return true;
    }
    if (enter && mods == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            button->click();
            return true;
        }
        if (qobject_cast<QToolButton*>(w))
            return false;
        WalkFocus(control);
        return true;
    }
    if (enter && textual)
        return true; // no line breaks anywhere
    if (key == Qt::Key_Tab && mods == Qt::NoModifier) {
        WalkFocus(control);
        return true;
    }

    const char ch = (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ? 0 : KeyChar(event);
    if (!ch)
        return false;
    KeyFilterResult verdict;
    if (IsDigitsOnly(control)) {
        verdict = DigitsOnlyKey(ch);
    } else if (control == C::EditPreis) {
        auto* edit = static_cast<QLineEdit*>(w);
        const bool selection = edit->hasSelectedText();
        verdict = PriceKey(ToCp1252(edit->text()), selection ? edit->selectionStart() : edit->cursorPosition(),
                           selection ? static_cast<int>(edit->selectedText().size()) : 0, ch);
    } else {
        return false;
    }
    switch (verdict.Verdict) {
    case KeyVerdict::Accept:
        return false;
    case KeyVerdict::Replace:
        static_cast<QLineEdit*>(w)->insert(FromCp1252(std::string(1, verdict.Replacement)));
        return true;
    case KeyVerdict::DiscardBeep:
        QApplication::beep();
        return true;
    case KeyVerdict::Discard:
        return true;
    }
    return true;
}

void TBuchEditDlg::WalkFocus(EditControl from)
{
    const int typ = literaturTyp_->checkedId() >= 0 ? literaturTyp_->checkedId() : model_.Values.LiteraturTyp;
    const std::optional<FocusRequest> target = FocusWalk(from, CurrentPage(), typ);
    QWidget* before = QApplication::focusWidget();
    focusNextChild();
    // A leave rule that refused (message shown) has put the focus back.
    if (!target || QApplication::focusWidget() == before)
        return;
    if (target->Page != PageNone)
        pages_->setCurrentIndex(target->Page - 1);
    if (target->Control)
        FocusControl(*target->Control);
}

bool TBuchEditDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* list = static_cast<QListWidget*>(Control(C::ListBoxAlleSchlagworte));
    if (list && watched == list->viewport()) {
        if (event->type() == QEvent::ToolTip) {
            // The entry under the pointer, else what the list holds.
            const auto* help = static_cast<QHelpEvent*>(event);
            const QModelIndex under = list->indexAt(help->pos());
            const std::string hint = KeywordListHint(model_.Values.AlleSchlagworte, under.isValid() ? under.row() : -1);
            QToolTip::showText(help->globalPos(), FromCp1252(hint), list);
            return true;
        }
        return false;
    }
    const EditControl control = ControlOf(watched);
    if (control == C::Count)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (FilterKey(control, static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::FocusOut:
        if (!Passing(static_cast<QFocusEvent*>(event)))
            LeaveControl(control);
        break;
    case QEvent::Show:
    case QEvent::Resize:
        if (control == C::EditQuelle)
            ApplyQuelleLink();
        break;
    case QEvent::MouseButtonDblClick:
        if (control == C::EditQuelle && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QuelleDoubleClicked();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TBuchEditDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape closes as cancel; Enter reaching the dialog presses nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace folianto
