#include "selection/QuickSearch.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "workspace/Workspace.h"
#include "selection/Selection.h"

namespace folianto {

namespace {
int TargetColumn(const Workspace& ws, int choice)
{
    const char* info = choice == QuickAutor ? "Autor" : choice == QuickKategorie ? "Kategorie" : "Titel";
    return ws.columns.PosOfInfo(info);
}

// Capital of a Windows-1252 letter: a..z and the accented small letters
// (umlauts among them); every other byte, sharp s too, stays.
unsigned char Capital(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A; // š
    case 0x9C: return 0x8C; // œ
    case 0x9E: return 0x8E; // ž
    case 0xFF: return 0x9F; // ÿ
    default: return c;
    }
}

// A character the keyboard can type: no control character, no unassigned code.
bool Typeable(unsigned char c)
{
    return c >= 0x20 && c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
}

bool StartsWithUpper(std::string_view cell, const std::string& upperPrefix)
{
    if (cell.size() < upperPrefix.size())
        return false;
    for (std::size_t i = 0; i < upperPrefix.size(); ++i)
        if (Capital(static_cast<unsigned char>(cell[i])) != static_cast<unsigned char>(upperPrefix[i]))
            return false;
    return true;
}
} // namespace

bool TypeAheadKey(Workspace& ws, char key, KeyMods mods)
{
    // Ctrl or Alt alone make a command; both together are AltGr on some systems.
    if (mods.ctrl != mods.alt || !Typeable(static_cast<unsigned char>(key)))
        return false;
    key = static_cast<char>(Capital(static_cast<unsigned char>(key)));
    TraceScope trace("QuickSearch.TypeAheadKey");
    SelectionState& sel = ws.selection;
    int col = TargetColumn(ws, sel.QuickSearchColumn);
    if (sel.QuickSearchColumn != QuickTitel && col == -1) {
        ws.ui.message(MsgKind::Information,
                       Cp1252("Die Schnellsuche in der gewünschten Spalte ist nicht möglich!\r\n"
                              "Die Spalte wird auf die \"Titel\"-Spalte umgestellt!"),
                       Buttons::Ok);
        sel.QuickSearchColumn = QuickTitel;
        col = TargetColumn(ws, QuickTitel);
    }
    if (col == -1)
        return false;
    sel.TypeAheadText += key;
    ws.grid.NotifyStatus();
    GridModel& grid = ws.grid;
    for (int row = 1; row < grid.RowCount(); ++row)
        if (StartsWithUpper(grid.Cell(col, row), sel.TypeAheadText)) {
            SelectGridRow(ws, row);
            break;
        }
    return true;
}

void ResetTypeAhead(Workspace& ws)
{
    ws.selection.TypeAheadText.clear();
    ws.grid.NotifyStatus();
}

void SetQuickSearchColumn(Workspace& ws, int choice)
{
    ws.selection.QuickSearchColumn = choice;
    ResetTypeAhead(ws);
}

} // namespace folianto
