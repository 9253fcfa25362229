#include "shell/TitleCommands.h"

#include "core/Trace.h"
#include "editor/TitleEditorModel.h"
#include "editor/ShortKeys.h"
#include "selection/Selection.h"
#include "workspace/Workspace.h"
#include "shell/MainCommands.h"

namespace folianto {
namespace {

std::string EditorCaption(const char* what)
{
    return std::string("Folianto - Titel-Editor: ") + what;
}

} // namespace

void NewTitle(Workspace& ws, TitleEditorModel& editor, TitleEditorView& view)
{
    TraceScope trace("TitleCommands.NeuesBuch");
    editor.Caption = EditorCaption("Neu anlegen");
    editor.InitForm(EditModeNew, -1);
    if (view.ShowModal())
        SetAusgabeData(ws);
    ws.ui.repaint();
}

void EditTitle(Workspace& ws, TitleEditorModel& editor, TitleEditorView& view, bool copy)
{
    TraceScope trace(copy ? "TitleCommands.Titel_Kopieren" : "TitleCommands.Titel_Bearbeiten");
    const int32_t rememberedBuch = ws.store.ActBuch;
    const int topRow = view.GridTopRow();
    {
        BusyCursor busy(ws.ui);
        editor.InitForm(EditModeEdit, ws.grid.Col);
        if (!editor.LoadFromStore())
            return;
        editor.Caption = EditorCaption("Bearbeiten");
        if (copy && ws.store.ActBuch > 0) {
            editor.Caption = EditorCaption("Kopieren");
            editor.Values.Kopieren = true;
            editor.Values.Kuerzel = MakeUniqueCopyKuerzel(ws.store, ws.settings, ws.store.ActBuch);
        }
    }
    view.ShowModal();
    ws.store.ActBuch = rememberedBuch;
    SetAusgabeData(ws);
    view.ScrollGridTo(topRow);
}

void ViewTitle(Workspace& ws, TitleEditorModel& editor, TitleEditorView& view)
{
    TraceScope trace("TitleCommands.Titel_Ansehen");
    editor.InitForm(EditModeView, ws.grid.Col); // page 1 unless the grid column names a field
    editor.Caption = EditorCaption("Ansehen");
    editor.Disabled = ViewModeDisabledControls();
    editor.LoadFromStore(); // a missing title is reported; the dialog shows anyway
    view.ShowModal();
    editor.Disabled.clear();
}

void GridDoubleClick(Workspace& ws, TitleEditorModel& editor, TitleEditorView& view)
{
    TraceScope trace("TitleCommands.Titel_DblClick");
    if (OpenCurrentTitle(ws))
        EditTitle(ws, editor, view, false);
}

} // namespace folianto
