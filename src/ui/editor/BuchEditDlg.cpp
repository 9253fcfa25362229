#include "ui/editor/BuchEditDlg.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "editor/PictureLinks.h"
#include "ui/editor/AutorTitelPage.h"
#include "ui/editor/BibliothekPage.h"
#include "ui/editor/InternPage.h"
#include "ui/editor/KaufdatumBox.h"
#include "ui/editor/PicturePage.h"
#include "ui/editor/SchlagwortePage.h"
#include "ui/help/HelpWindow.h"
#include "ui/lookup/EditorLookupDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace folianto {

namespace {

using C = EditControl;

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

} // namespace

TBuchEditDlg::TBuchEditDlg(TitleEditorModel& model, QWidget* parent)
    : QDialog(parent), model_(model), controls_(model, this)
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
    autorTitelPage_ = new AutorTitelPage(controls_, this);
    pages_->addTab(autorTitelPage_, Utf8("Autor / Titel"));
    bibliothekPage_ = new BibliothekPage(controls_, this);
    pages_->addTab(bibliothekPage_, Utf8("bibliothekarisches"));
    schlagwortePage_ = new SchlagwortePage(controls_, model_, this);
    pages_->addTab(schlagwortePage_, Utf8("Schlagworte, Inhalt, Bemerkungen"));
    internPage_ = new InternPage(controls_, this);
    pages_->addTab(internPage_, Utf8("interne Zuordnung und anderes"));
    picturePage_ = new PicturePage(model_.Pictures, model_.PictureSettings(), model_.Ui(), this);
    pictureTabs_ = picturePage_->Tabs();
    pages_->addTab(picturePage_, Utf8("Bilder"));
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

void TBuchEditDlg::BuildTopPanel()
{
    auto* group = new QGroupBox(controls_.Label(C::EditKuerzel), this);
    group->setObjectName(QStringLiteral("GroupBoxKuerzel"));
    controls_.SetCaption(C::EditKuerzel, group);
    auto* row = new QHBoxLayout(group);
    QLineEdit* kuerzel = controls_.LineEdit(C::EditKuerzel, group);
    kuerzel->setMinimumWidth(220);
    row->addWidget(kuerzel);
    row->addSpacing(24);
    auto* kopieren = new QCheckBox(controls_.Label(C::CheckBoxKopieren), group);
    kopieren->setToolTip(Hint(C::CheckBoxKopieren));
    controls_.Register(C::CheckBoxKopieren, kopieren);
    row->addWidget(kopieren);
    row->addStretch();
    static_cast<QVBoxLayout*>(layout())->addWidget(group);
}

