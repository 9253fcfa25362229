#include "shell/TitleCommands.h"

#include "core/Trace.h"
#include "editor/BuchEditModel.h"
#include "editor/ShortKeys.h"
#include "selection/Selection.h"
#include "application/App.h"
#include "shell/MainCommands.h"

namespace folianto {
namespace {

std::string EditorCaption(const char* what)
{
    return std::string("Folianto - Titel-Editor: ") + what;
}

} // namespace

void NewTitle(App& app, BuchEditModel& editor, TitleEditorView& view)
{
    TraceScope trace("FoliantoMainWindow.NeuesBuch");
    app.EditMode = EditModeNew;
    editor.Caption = EditorCaption("Neu anlegen");
    editor.InitForm(-1);
    if (view.ShowModal())
        SetAusgabeData(app);
    app.ui.repaint();
}

void EditTitle(App& app, BuchEditModel& editor, TitleEditorView& view, bool copy)
{
    TraceScope trace(copy ? "FoliantoMainWindow.Titel_Kopieren" : "FoliantoMainWindow.Titel_Bearbeiten");
    app.EditMode = EditModeEdit;
    const int32_t rememberedBuch = app.store.ActBuch;
    const int topRow = view.GridTopRow();
    {
        BusyCursor busy(app.ui);
        editor.InitForm(app.grid.Col);
        if (!editor.GetValues())
            return;
        editor.Caption = EditorCaption("Bearbeiten");
        if (copy && app.store.ActBuch > 0) {
            editor.Caption = EditorCaption("Kopieren");
            editor.Values.Kopieren = true;
            editor.Values.Kuerzel = MakeUniqueCopyKuerzel(app, app.store.ActBuch);
        }
    }
    view.ShowModal();
    app.store.ActBuch = rememberedBuch;
    SetAusgabeData(app);
    view.ScrollGridTo(topRow);
}

void ViewTitle(App& app, BuchEditModel& editor, TitleEditorView& view)
{
    TraceScope trace("FoliantoMainWindow.Titel_Ansehen");
    app.EditMode = EditModeView;
    editor.InitForm(app.grid.Col); // page 1 unless the grid column names a field
    editor.Caption = EditorCaption("Ansehen");
    editor.Disabled = ViewModeDisabledControls();
    editor.GetValues(); // a missing title is reported; the dialog shows anyway
    view.ShowModal();
    editor.Disabled.clear();
}

void GridDoubleClick(App& app, BuchEditModel& editor, TitleEditorView& view)
{
    TraceScope trace("FoliantoMainWindow.Titel_DblClick");
    if (OpenCurrentTitle(app))
        EditTitle(app, editor, view, false);
}

} // namespace folianto
