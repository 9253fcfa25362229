#include "application/StatusBar.h"

#include "core/Text.h"
#include "application/App.h"

#include <algorithm>

namespace folianto {
namespace {

// A search, filter, keyword or author selection is in force.
bool CriterionInForce(const App& app)
{
    const SelectionState& sel = app.selection;
    return sel.SuchenIn[0] || sel.FilternVon[0] || !app.lists.SchlagworteSearchList.SearchListAllActive() ||
           !app.lists.AutorSearchList.SearchListAllActive();
}

} // namespace

StatusPanels ShowHint(const App& app)
{
    StatusPanels p;
    p.Text[0] = "Folianto V." + app.platform.ProgramVersion();

    const int32_t total = app.store.AnzBuch;
    // An empty row 1 means nothing is shown, although the grid keeps two rows.
    const bool noneShown = app.selection.AusgabeBuchNr.size() < 2 || app.selection.AusgabeBuchNr[1] == 0;
    const int shown = noneShown ? 0 : app.grid.RowCount() - 1;
    std::string text;
    if (total > 0)
        text = " " + IntToStr(shown) + " Titel gezeigt von ";
    if (total == 1)
        text += "1 Titel";
    else if (total > 1)
        text += IntToStr(total) + " Titeln";
    if (total > 0 && !app.selection.DuplicateGroup.empty())
        text += " (doppelte Titel)";
    else if (shown < total && CriterionInForce(app)) // says why titles are missing
        text += " (Filter aktiv)";
    p.Text[1] = text;
    p.Text[2] = app.DataFileName;
    p.Text[3] = app.selection.TypeAheadText;

    for (int i = 0; i < StatusPanelCount; ++i)
        p.Width[static_cast<std::size_t>(i)] =
            std::max(50, app.grid.Measurer().TextWidth(p.Text[static_cast<std::size_t>(i)]) + 12);
    return p;
}

} // namespace folianto
