#include "ui/editor/BibliothekPage.h"

#include "core/Codec.h"
#include "editor/PictureLinks.h"
#include "ui/editor/EditorControls.h"
#include "ui/editor/MemoBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace folianto {

namespace {

using C = EditControl;

const char* const LiteraturTypItems[TypCount] = {
    "&Monographie", "&Hochschulschrift", "&Sammelwerk", "Sammelwerk&beitrag", "&Zeitschriftenaufsatz",
    "Zeitungs&artikel", "Audio&visuelles Material", "&graue Literatur", "&unklar",
};

using V = TitleEditorValues;
const std::initializer_list<EditorControls::TextField> kTexts = {
    {C::AusgabeEdit, &V::Ausgabe}, {C::EditionYearEdit, &V::EditionYear}, {C::FirstEditionEdit, &V::FirstEdition},
    {C::BandEdit, &V::Band},       {C::ISBN_Edit, &V::ISBN},               {C::EditJahrgang, &V::Jahrgang},
    {C::EditJahr, &V::Jahr},       {C::EditHeftNr, &V::HeftNr},            {C::EditQuelle, &V::Quelle},
    {C::EditMedium, &V::Medium},   {C::EditLaenge, &V::Laenge},            {C::EditSeiten, &V::Seiten},
};
const std::initializer_list<EditorControls::ChoiceField> kChoices = {
    {C::ComboBoxSerie, &V::Serie}, {C::ComboBoxVerlag, &V::Verlag}, {C::ComboBoxOrt, &V::Ort},
    {C::ComboBoxZeitschrift, &V::Zeitschrift},
};

} // namespace

BibliothekPage::BibliothekPage(EditorControls& controls, QWidget* parent) : QWidget(parent), controls_(controls)
{
    setObjectName(QStringLiteral("TabSheetBibliothek"));
    auto* columns = new QHBoxLayout(this);
    // The type group comes first in the focus order (Tab from the short key).
    QVBoxLayout* right = BuildTypeColumn();
    auto* left = new QVBoxLayout;
    left->addWidget(BuildBooks());
    left->addWidget(BuildJournals());
    // The page count sits before the audio-visual group: for types 6 and 8
    // the length is the page's last field.
    left->addWidget(BuildPages());
    left->addWidget(BuildAudioVisual());
    left->addStretch();
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
}

QVBoxLayout* BibliothekPage::BuildTypeColumn()
{
    auto* right = new QVBoxLayout;
    auto* group = new QGroupBox(controls_.Label(C::RadioGroup_LiteraturTyp), this);
    controls_.Register(C::RadioGroup_LiteraturTyp, group);
    auto* typLayout = new QVBoxLayout(group);
    literaturTyp_ = new QButtonGroup(this);
    for (int i = 0; i < TypCount; ++i) {
        auto* radio = new QRadioButton(Utf8(LiteraturTypItems[i]), group);
        radio->setObjectName(QStringLiteral("RadioLiteraturTyp%1").arg(i));
        controls_.Watch(radio, C::RadioGroup_LiteraturTyp);
        literaturTyp_->addButton(radio, i);
        typLayout->addWidget(radio);
    }
    right->addWidget(group);
    auto* beschreibung = new MemoBox(this);
    beschreibung->setReadOnly(true);
    beschreibung->setFocusPolicy(Qt::ClickFocus);
    beschreibung->setAccessibleName(QStringLiteral("Beschreibung"));
    beschreibung->setMinimumHeight(110);
    controls_.Register(C::MemoBeschreibung, beschreibung);
    right->addWidget(beschreibung, 1);
    return right;
}

QGroupBox* BibliothekPage::Group(const char* objectName, const QString& title)
{
    auto* box = new QGroupBox(title, this);
    box->setObjectName(QString::fromLatin1(objectName));
    return box;
}

QGroupBox* BibliothekPage::BuildBooks()
{
    groupBuecher_ = Group("GroupBoxBuecher", Utf8(" Bücher "));
    QGroupBox* g = groupBuecher_;
    auto* books = new QGridLayout(g);
    controls_.AddField(books, 0, 0, C::AusgabeEdit, controls_.LineEdit(C::AusgabeEdit, g));
    controls_.AddField(books, 0, 2, C::EditionYearEdit, controls_.LineEdit(C::EditionYearEdit, g));
    controls_.AddField(books, 1, 0, C::FirstEditionEdit, controls_.LineEdit(C::FirstEditionEdit, g));
    controls_.AddField(books, 1, 2, C::BandEdit, controls_.LineEdit(C::BandEdit, g));
    controls_.AddField(books, 2, 0, C::ComboBoxSerie, controls_.ChoiceCombo(C::ComboBoxSerie, g), 3);
    // The place beside the publisher, as a citation names them.
    controls_.AddField(books, 3, 0, C::ComboBoxVerlag, controls_.ChoiceCombo(C::ComboBoxVerlag, g));
    controls_.AddField(books, 3, 2, C::ComboBoxOrt, controls_.ChoiceCombo(C::ComboBoxOrt, g));
    // The look-up sits beside the ISBN; it also takes a DOI from "Quelle:".
    controls_.AddField(books, 4, 0, C::ISBN_Edit, controls_.LineEdit(C::ISBN_Edit, g), 2);
    lookupButton_ = new QPushButton(Utf8("Nachschlagen"), g);
    lookupButton_->setObjectName(QStringLiteral("ButtonNachschlagen"));
    lookupButton_->setAccessibleName(lookupButton_->text());
    lookupButton_->setToolTip(Utf8("Titelangaben nach ISBN (oder DOI unter \"Quelle:\") in Bibliothekskatalogen nachschlagen"));
    lookupButton_->setAutoDefault(false);
    books->addWidget(lookupButton_, 4, 3);
    books->setColumnStretch(1, 1);
    books->setColumnStretch(3, 1);
    return g;
}

