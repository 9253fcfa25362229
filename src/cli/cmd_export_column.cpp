// folianto-cli export-column DB COLUMN OUT: one grid column (descriptor
// 0..33) of the shown titles as text.

#include "cli/ExchangeIo.h"
#include "core/Codec.h"
#include "exchange/TextExport.h"
#include "workspace/ColumnModel.h"

#include <iostream>

namespace folianto::cli {
namespace {

int ExportColumnCommand(Context& context, const Args& args)
{
    const std::string& text = args.positional[1];
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(text) >= ColumnCount) {
        std::cerr << "Aufruf: folianto-cli export-column DB SPALTE AUS  (SPALTE = 0.." << ColumnCount - 1 << ")\n";
        return ExitUsage;
    }
    const int column = std::stoi(text);
    if (!LoadAndShow(context, args.positional[0]))
        return ExitFailed;
    bool choosable = false;
    context.ui.dialogPaths.push_back(Utf8ToCp1252(args.positional[2]));
    const bool written = ExportColumn(context.app, [&](const std::vector<PickItem>& items) {
        choosable = items[static_cast<std::size_t>(column)].Enabled;
        return std::optional<int>(column);
    });
    if (!choosable)
        context.ui.message(MsgKind::Error,
                           "Spalte " + std::to_string(column) + Cp1252(" kann nicht exportiert werden (nicht angezeigt oder nicht wählbar)."),
                           Buttons::Ok);
    return written ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand(
    {"export-column", "export-column DB SPALTE AUS  eine Spalte der angezeigten Titel als Text schreiben", {}, 3, 3,
     ExportColumnCommand});

} // namespace
} // namespace folianto::cli
