#include "ui/editor/InternPage.h"

#include "core/Codec.h"
#include "ui/editor/EditorControls.h"
#include "ui/editor/KaufdatumBox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace folianto {

namespace {

using C = EditControl;

const char* const VerleihstatusItems[4] = {"&vorhanden", "&verliehen an ...", "&ausgeliehen aus ...",
                                           "zukünftig &besorgen"};

using V = TitleEditorValues;
const std::initializer_list<EditorControls::TextField> kTexts = {
    {C::EditVerleihstatus, &V::VerliehenAn}, {C::EditPreis, &V::Preis}};
const std::initializer_list<EditorControls::ChoiceField> kChoices = {
    {C::ComboBoxSprache, &V::Sprache},   {C::ComboBoxTyp, &V::Typ},             {C::ComboBoxOwner, &V::Owner},
    {C::ComboBoxStandort, &V::Standort}, {C::ComboBoxKategorie, &V::Kategorie},
};

} // namespace

InternPage::InternPage(EditorControls& controls, QWidget* parent) : QWidget(parent), controls_(controls)
{
    setObjectName(QStringLiteral("TabSheetIntern"));
    grid_ = new QGridLayout(this);
    // Typ (2) first: Tab from the short key and from the remark lands there.
    for (EditControl c : {C::ComboBoxTyp, C::ComboBoxSprache, C::ComboBoxKategorie, C::ComboBoxOwner,
                          C::ComboBoxStandort})
        controls_.AddField(grid_, row_++, 0, c, controls_.ChoiceCombo(c, this), 2);
    grid_->addWidget(BuildVerleihstatus(), row_++, 0, 1, 3);

    QLineEdit* price = controls_.LineEdit(C::EditPreis, this);
    price->setMaximumWidth(140);
    QComboBox* currency = controls_.ChoiceCombo(C::ComboBoxWaehrung, this);
    currency->lineEdit()->setMaxLength(4);
    currency->setMinimumContentsLength(5);
    currency->setAccessibleName(Utf8("Währung"));
    AddShortRow(C::EditPreis, {price, currency});
    auto* date = new KaufdatumBox(this);
    date->setToolTip(Hint(C::DateTimePickerKaufdatum));
    date->setMinimumWidth(140);
    controls_.Register(C::DateTimePickerKaufdatum, date);
    AddShortRow(C::DateTimePickerKaufdatum, {date});
    grid_->setColumnStretch(1, 1);
    grid_->setRowStretch(row_, 1);
}

QWidget* InternPage::BuildVerleihstatus()
{
    auto* group = new QGroupBox(controls_.Label(C::RadioGroupVerleihstatus), this);
    controls_.Register(C::RadioGroupVerleihstatus, group);
    auto* lending = new QGridLayout(group);
    verleihstatus_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(Utf8(VerleihstatusItems[i]), group);
        radio->setObjectName(QStringLiteral("RadioVerleihstatus%1").arg(i));
        controls_.Watch(radio, C::RadioGroupVerleihstatus);
        verleihstatus_->addButton(radio, i);
        lending->addWidget(radio, i % 2, i / 2); // two columns
    }
    verleihstatusLabel_ = new QLabel(group);
    verleihstatusLabel_->setObjectName(QStringLiteral("LabelVerleihstatus"));
    lending->addWidget(verleihstatusLabel_, 2, 0);
    QLineEdit* lentTo = controls_.LineEdit(C::EditVerleihstatus, group);
    verleihstatusLabel_->setBuddy(lentTo);
    lending->addWidget(lentTo, 2, 1);
    return group;
}

void InternPage::AddShortRow(EditControl control, std::initializer_list<QWidget*> fields)
{
    QLabel* label = controls_.BuddyLabel(control, this);
    label->setBuddy(*fields.begin());
    auto* line = new QHBoxLayout;
    for (QWidget* f : fields)
        line->addWidget(f);
    line->addStretch();
    grid_->addWidget(label, row_, 0);
    grid_->addLayout(line, row_, 1, 1, 2);
    ++row_;
}

void InternPage::Load(const TitleEditorValues& v)
{
    if (QAbstractButton* state = verleihstatus_->button(v.Verleihstatus))
        state->setChecked(true);
    verleihstatusLabel_->setText(FromCp1252(v.VerleihstatusLabel));
    QWidget* lentTo = controls_.Control(C::EditVerleihstatus);
    lentTo->setAccessibleName(AccessibleText(verleihstatusLabel_->text()));
    lentTo->setVisible(v.VerliehenAnVisible);
    controls_.ShowFields(v, kTexts, kChoices);
    controls_.ShowChoice(C::ComboBoxWaehrung, v.Waehrung, false); // in the order found
    static_cast<KaufdatumBox*>(controls_.Control(C::DateTimePickerKaufdatum))->SetDay(v.Kaufdatum);
}

void InternPage::Store(TitleEditorValues& v) const
{
    if (verleihstatus_->checkedId() >= 0)
        v.Verleihstatus = verleihstatus_->checkedId();
    controls_.ReadFields(v, kTexts, kChoices);
    v.Waehrung.Text = controls_.ReadText(C::ComboBoxWaehrung);
    v.Kaufdatum = static_cast<KaufdatumBox*>(controls_.Control(C::DateTimePickerKaufdatum))->Day();
}

} // namespace folianto