QGroupBox* BibliothekPage::BuildJournals()
{
    groupZeitschriften_ = Group("GroupBoxZeitschriften", Utf8(" Zeitschriften o.ä. "));
    QGroupBox* g = groupZeitschriften_;
    auto* journals = new QGridLayout(g);
    controls_.AddField(journals, 0, 0, C::ComboBoxZeitschrift, controls_.ChoiceCombo(C::ComboBoxZeitschrift, g), 5);
    controls_.AddField(journals, 1, 0, C::EditJahrgang, controls_.LineEdit(C::EditJahrgang, g));
    controls_.AddField(journals, 1, 2, C::EditJahr, controls_.LineEdit(C::EditJahr, g));
    controls_.AddField(journals, 1, 4, C::EditHeftNr, controls_.LineEdit(C::EditHeftNr, g));
    return g;
}

QGroupBox* BibliothekPage::BuildPages()
{
    groupSeiten_ = Group("GroupBoxSeiten", QString());
    auto* pages = new QGridLayout(groupSeiten_);
    controls_.AddField(pages, 0, 0, C::EditSeiten, controls_.LineEdit(C::EditSeiten, groupSeiten_));
    pages->setColumnStretch(1, 1);
    return groupSeiten_;
}

QGroupBox* BibliothekPage::BuildAudioVisual()
{
    groupAudioVisuell_ = Group("GroupBoxAudioVisuell", Utf8(" Audio-Visuelles Material "));
    QGroupBox* g = groupAudioVisuell_;
    auto* av = new QGridLayout(g);
    // Quelle gets the whole width: it often holds a full path or address.
    controls_.AddField(av, 0, 0, C::EditQuelle, controls_.LineEdit(C::EditQuelle, g), 3);
    auto* link = new QCheckBox(controls_.Label(C::CheckBoxQuelleAlsLinkBenutzen), g);
    controls_.Register(C::CheckBoxQuelleAlsLinkBenutzen, link);
    verlinkenButton_ = new QPushButton(Utf8("auf Datei verlinken"), g);
    verlinkenButton_->setObjectName(QStringLiteral("ButtonVerlinken"));
    verlinkenButton_->setAccessibleName(verlinkenButton_->text());
    verlinkenButton_->setAutoDefault(false);
    auto* linkRow = new QHBoxLayout;
    linkRow->addWidget(link);
    linkRow->addWidget(verlinkenButton_);
    linkRow->addStretch();
    av->addLayout(linkRow, 1, 1, 1, 3);
    controls_.AddField(av, 2, 0, C::EditMedium, controls_.LineEdit(C::EditMedium, g));
    controls_.AddField(av, 2, 2, C::EditLaenge, controls_.LineEdit(C::EditLaenge, g));
    av->setColumnStretch(1, 3);
    av->setColumnStretch(3, 2);
    return g;
}

void BibliothekPage::Load(const TitleEditorValues& v)
{
    if (QAbstractButton* typ = literaturTyp_->button(v.LiteraturTyp))
        typ->setChecked(true);
    controls_.ShowFields(v, kTexts, kChoices);
    static_cast<QCheckBox*>(controls_.Control(C::CheckBoxQuelleAlsLinkBenutzen))->setChecked(v.QuelleAlsLink);
    ApplyQuelleLink();
}

void BibliothekPage::Store(TitleEditorValues& v) const
{
    if (literaturTyp_->checkedId() >= 0)
        v.LiteraturTyp = literaturTyp_->checkedId();
    controls_.ReadFields(v, kTexts, kChoices);
    v.QuelleAlsLink = static_cast<QCheckBox*>(controls_.Control(C::CheckBoxQuelleAlsLinkBenutzen))->isChecked();
}

void BibliothekPage::ApplyPanel(const TypePanel& panel)
{
    groupBuecher_->setVisible(panel.Books);
    groupZeitschriften_->setVisible(panel.Journals);
    groupAudioVisuell_->setVisible(panel.AudioVisual);
    groupSeiten_->setVisible(panel.Pages);
    controls_.ShowText(C::MemoBeschreibung, panel.Description);
}

void BibliothekPage::ApplyQuelleLink()
{
    auto* quelle = static_cast<QLineEdit*>(controls_.Control(C::EditQuelle));
    const bool ticked = static_cast<QCheckBox*>(controls_.Control(C::CheckBoxQuelleAlsLinkBenutzen))->isChecked();
    quelle->setReadOnly(ticked);
    if (!quelle->isVisible())
        return; // no width to measure against yet; the resize brings it
    // A text that fits needs no hint: one left from before would name another
    // title's document.
    const std::optional<std::string> hint = QuelleHint(controls_.ReadText(C::EditQuelle), ticked,
                                                       quelle->fontMetrics().horizontalAdvance(quelle->text()),
                                                       quelle->width());
    quelle->setToolTip(hint ? FromCp1252(*hint) : QString());
}

} // namespace folianto
