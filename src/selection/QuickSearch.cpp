#include "selection/QuickSearch.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "application/App.h"

namespace folianto {

namespace {
int TargetColumn(const App& app, int choice)
{
    const char* info = choice == QuickAutor ? "Autor" : choice == QuickKategorie ? "Kategorie" : "Titel";
    return app.columns.PosOfInfo(info);
}

bool StartsWithUpper(std::string_view cell, const std::string& upperPrefix)
{
    if (cell.size() < upperPrefix.size())
        return false;
    for (std::size_t i = 0; i < upperPrefix.size(); ++i) {
        char c = cell[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upperPrefix[i])
            return false;
    }
    return true;
}
} // namespace

bool TypeAheadKey(App& app, char key, KeyMods mods)
{
    if (mods.shift || mods.ctrl || mods.alt)
        return false;
    if (key >= 'a' && key <= 'z')
        key = static_cast<char>(key - 'a' + 'A');
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == ' '))
        return false;
    TraceScope trace("FoliantoMainWindow.TypeAheadKey");
    SelectionState& sel = app.selection;
    int col = TargetColumn(app, sel.QuickSearchColumn);
    if (sel.QuickSearchColumn != QuickTitel && col == -1) {
        app.ui.message(MsgKind::Information,
                       Cp1252("Die Schnellsuche in der gewünschten Spalte ist nicht möglich!\r\n"
                              "Die Spalte wird auf die \"Titel\"-Spalte umgestellt!"),
                       Buttons::Ok);
        sel.QuickSearchColumn = QuickTitel;
        col = TargetColumn(app, QuickTitel);
    }
    if (col == -1)
        return false;
    sel.TypeAheadText += key;
    app.grid.NotifyStatus();
    GridModel& grid = app.grid;
    for (int row = 1; row < grid.RowCount(); ++row)
        if (StartsWithUpper(grid.Cell(col, row), sel.TypeAheadText)) {
            grid.Row = row;
            grid.Selection = {grid.Col, row, grid.Col, row};
            grid.NotifyCurrent();
            break;
        }
    return true;
}

void ResetTypeAhead(App& app)
{
    app.selection.TypeAheadText.clear();
    app.grid.NotifyStatus();
}

void SetQuickSearchColumn(App& app, int choice)
{
    app.selection.QuickSearchColumn = choice;
    ResetTypeAhead(app);
}

} // namespace folianto
