#include "selection/Selection.h"

#include "shell/App.h"

namespace folianto {

void ResetSelection(App& app)
{
    app.selection.AusgabeBuchNr.clear();
    app.selection.SuchenIn[0] = false;
    app.selection.FilternVon[0] = false;
}

void SetAusgabeData(App&) {}
void GetCurrentBuch(App&) {}

} // namespace folianto
