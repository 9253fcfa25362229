#pragma once
// The title commands of the main window: new, edit, copy and view a title in
// the title editor, and the grid's double click. The dialog itself is behind
// TitleEditorView, so the sequences run without a display.

namespace folianto {

struct Workspace;
class TitleEditorModel;

// What the title commands need from the widget layer.
class TitleEditorView {
public:
    virtual ~TitleEditorView() = default;
    // Shows the editor modally with the model's values; true when it closed with OK.
    virtual bool ShowModal() = 0;
    // The grid's first visible data row, and scrolling back to it.
    virtual int GridTopRow() const { return 1; }
    virtual void ScrollGridTo(int /*topRow*/) {}
};

// "&Neu eingeben", "neuen Titel erfassen", "neues Buch eingeben".
void NewTitle(Workspace& ws, TitleEditorModel& editor, TitleEditorView& view);
// "&Bearbeiten", "Titel bearbeiten" (copy = false); "&Kopieren",
// "bestehenden Titel kopieren" (copy = true).
void EditTitle(Workspace& ws, TitleEditorModel& editor, TitleEditorView& view, bool copy);
// "&Ansehen": read-only; the grid is not rebuilt.
void ViewTitle(Workspace& ws, TitleEditorModel& editor, TitleEditorView& view);
// Double click or Enter in the grid: the document question in the link column,
// otherwise the edit command.
void GridDoubleClick(Workspace& ws, TitleEditorModel& editor, TitleEditorView& view);

} // namespace folianto
