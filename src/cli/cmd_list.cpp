// folianto-cli list DB: the title grid as the main window would show it.

#include "cli/Command.h"
#include "cli/DatabaseIo.h"
#include "core/Codec.h"
#include "selection/Selection.h"

#include <iostream>
#include <sstream>
#include <string>

namespace folianto::cli {
namespace {

// A cell as one field of a TAB-separated UTF-8 line; line breaks become \n.
std::string CellForLine(std::string_view cell)
{
    const std::string utf8 = Cp1252ToUtf8(cell);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (utf8[i] == '\n') {
            out += "\\n";
        } else {
            out += utf8[i];
        }
    }
    return out;
}

bool ParseSmallNumber(const std::string& text, int min, int max, int& value)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoi(text);
    return value >= min && value <= max;
}

// "1,6,10": the search fields SuchenIn[k].
bool ParseFieldList(const std::string& list, std::array<bool, 11>& fields)
{
    std::stringstream in(list);
    std::string item;
    bool any = false;
    while (std::getline(in, item, ',')) {
        int k = 0;
        if (!ParseSmallNumber(item, 1, SearchFieldCount, k))
            return false;
        fields[static_cast<std::size_t>(k)] = true;
        any = true;
    }
    return any;
}

int List(Context& context, const Args& args)
{
    App& app = context.app;
    int sort = -1;
    std::array<bool, 11> fields{};
    if ((args.has("sort") && !ParseSmallNumber(args.value("sort"), 0, SortOrderCount - 1, sort)) ||
        (args.has("in") && !ParseFieldList(args.value("in"), fields))) {
        std::cerr << "Aufruf: folianto-cli list DB [--ini PFAD] [--sort 0..7] [--search TEXT] [--in 1..10,...]\n";
        return ExitUsage;
    }
    if (!LoadOrReport(app, args.positional[0]))
        return ExitFailed;

    if (sort >= 0)
        app.settings.BuchSort = static_cast<uint8_t>(sort);
    SelectionState& sel = app.selection;
    if (args.has("search")) {
        if (!args.has("in"))
            for (int k = 1; k <= SearchFieldCount; ++k)
                fields[static_cast<std::size_t>(k)] = (app.settings.FSDialogSearchIn >> (k - 1)) & 1;
        sel.SuchenIn = fields;
        sel.SuchText = Utf8ToCp1252(args.value("search"));
        bool anyField = false;
        for (int k = 1; k <= SearchFieldCount; ++k)
            anyField = anyField || fields[static_cast<std::size_t>(k)];
        sel.SuchenIn[0] = anyField && !sel.SuchText.empty();
    }
    // As at start-up: headers written before the first fill, also when it shows nothing.
    app.columns.Resort_BuchString_Headers_and_Pos(app.grid);
    SetAusgabeData(app);

    const GridModel& grid = app.grid;
    std::string line;
    for (int r = 0; r < grid.RowCount(); ++r) {
        line.clear();
        for (int c = 0; c < grid.ColCount(); ++c) {
            if (c)
                line += '\t';
            line += CellForLine(grid.Cell(c, r));
        }
        std::cout << line << '\n';
    }
    return std::cout.good() ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand(
    {"list", "list DB [--sort N] [--search TEXT] [--in LISTE]  angezeigte Titel wie im Gitter ausgeben", {}, 1, 1,
     List});

} // namespace
} // namespace folianto::cli
