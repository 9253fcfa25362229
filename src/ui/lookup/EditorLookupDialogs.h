#pragma once
// The editor's "Nachschlagen": the search with a cancel button, the choice
// of an edition, and the field-by-field choice where a field differs.

#include "lookup/EditorLookup.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QListWidget;

namespace folianto {

struct Settings;

// Chooses one of several editions (year, edition, publisher, pages shown).
class EditionChoiceDialog : public QDialog {
    Q_OBJECT
public:
    EditionChoiceDialog(const std::vector<Reference>& editions, QWidget* parent = nullptr);
    int Chosen() const;

private:
    QListWidget* list_ = nullptr;
};

// Shows each differing field with both values; a ticked field takes the found one.
class FieldChoiceDialog : public QDialog {
    Q_OBJECT
public:
    FieldChoiceDialog(const std::vector<FieldOffer>& offers, QWidget* parent = nullptr);
    std::vector<bool> Taken() const;

private:
    std::vector<QCheckBox*> boxes_;
};

// Looks up the identifier of the editor's fields and fills the model; the
// title itself changes only when the editor's OK stores it. True when the
// model's values changed.
bool RunEditorLookup(TitleEditorModel& model, const Settings& settings, QWidget* parent);

} // namespace folianto
