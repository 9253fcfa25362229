#pragma once
// The title editor's controls by EditControl: each page creates its controls
// here, and every page shows and reads them through it. A control's text
// keeps the stored Windows-1252 bytes while the user leaves it untouched.

#include "editor/TitleEditorModel.h"

#include <QHash>
#include <QString>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QObject;
class QPlainTextEdit;
class QWidget;

namespace folianto {

// Text from the UTF-8 source.
QString Utf8(const char* utf8);
// The control's hint as the widget shows it.
QString Hint(EditControl control);
// A caption as a screen reader reads it: without the mnemonic mark, the
// blanks around it and a final colon ("Ort:" names the field "Ort").
QString AccessibleText(const QString& caption);
// The line edit of a line edit or an editable combo box; nullptr otherwise.
QLineEdit* LineEditOf(QWidget* widget);

class EditorControls {
public:
    // `model` gives the captions; `filter` watches every control registered.
    EditorControls(const TitleEditorModel& model, QObject* filter);

    // Creating: the widget gets the control's object name and the filter.
    void Register(EditControl control, QWidget* widget);
    // Another widget of a control (a radio button of its group).
    void Watch(QObject* widget, EditControl control);
    // The model's caption of the control.
    QString Label(EditControl control) const;
    QLabel* BuddyLabel(EditControl control, QWidget* parent);
    // An editable combo box, a line edit, a memo.
    QComboBox* ChoiceCombo(EditControl control, QWidget* parent);
    QLineEdit* LineEdit(EditControl control, QWidget* parent);
    QPlainTextEdit* Memo(EditControl control, QWidget* parent);
    // A label and its field in one grid row; `span` columns for the field.
    void AddField(QGridLayout* grid, int row, int col, EditControl control, QWidget* field, int span = 1);
    // The widget that shows the control's caption (label, group or the control).
    void SetCaption(EditControl control, QWidget* caption) { captions_[Idx(control)] = caption; }

    QWidget* Control(EditControl control) const { return controls_[Idx(control)]; }
    // The control a watched widget belongs to; EditControl::Count for others.
    EditControl ControlOf(const QObject* object) const;

    // Text shown in a control, keeping the stored bytes while it is untouched.
    void ShowText(EditControl control, const std::string& bytes);
    std::string ReadText(EditControl control) const;
    void ShowChoice(EditControl control, const ChoiceBox& box, bool sorted = true);
    void ShowMultiSelect(EditControl control, const MultiSelectBox& box);
    void ReadMultiSelect(EditControl control, MultiSelectBox& box) const;
    // A page's plain text fields and single-value boxes and the values they show.
    struct TextField {
        EditControl control;
        std::string TitleEditorValues::*value;
    };
    struct ChoiceField {
        EditControl control;
        ChoiceBox TitleEditorValues::*box;
    };
    void ShowFields(const TitleEditorValues& v, std::initializer_list<TextField> texts,
                    std::initializer_list<ChoiceField> choices = {});
    void ReadFields(TitleEditorValues& v, std::initializer_list<TextField> texts,
                    std::initializer_list<ChoiceField> choices = {}) const;
    // A list widget's items, refilled only when they changed since last shown.
    void ShowItems(EditControl control, const std::vector<std::string>& items);
    // The model's captions on every label, group and button.
    void ApplyLabels();

private:
    static constexpr std::size_t Idx(EditControl c) { return static_cast<std::size_t>(c); }

    const TitleEditorModel& model_;
    QObject* filter_;
    std::array<QWidget*, EditControlCount> controls_{};
    std::array<QWidget*, EditControlCount> captions_{};
    struct ShownText {
        QString shown;
        std::string bytes;
    };
    std::array<ShownText, EditControlCount> shownTexts_{};
    std::array<std::vector<std::string>, EditControlCount> shownItems_{}; // model items last shown
    std::array<std::vector<std::size_t>, EditControlCount> displayOrder_{}; // shown entry -> model item
    QHash<const QObject*, EditControl> controlOf_;
};

} // namespace folianto
