#include "shell/GridRules.h"

#include "core/Buch.h"
#include "workspace/Workspace.h"

namespace folianto {

namespace {

constexpr int PicStorageEmbedded = 128;
constexpr int MaxHintLines = 20;

} // namespace

std::string WrapCellHint(std::string_view text)
{
    if (text.size() < 51)
        return std::string(text);
    std::string result;
    std::string line;
    int lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        line += c;
        // A run without blanks breaks at 100 characters, so the hint stays on screen.
        if ((c == ' ' && line.size() >= 50) || line.size() >= 100) {
            // A hint that covers the pointer closes at once: a longer text is cut.
            if (++lines == MaxHintLines && i + 1 < text.size())
                return result + line + "\x85";
            result += line + "\r\n";
            line.clear();
        }
    }
    result += line;
    if (result.size() >= 2 && result.compare(result.size() - 2, 2, "\r\n") == 0)
        result.resize(result.size() - 2);
    return result;
}

bool CellHintAllowed(const GridModel& grid)
{
    return grid.RowCount() - 1 >= 2 && grid.Row >= 1 && !grid.Cell(0, grid.Row).empty();
}

PicCountStyle PictureCountStyle(const TBuch* title)
{
    if (!title || title->AnzPics < 1)
        return PicCountStyle::NoText;
    bool embedded = false;
    bool linked = false;
    for (const TPicRec& pic : title->Pics) {
        int storage = pic.Kind & ~0x7F;
        if (storage == 0)
            storage = PicStorageEmbedded;
        (storage == PicStorageEmbedded ? embedded : linked) = true;
    }
    if (embedded && linked)
        return PicCountStyle::Red;
    if (embedded)
        return PicCountStyle::RedBoldItalic;
    return PicCountStyle::Grey;
}

int GridColumnOf(const ColumnModel& columns, const GridModel& grid, int index)
{
    const std::string& header = columns.CellArray[static_cast<std::size_t>(index)].Header;
    for (int c = 0; c < grid.ColCount(); ++c)
        if (grid.Cell(c, 0) == header && columns.IndexOfHeader(header) == index)
            return c;
    return -1;
}

const TBuch* TitleInRow(const Workspace& ws, int row)
{
    const auto& map = ws.selection.AusgabeBuchNr;
    if (row < 1 || row >= static_cast<int>(map.size()) || map[static_cast<std::size_t>(row)] == 0)
        return nullptr;
    return ws.store.at(ws.store.FindBuchByNr(map[static_cast<std::size_t>(row)]));
}

} // namespace folianto
