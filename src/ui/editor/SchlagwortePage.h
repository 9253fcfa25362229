#pragma once
// Page 3 "Schlagworte, Inhalt, Bemerkungen" of the title editor: three memos
// in a splitter, the keyword memo beside the list of all keywords.

#include <QWidget>

class QListWidget;
class QToolButton;

namespace folianto {

class TitleEditorModel;
class EditorControls;
struct TitleEditorValues;

class SchlagwortePage : public QWidget {
public:
    // `model` gives the keywords the list's hints name.
    SchlagwortePage(EditorControls& controls, const TitleEditorModel& model, QWidget* parent);

    void Load(const TitleEditorValues& v);
    void Store(TitleEditorValues& v) const;
    // The list selects the model's keyword (none: no selection).
    void ShowKeywordSelection(int selected);

    QListWidget* KeywordList() const { return list_; }
    QToolButton* TakeOverButton() const { return take_; }

protected:
    // The list's hint: the entry under the pointer, else what the list holds.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildKeywordPane(QWidget* splitter);

    EditorControls& controls_;
    const TitleEditorModel& model_;
    QListWidget* list_ = nullptr;
    QToolButton* take_ = nullptr;
};

} // namespace folianto
