#include "shell/MainCommands.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "workspace/Workspace.h"
#include "editor/PictureLinks.h"
#include "selection/DuplicateFinder.h"
#include "shell/GridRules.h"
#include "selection/Selection.h"
#include "selection/SearchLists.h"

namespace folianto {

bool DeleteCurrentTitle(Workspace& ws)
{
    TraceScope trace("MainCommands.Titel_Loeschen");
    TitleStore& store = ws.store;
    if (!store.at(store.ActBuch)) {
        const uint8_t nr = ws.grid.RowCount() <= store.AnzBuch + 1 ? 12 : 20;
        ws.ui.message(MsgKind::Error, GetErrorText(nr), Buttons::Ok);
        return false;
    }
    if (!DeleteAllowed(store, ws.ui))
        return false;
    TitleChange change(ws.titleHistory, Cp1252("Titel löschen"));
    // The title that moves into the deleted one's row becomes current (the
    // one above when the last row goes), so the cursor stays where it was.
    const GridModel& grid = ws.grid;
    const std::vector<int32_t>& shown = ws.selection.AusgabeBuchNr;
    const int row = grid.Row;
    const bool inRow = row >= 1 && row < grid.RowCount() && shown[static_cast<std::size_t>(row)] == store.current()->BuchNr;
    const int neighbour = row + 1 < grid.RowCount() ? row + 1 : row - 1;
    const int32_t nextNr = inRow && neighbour >= 1 ? shown[static_cast<std::size_t>(neighbour)] : 0;
    store.DeleteActBuch();
    if (inRow)
        store.ActBuch = store.FindBuchByNr(nextNr);
    SetAusgabeData(ws);
    store.MarkChanged();
    ws.ui.repaint();
    return true;
}

namespace {

// After the store went back or forth a step: the lists and the grid follow.
bool ShowHistoryMove(Workspace& ws, bool moved)
{
    if (!moved)
        return false;
    Fill_AllLists(ws);
    SetAusgabeData(ws);
    ws.ui.repaint();
    return true;
}

} // namespace

bool UndoTitleChange(Workspace& ws)
{
    TraceScope trace("MainCommands.Rueckgaengig");
    return ShowHistoryMove(ws, ws.titleHistory.Undo());
}

bool RedoTitleChange(Workspace& ws)
{
    TraceScope trace("MainCommands.Wiederherstellen");
    return ShowHistoryMove(ws, ws.titleHistory.Redo());
}

bool OpenCurrentTitle(Workspace& ws)
{
    TraceScope trace("MainCommands.BuchStringGridDblClick");
    if (ws.grid.Row < 1 || ws.store.AnzBuch < 1)
        return false;
    GetCurrentBuch(ws);
    BusyCursor busy(ws.ui);
    const TBuch* b = ws.store.current();
    if (b && (b->TypNum & LinkFlag) != 0 && ws.grid.Col == GridColumnOf(ws.columns, ws.grid, ColLink) &&
        ws.ui.message(MsgKind::Confirmation,
                       Cp1252("Dieser Titel hat einen Link auf ein Dokument.\r\n\r\n"
                              "Soll diesem Link gefolgt und der Titel dargestellt\r\n"
                              "werden (\"Nein\" öffnet den Folianto-Titeleditor)?"),
                       Buttons::YesNo) == Answer::Yes) {
        StartDocument(ws.ui, ws.DocStarted, b->Quelle.Text);
        return false;
    }
    return true;
}

void ResetFilterAndSearch(Workspace& ws)
{
    TraceScope trace("MainCommands.ResetFilterSearch");
    ws.selection.SuchenIn.fill(false);
    EndDuplicateSelection(ws);
    Fill_AllLists(ws);
    SetAusgabeData(ws);
}

} // namespace folianto
