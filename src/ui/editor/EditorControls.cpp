#include "ui/editor/EditorControls.h"

#include "core/Codec.h"
#include "ui/editor/MemoBox.h"
#include "ui/editor/SelectComboBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <unordered_map>

namespace folianto {

namespace {

constexpr int MemoMinHeight = 30;

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
    else if (auto* memo = qobject_cast<MemoBox*>(w))
        memo->SetText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        plain->setPlainText(text);
}

} // namespace

QString Utf8(const char* utf8) { return QString::fromUtf8(utf8); }

QString Hint(EditControl c) { return FromCp1252(ControlHint(c)); }

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

QLineEdit* LineEditOf(QWidget* w)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit;
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->lineEdit();
    return nullptr;
}

EditorControls::EditorControls(const TitleEditorModel& model, QObject* filter) : model_(model), filter_(filter) {}

// ---------------------------------------------------------------------------
// Creating

void EditorControls::Register(EditControl control, QWidget* widget)
{
    controls_[Idx(control)] = widget;
    widget->setObjectName(QString::fromLatin1(ControlName(control)));
    Watch(widget, control);
    if (!captions_[Idx(control)])
        captions_[Idx(control)] = widget;
}

void EditorControls::Watch(QObject* widget, EditControl control)
{
    widget->installEventFilter(filter_);
    controlOf_.insert(widget, control);
}

QString EditorControls::Label(EditControl control) const
{
    return FromCp1252(model_.Label(control));
}

QLabel* EditorControls::BuddyLabel(EditControl control, QWidget* parent)
{
    auto* label = new QLabel(Label(control), parent);
    label->setObjectName(QString::fromLatin1(ControlName(control)) + QStringLiteral("Label"));
    captions_[Idx(control)] = label;
    return label;
}

QComboBox* EditorControls::ChoiceCombo(EditControl control, QWidget* parent)
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

QLineEdit* EditorControls::LineEdit(EditControl control, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    Register(control, edit);
    return edit;
}

QPlainTextEdit* EditorControls::Memo(EditControl control, QWidget* parent)
{
    auto* memo = new MemoBox(parent);
    memo->setMinimumHeight(MemoMinHeight);
    Register(control, memo);
    return memo;
}

void EditorControls::AddField(QGridLayout* grid, int row, int col, EditControl control, QWidget* field, int span)
{
    QLabel* label = BuddyLabel(control, field->parentWidget());
    label->setBuddy(field);
    grid->addWidget(label, row, col);
    grid->addWidget(field, row, col + 1, 1, span);
}

EditControl EditorControls::ControlOf(const QObject* object) const
{
    return controlOf_.value(object, EditControl::Count);
}

// ---------------------------------------------------------------------------
// Between the controls and the model

void EditorControls::ShowText(EditControl control, const std::string& bytes)
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

std::string EditorControls::ReadText(EditControl control) const
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

void EditorControls::ShowChoice(EditControl control, const ChoiceBox& box, bool sorted)
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

void EditorControls::ShowMultiSelect(EditControl control, const MultiSelectBox& box)
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

void EditorControls::ReadMultiSelect(EditControl control, MultiSelectBox& box) const
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

void EditorControls::ShowFields(const TitleEditorValues& v, std::initializer_list<TextField> texts,
                                std::initializer_list<ChoiceField> choices)
{
    for (const TextField& f : texts)
        ShowText(f.control, v.*f.value);
    for (const ChoiceField& f : choices)
        ShowChoice(f.control, v.*f.box);
}

void EditorControls::ReadFields(TitleEditorValues& v, std::initializer_list<TextField> texts,
                                std::initializer_list<ChoiceField> choices) const
{
    for (const TextField& f : texts)
        v.*f.value = ReadText(f.control);
    for (const ChoiceField& f : choices)
        (v.*f.box).Text = ReadText(f.control);
}

void EditorControls::ShowItems(EditControl control, const std::vector<std::string>& items)
{
    auto* list = static_cast<QListWidget*>(Control(control));
    std::vector<std::string>& shown = shownItems_[Idx(control)];
    if (shown == items)
        return;
    shown = items;
    const QSignalBlocker block(list);
    list->clear();
    QStringList texts;
    for (const std::string& item : items)
        texts << FromCp1252(item);
    list->addItems(texts);
}

void EditorControls::ApplyLabels()
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
    for (EditControl c : {EditControl::ComboBoxAutor, EditControl::ComboBoxHerausgeber}) {
        auto* box = static_cast<TSelectComboBox*>(Control(c));
        box->Popup()->List()->setAccessibleName(box->accessibleName());
    }
}

} // namespace folianto
