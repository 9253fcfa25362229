#include "shell/MainCommands.h"

#include "core/ErrorText.h"
#include "diag/Trace.h"
#include "shell/App.h"

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
    store.DeleteActBuch();
    SetAusgabeData(app);
    store.Gesichert = false;
    app.ui.repaint();
    return true;
}

void NewDatabase(App& app)
{
    TraceScope trace("FoliantoMainWindow.NeueDatei");
    EraseSemaphoreFile(app, app.DataFileName);
    app.store.Clear();
    app.DataFileName.clear();
    app.store.Gesichert = true;
    ResetSelection(app);
    app.selection.SuchText.clear();
    app.grid.ResetToHeader();
    app.ui.repaint();
}

void ResetFilterAndSearch(App& app)
{
    TraceScope trace("FoliantoMainWindow.ResetFilterSearch");
    app.selection.SuchenIn.fill(false);
    Fill_AllLists(app);
    SetAusgabeData(app);
}

} // namespace folianto
