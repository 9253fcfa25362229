#pragma once
// Small catalogues for the selection tests.

#include "selection/Selection.h"
#include "support/Fakes.h"

namespace folianto::test {

// Appends a title with the given Titel (UTF-8 in the source).
inline TBuch& AddTitle(App& app, const char* titel)
{
    app.store.NewBuch();
    TBuch& b = *app.store.at(app.store.AnzBuch);
    b.Titel.Text = Cp1252(titel);
    b.TypNum = 0;
    return b;
}

// The Titel column of rows 1..RowCount-1, as UTF-8.
inline std::vector<std::string> ShownTitles(const App& app)
{
    std::vector<std::string> out;
    const int col = app.columns.PosOfInfo("Titel");
    for (int r = 1; r < app.grid.RowCount(); ++r)
        if (app.selection.AusgabeBuchNr[static_cast<std::size_t>(r)] != 0)
            out.push_back(Cp1252ToUtf8(app.grid.Cell(col, r)));
    return out;
}

} // namespace folianto::test