void TBuchEditDlg::BuildBottomPanel()
{
    auto* row = new QHBoxLayout;
    auto* reuse = new QCheckBox(controls_.Label(C::CheckBoxWiederverwenden), this);
    controls_.Register(C::CheckBoxWiederverwenden, reuse);
    row->addWidget(reuse);
    row->addStretch();
    okButton_ = new QPushButton(controls_.Label(C::OkButton), this);
    cancelButton_ = new QPushButton(controls_.Label(C::CancelButton), this);
    controls_.Register(C::OkButton, okButton_);
    controls_.Register(C::CancelButton, cancelButton_);
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
    connect(bibliothekPage_->LiteraturTyp(), &QButtonGroup::idClicked, this, &TBuchEditDlg::LiteraturTypClicked);
    connect(internPage_->Verleihstatus(), &QButtonGroup::idClicked, this, &TBuchEditDlg::VerleihstatusClicked);
    connect(CheckBox(C::CheckBoxWiederverwenden), &QCheckBox::clicked, this, &TBuchEditDlg::WiederverwendenClicked);
    connect(pages_, &QTabWidget::currentChanged, this, &TBuchEditDlg::PageChanged);
    connect(CheckBox(C::CheckBoxQuelleAlsLinkBenutzen), &QCheckBox::toggled, this,
            [this] { bibliothekPage_->ApplyQuelleLink(); });
    connect(bibliothekPage_->VerlinkenButton(), &QPushButton::clicked, this, &TBuchEditDlg::VerlinkenClicked);
    connect(bibliothekPage_->LookupButton(), &QPushButton::clicked, this, [this] {
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
    QListWidget* list = schlagwortePage_->KeywordList();
    connect(list, &QListWidget::itemClicked, this, &TBuchEditDlg::KeywordClicked);
    connect(list, &QListWidget::itemDoubleClicked, this, &TBuchEditDlg::TakeOverKeyword);
    connect(schlagwortePage_->TakeOverButton(), &QToolButton::clicked, this, &TBuchEditDlg::TakeOverKeyword);
    ConnectKaufdatum();

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WidgetWithChildrenShortcut);
    connect(help, &QShortcut::activated, this, &TBuchEditDlg::ShowHelp);
}

void TBuchEditDlg::ConnectKaufdatum()
{
    auto* date = static_cast<KaufdatumBox*>(Control(C::DateTimePickerKaufdatum));
    connect(date, &KaufdatumBox::Entered, this, [this] {
        if (loading_)
            return;
        model_.EnterKaufdatum(KaufdatumBox::DayOf(QDate::currentDate()));
        LoadFromModel();
    });
    connect(date, &KaufdatumBox::Cleared, this, [this] {
        if (loading_)
            return;
        model_.ClearKaufdatum();
        LoadFromModel();
    });
    connect(date, &KaufdatumBox::Chosen, this, [this](double day) {
        if (!loading_)
            model_.ChooseKaufdatum(day);
    });
    connect(date, &KaufdatumBox::Left, this, [this] {
        if (loading_)
            return;
        model_.LeaveKaufdatum();
        LoadFromModel();
    });
}

// ---------------------------------------------------------------------------
// Between the controls and the model

QCheckBox* TBuchEditDlg::CheckBox(EditControl control) const
{
    return static_cast<QCheckBox*>(Control(control));
}

void TBuchEditDlg::LoadFromModel()
{
    const bool wasLoading = loading_;
    loading_ = true;
    const TitleEditorValues& v = model_.Values;
    if (!model_.Caption.empty())
        setWindowTitle(FromCp1252(model_.Caption));

    controls_.ShowText(C::EditKuerzel, v.Kuerzel);
    CheckBox(C::CheckBoxKopieren)->setChecked(v.Kopieren);
    CheckBox(C::CheckBoxWiederverwenden)->setChecked(v.Wiederverwenden);
    autorTitelPage_->Load(v);
    bibliothekPage_->Load(v);
    schlagwortePage_->Load(v);
    internPage_->Load(v);

    controls_.ApplyLabels();
    bibliothekPage_->ApplyPanel(model_.Panel);
    ApplyEnabled();
    ApplyFocus();
    loading_ = wasLoading;
}

void TBuchEditDlg::StoreToModel()
{
    TitleEditorValues& v = model_.Values;
    v.Kuerzel = controls_.ReadText(C::EditKuerzel);
    v.Kopieren = CheckBox(C::CheckBoxKopieren)->isChecked();
    v.Wiederverwenden = CheckBox(C::CheckBoxWiederverwenden)->isChecked();
    autorTitelPage_->Store(v);
    bibliothekPage_->Store(v);
    schlagwortePage_->Store(v);
    internPage_->Store(v);
}

void TBuchEditDlg::ApplyEnabled()
{
    const TitleEditorValues& v = model_.Values;
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
    bibliothekPage_->VerlinkenButton()->setEnabled(!model_.IsDisabled(C::EditQuelle));
    picturePage_->SetReadOnly(model_.IsDisabled(C::ButtonBildHinzufuegen));
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

void TBuchEditDlg::FocusControl(EditControl control)
{
    QWidget* w = Control(control);
    if (!w) // the picture page's button belongs to the picture page
        w = findChild<QWidget*>(QString::fromLatin1(ControlName(control)));
    if (control == C::RadioGroup_LiteraturTyp) {
        const QButtonGroup* typ = bibliothekPage_->LiteraturTyp();
        w = typ->checkedButton() ? typ->checkedButton() : typ->button(TypUnklar);
    } else if (control == C::RadioGroupVerleihstatus) {
        w = internPage_->Verleihstatus()->checkedButton();
    }
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
    const std::optional<std::string> chosen = model_.ChooseDocument(controls_.ReadText(C::EditQuelle));
    if (!chosen)
        return;
    StoreToModel();
    model_.Values.Quelle = *chosen;
    LoadFromModel();
}

void TBuchEditDlg::QuelleDoubleClicked()
{
    TraceScope trace("BuchEditDlg.QuelleDoubleClicked");
    const std::string text = controls_.ReadText(C::EditQuelle);
    if (!QuelleStartsDocument(text, CheckBox(C::CheckBoxQuelleAlsLinkBenutzen)->isChecked()))
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
    model_.Values.Schlagworte = controls_.ReadText(C::MemoSchlagworte);
    model_.SchlagworteTyped();
    schlagwortePage_->ShowKeywordSelection(model_.Values.AlleSchlagworteSelected);
}

void TBuchEditDlg::KeywordClicked()
{
    const QListWidget* list = schlagwortePage_->KeywordList();
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

} // namespace folianto
