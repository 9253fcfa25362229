#include "shell/ColumnInspector.h"

#include "core/Text.h"
#include "core/Trace.h"
#include "workspace/ColumnModel.h"

namespace folianto {

std::vector<std::string> ColumnInspectorHeaders()
{
    return {"lfd. Nr.", "Info", "Header", "Pos", "Show", "Width", "WidthOk", "ImportPos"};
}

std::vector<InspectorRow> ColumnInspectorRows(const ColumnModel& columns)
{
    TraceScope trace("TraceForm.ShowCellArray");
    std::vector<InspectorRow> rows;
    for (int i = 0; i < ColumnCount; ++i) {
        const TCellRec& c = columns.CellArray[static_cast<std::size_t>(i)];
        rows.push_back({IntToStr(i + 1), c.Info, c.Header, IntToStr(c.Pos), TraceBool(c.ShowCol), IntToStr(c.Width),
                        IntToStr(c.WidthOk), IntToStr(c.ImportPos)});
    }
    return rows;
}

} // namespace folianto
