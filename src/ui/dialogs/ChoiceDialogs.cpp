#include "ui/dialogs/ChoiceDialogs.h"

#include "core/Codec.h"
#include "core/UserInteraction.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace folianto {

namespace {
QHBoxLayout* CentredButtons(QPushButton* a, QPushButton* b)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(a);
    row->addWidget(b);
    row->addStretch();
    return row;
}
} // namespace

// --- pick from a list --------------------------------------------------------

TForm_Select_From_List::TForm_Select_From_List(UserInteraction& ui, QWidget* parent) : QDialog(parent), ui_(ui)
{
    setObjectName(QStringLiteral("Form_Select_From_List"));
    setWindowTitle(QStringLiteral("Auswahl aus ... "));
    auto* layout = new QVBoxLayout(this);
    auto* hintRow = new QHBoxLayout;
    hintRow->addWidget(new QLabel(QStringLiteral("Hinweis:"), this));
    HintLabel = new QLabel(this);
    HintLabel->setObjectName(QStringLiteral("HintLabel"));
    hintRow->addWidget(HintLabel, 1);
    layout->addLayout(hintRow);
    auto* group = new QGroupBox(QStringLiteral(" Auswahl aus Liste "), this);
    auto* groupLayout = new QVBoxLayout(group);
    CheckList = new QListWidget(group);
    CheckList->setObjectName(QStringLiteral("CheckList"));
    CheckList->setAccessibleName(QStringLiteral("Auswahl aus Liste"));
    groupLayout->addWidget(CheckList);
    layout->addWidget(group, 1);
    WeiterButton = new QPushButton(QStringLiteral("&Weiter"), this);
    WeiterButton->setObjectName(QStringLiteral("WeiterButton"));
    WeiterButton->setDefault(true);
    AbortButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    AbortButton->setObjectName(QStringLiteral("AbortButton"));
    layout->addLayout(CentredButtons(WeiterButton, AbortButton));
    connect(WeiterButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(AbortButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(CheckList, &QListWidget::itemChanged, this, &TForm_Select_From_List::ItemChanged);
    resize(360, 320);
}

void TForm_Select_From_List::SetEntries(const QStringList& entries, const std::vector<bool>& enabled)
{
    adjusting_ = true;
    CheckList->clear();
    for (int i = 0; i < entries.size(); ++i) {
        auto* item = new QListWidgetItem(entries[i], CheckList);
        const bool on = i >= static_cast<int>(enabled.size()) || enabled[static_cast<std::size_t>(i)];
        item->setFlags(on ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable : Qt::NoItemFlags);
        item->setCheckState(Qt::Unchecked);
    }
    adjusting_ = false;
}

std::vector<int> TForm_Select_From_List::CheckedIndices() const
{
    std::vector<int> result;
    for (int i = 0; i < CheckList->count(); ++i)
        if (CheckList->item(i)->checkState() == Qt::Checked)
            result.push_back(i);
    return result;
}

void TForm_Select_From_List::showEvent(QShowEvent* event)
{
    QPalette palette = HintLabel->palette();
    if (singleChoice_) {
        HintLabel->setText(QStringLiteral("es kann nur EIN") + noun_ + QStringLiteral(" ausgewählt werden"));
        palette.setColor(QPalette::WindowText, Qt::red);
    } else {
        HintLabel->setText(QStringLiteral("es können mehrere ") + noun_ + QStringLiteral(" ausgewählt werden"));
        palette.setColor(QPalette::WindowText, this->palette().color(QPalette::WindowText));
    }
    HintLabel->setPalette(palette);
    QDialog::showEvent(event);
}

void TForm_Select_From_List::done(int result)
{
    forbidden_.clear();
    QDialog::done(result);
}

void TForm_Select_From_List::ItemChanged(QListWidgetItem* item)
{
    if (adjusting_ || item->checkState() != Qt::Checked)
        return;
    adjusting_ = true;
    const int ticked = CheckList->row(item);
    if (singleChoice_) {
        for (int i = 0; i < CheckList->count(); ++i) {
            if (i == ticked || CheckList->item(i)->checkState() != Qt::Checked)
                continue;
            const Answer a = ui_.message(MsgKind::Confirmation,
                                         Cp1252("Es ist bereits ein Eintrag markiert!\r\n\r\n"
                                                "Soll der bereits markierte Eintrag abgewählt und\r\n"
                                                "dieser Eintrag an seiner Stelle markiert werden?"),
                                         Buttons::YesNo);
            if (a == Answer::Yes)
                CheckList->item(i)->setCheckState(Qt::Unchecked);
        }
    } else {
        for (const auto& [a, b] : forbidden_) {
            if (a < 0 || b < 0 || a >= CheckList->count() || b >= CheckList->count())
                continue;
            if (CheckList->item(a)->checkState() != Qt::Checked || CheckList->item(b)->checkState() != Qt::Checked)
                continue;
            CheckList->item(b)->setCheckState(Qt::Unchecked);
            const std::string text = "Die Kombination von Eintrag \"" + ToCp1252(CheckList->item(a)->text()) +
                                     "\" und\r\nEintrag \"" + ToCp1252(CheckList->item(b)->text()) +
                                     Cp1252("\" ist nicht erlaubt!\r\n\r\nBitte Auswahl überprüfen!");
            ui_.message(MsgKind::Error, text, Buttons::Ok);
        }
    }
    adjusting_ = false;
}

// --- radio choice ------------------------------------------------------------

TForm_RadioSelect::TForm_RadioSelect(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_RadioSelect"));
    setWindowTitle(QStringLiteral("Auswahl"));
    RadioGroup = new QGroupBox(QStringLiteral(" bitte auswählen "), this);
    RadioGroup->setObjectName(QStringLiteral("RadioGroup"));
    buttons_ = new QButtonGroup(this);
    WeiterButton = new QPushButton(QStringLiteral("&Weiter"), this);
    WeiterButton->setObjectName(QStringLiteral("WeiterButton"));
    WeiterButton->setDefault(true);
    AbortButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    AbortButton->setObjectName(QStringLiteral("AbortButton"));
    connect(WeiterButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(AbortButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm_RadioSelect::SetChoices(const QStringList& choices, int preselected)
{
    for (QAbstractButton* b : buttons_->buttons()) {
        buttons_->removeButton(b);
        delete b;
    }
    count_ = static_cast<int>(choices.size());
    for (int i = 0; i < count_; ++i) {
        auto* radio = new QRadioButton(choices[i], RadioGroup);
        buttons_->addButton(radio, i);
        radio->setChecked(i == preselected);
    }
}

int TForm_RadioSelect::ChosenIndex() const { return buttons_->checkedId(); }

void TForm_RadioSelect::showEvent(QShowEvent* event)
{
    // The group is 16 pixels per choice plus 21 high; buttons 10 below it.
    const int width = 300;
    const int groupHeight = 16 * count_ + 21;
    RadioGroup->setGeometry(8, 8, width - 16, groupHeight);
    const auto radios = buttons_->buttons();
    for (QAbstractButton* b : radios)
        b->setGeometry(12, 16 + 16 * buttons_->id(b), width - 40, 16);
    const int buttonHeight = WeiterButton->sizeHint().height();
    const int buttonTop = 8 + groupHeight + 10;
    const int buttonWidth = 90;
    WeiterButton->setGeometry(width / 2 - buttonWidth - 4, buttonTop, buttonWidth, buttonHeight);
    AbortButton->setGeometry(width / 2 + 4, buttonTop, buttonWidth, buttonHeight);
    setFixedSize(width, groupHeight + buttonHeight + 40);
    QDialog::showEvent(event);
    // Keyboard: the arrow keys choose at once, Return confirms with the default button.
    if (!radios.isEmpty()) {
        QWidget::setTabOrder(radios.last(), WeiterButton);
        QWidget::setTabOrder(WeiterButton, AbortButton);
        if (QAbstractButton* chosen = buttons_->checkedButton())
            chosen->setFocus();
    }
}

// --- one-value input ---------------------------------------------------------

TEditorForm::TEditorForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("EditorForm"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    EingabeLabel = new QLabel(QStringLiteral("EingabeLabel = "), this);
    EingabeLabel->setObjectName(QStringLiteral("EingabeLabel"));
    row->addWidget(EingabeLabel);
    NumberEdit = new QLineEdit(this);
    NumberEdit->setObjectName(QStringLiteral("NumberEdit"));
    NumberEdit->setInputMask(QStringLiteral("99999;_"));
    NumberEdit->setMaximumWidth(NumberEdit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    row->addWidget(NumberEdit);
    TextEdit = new QLineEdit(this);
    TextEdit->setObjectName(QStringLiteral("TextEdit"));
    TextEdit->setMinimumWidth(220);
    row->addWidget(TextEdit, 1);
    layout->addLayout(row);
    OKButton = new QPushButton(QStringLiteral("&OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    AbortButton = new QPushButton(QStringLiteral("&Abbrechen"), this);
    AbortButton->setObjectName(QStringLiteral("AbortButton"));
    layout->addLayout(CentredButtons(OKButton, AbortButton));
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(AbortButton, &QPushButton::clicked, this, &QDialog::reject);
    UseNumberField(false);
}

void TEditorForm::SetLabel(const QString& text) { EingabeLabel->setText(text); }

void TEditorForm::UseNumberField(bool number)
{
    number_ = number;
    NumberEdit->setVisible(number);
    TextEdit->setVisible(!number);
}

void TEditorForm::SetValue(const QString& value)
{
    if (number_)
        NumberEdit->setText(value);
    else
        TextEdit->setText(value);
}

QString TEditorForm::Value() const
{
    if (number_)
        return NumberEdit->text().remove(QLatin1Char(' ')).remove(QLatin1Char('_'));
    return TextEdit->text();
}

} // namespace folianto
