#include "shell/MainCommands.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "application/App.h"
#include "application/Recovery.h"
#include "application/SemaphoreFile.h"
#include "editor/PictureLinks.h"
#include "selection/DuplicateFinder.h"
#include "shell/FileCommands.h"
#include "shell/GridRules.h"

namespace folianto {

bool DeleteCurrentTitle(App& app)
{
    TraceScope trace("FoliantoMainWindow.Titel_Loeschen");
    TitleStore& store = app.store;
    if (!store.at(store.ActBuch)) {
        const uint8_t nr = app.grid.RowCount() <= store.AnzBuch + 1 ? 12 : 20;
        app.ui.message(MsgKind::Error, GetErrorText(nr), Buttons::Ok);
        return false;
    }
    if (!DeleteAllowed(store, app.ui))
        return false;
    TitleChange change(app.titleHistory, Cp1252("Titel löschen"));
    // The title that moves into the deleted one's row becomes current (the
    // one above when the last row goes), so the cursor stays where it was.
    const GridModel& grid = app.grid;
    const std::vector<int32_t>& shown = app.selection.AusgabeBuchNr;
    const int row = grid.Row;
    const bool inRow = row >= 1 && row < grid.RowCount() && shown[static_cast<std::size_t>(row)] == store.current()->BuchNr;
    const int neighbour = row + 1 < grid.RowCount() ? row + 1 : row - 1;
    const int32_t nextNr = inRow && neighbour >= 1 ? shown[static_cast<std::size_t>(neighbour)] : 0;
    store.DeleteActBuch();
    if (inRow)
        store.ActBuch = store.FindBuchByNr(nextNr);
    SetAusgabeData(app);
    store.Gesichert = false;
    app.ui.repaint();
    return true;
}

namespace {

// After the store went back or forth a step: the lists and the grid follow.
bool ShowHistoryMove(App& app, bool moved)
{
    if (!moved)
        return false;
    Fill_AllLists(app);
    SetAusgabeData(app);
    app.ui.repaint();
    return true;
}

} // namespace

bool UndoTitleChange(App& app)
{
    TraceScope trace("FoliantoMainWindow.Rueckgaengig");
    return ShowHistoryMove(app, app.titleHistory.Undo());
}

bool RedoTitleChange(App& app)
{
    TraceScope trace("FoliantoMainWindow.Wiederherstellen");
    return ShowHistoryMove(app, app.titleHistory.Redo());
}

void NewDatabase(App& app)
{
    TraceScope trace("FoliantoMainWindow.NeueDatei");
    EraseSemaphoreFile(app, app.DataFileName);
    app.recovery.Leave(app.store.Gesichert);
    app.store.Clear();
    app.DataFileName.clear();
    app.store.Gesichert = true;
    app.titleHistory.Clear();
    ResetSelection(app);
    app.selection.SuchText.clear();
    app.grid.ResetToHeader();
    app.grid.NotifyReset();
    app.grid.NotifyStatus();
    if (OfferRecovery(app, {})) {
        Fill_AllLists(app);
        SetAusgabeData(app);
    }
    app.ui.repaint();
}

bool EndAllowed(App& app)
{
    TraceScope trace("FoliantoMainWindow.EndAllowed");
    const Answer answer = app.ui.message(MsgKind::Confirmation,
                                         "Folianto: Sicherheitssystem\r\n\r\n" +
                                             Cp1252("Die Buchdaten wurden geändert, aber noch nicht gesichert.\r\n"
                                                "Die Buchdaten jetzt sichern?"),
                                         Buttons::YesNoAbort);
    switch (answer) {
    case Answer::Yes:
        if (HasPrintable(app.DataFileName))
            FileSave(app);
        else
            FileSaveAs(app);
        return app.store.Gesichert;
    case Answer::No:
        return true;
    default:
        return false;
    }
}

bool ReplaceAllowed(App& app)
{
    return app.store.Gesichert || EndAllowed(app);
}

bool OpenCurrentTitle(App& app)
{
    TraceScope trace("FoliantoMainWindow.BuchStringGridDblClick");
    if (app.grid.Row < 1 || app.store.AnzBuch < 1)
        return false;
    GetCurrentBuch(app);
    BusyCursor busy(app.ui);
    const TBuch* b = app.store.current();
    if (b && (b->TypNum & LinkFlag) != 0 && app.grid.Col == GridColumnOf(app.columns, app.grid, ColLink) &&
        app.ui.message(MsgKind::Confirmation,
                       Cp1252("Dieser Titel hat einen Link auf ein Dokument.\r\n\r\n"
                              "Soll diesem Link gefolgt und der Titel dargestellt\r\n"
                              "werden (\"Nein\" öffnet den Folianto-Titeleditor)?"),
                       Buttons::YesNo) == Answer::Yes) {
        StartDocument(app.ui, app.DocStarted, b->Quelle.Text);
        return false;
    }
    return true;
}

void ResetFilterAndSearch(App& app)
{
    TraceScope trace("FoliantoMainWindow.ResetFilterSearch");
    app.selection.SuchenIn.fill(false);
    EndDuplicateSelection(app);
    Fill_AllLists(app);
    SetAusgabeData(app);
}

} // namespace folianto
