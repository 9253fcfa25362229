#include "exchange/TextExport.h"

#include "core/Buch.h"
#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "exchange/ColumnFields.h"
#include "exchange/DateText.h"
#include "exchange/EntryFormatter.h"
#include "workspace/Workspace.h"
#include "platform/ReplacementFile.h"

#include <QFileInfo>

#include <algorithm>
#include <unordered_map>

namespace folianto {

std::string ColumnExportText(const TBuch& b, int column)
{
    if (const TBuchRec* text = ColumnTextField(b, column))
        return text->Text;
    switch (column) {
    case cols::Typ:
        return TypNumToName(b.TypNum);
    case cols::Auflage:
        return IntToStr(b.Auflage);
    case cols::Preis:
        // Right-aligned in 7 characters with a point in any process locale;
        // wider prices keep all their digits.
        return QString::number(static_cast<double>(b.Preis), 'f', 2).rightJustified(7).toStdString();
    case cols::Jahrgang:
        return IntToStr(b.JahrNum);
    case cols::Kaufdatum:
        return b.Kaufdatum > 1.0 ? DateToShortText(b.Kaufdatum) : std::string();
    default:
        return {};
    }
}

std::vector<PickItem> ColumnPickItems(const Workspace& ws)
{
    std::vector<PickItem> items;
    for (int i = 0; i < ColumnCount; ++i) {
        const TCellRec& cell = ws.columns.CellArray[static_cast<std::size_t>(i)];
        items.push_back({cell.Header, cell.ShowCol && i != cols::AnzahlBilder && i != cols::Link});
    }
    return items;
}

std::vector<int32_t> TitlesOfRows(const Workspace& ws, int first, int last)
{
    // Title number to the lowest store index holding it.
    std::unordered_map<int32_t, int32_t> indexOfNr;
    for (int32_t i = ws.store.AnzBuch; i >= 1; --i)
        if (const TBuch* b = ws.store.at(i))
            indexOfNr[b->BuchNr] = i;
    const std::vector<int32_t>& map = ws.selection.AusgabeBuchNr;
    std::vector<int32_t> titles;
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(map.size()) - 1);
    for (int row = first; row <= last; ++row) {
        const int32_t nr = map[static_cast<std::size_t>(row)];
        if (nr == 0)
            continue;
        if (auto it = indexOfNr.find(nr); it != indexOfNr.end())
            titles.push_back(it->second);
    }
    return titles;
}

bool WriteTextExport(Workspace& ws, const std::string& path, const std::vector<int32_t>& titles,
                     std::optional<int> column)
{
    TraceScope trace("TextExport.WriteTextExport", path);
    BusyCursor busy(ws.ui);
    std::string out;
    for (int32_t index : titles) {
        const TBuch* b = ws.store.at(index);
        if (!b)
            continue;
        out += column ? ColumnExportText(*b, *column) : FormatEntry(ws, index).Text;
        out += "\r\n";
    }
    return WriteExportFile(ws, path, out);
}

bool WriteExportFile(Workspace& ws, const std::string& path, const std::string& bytes)
{
    FileError why;
    if (!ReplaceFileContent(PathFromCp1252(path), bytes.data(), bytes.size(), why)) {
        ws.ui.message(MsgKind::Error, WithReason(GetErrorText(9, path), why), Buttons::Ok);
        return false;
    }
    return true;
}

std::optional<ExportTarget> AskExportTarget(Workspace& ws, const FileDialogSpec& dialog)
{
    const std::optional<std::string> path = ws.ui.saveFile(dialog);
    if (!path)
        return std::nullopt;
    if (QFileInfo::exists(PathFromCp1252(*path)) &&
        ws.ui.message(MsgKind::Confirmation, "Datei " + *path + " existiert bereits!\r\n" + Cp1252("Datei überschreiben?"),
                       Buttons::YesNo) != Answer::Yes)
        return std::nullopt;
    int first = 1;
    int last = ws.grid.RowCount() - 1;
    if (ws.ui.message(MsgKind::Confirmation,
                       "Sollen alle angezeigten Titel exportiert\r\nwerden [Ja] oder nur der markierte Titel ?",
                       Buttons::YesNo) != Answer::Yes) {
        first = ws.grid.Selection.Top;
        last = ws.grid.Selection.Bottom;
    }
    return ExportTarget{*path, TitlesOfRows(ws, first, last)};
}

bool ExportTextCommand(Workspace& ws, std::optional<int> column)
{
    TraceScope trace("TextExport.ExportText");
    FileDialogSpec dialog;
    dialog.filter = "Text-Dateien(*.TXT)|*.TXT|Alle Dateien (*.*) |*.*";
    dialog.defaultExt = "TXT";
    dialog.initialPath = "*.TXT";
    const std::optional<ExportTarget> target = AskExportTarget(ws, dialog);
    if (!target || !WriteTextExport(ws, target->Path, target->Titles, column))
        return false;
    ws.Inform(MsgKind::Information, "Export in " + target->Path + " beendet!");
    ReportExport(ws, target->Titles.size(), target->Path);
    return true;
}

void ReportExport(Workspace& ws, std::size_t titles, const std::string& path)
{
    ws.ui.report("Export fertig: " + std::to_string(titles) + " Titel nach " + path);
}

bool ExportLiteratureList(Workspace& ws)
{
    return ExportTextCommand(ws, std::nullopt);
}

bool ExportColumn(Workspace& ws, const ColumnPicker& pickColumn)
{
    TraceScope trace("TextExport.ExportColumn");
    const std::vector<PickItem> items = ColumnPickItems(ws);
    const std::optional<int> column = pickColumn(items);
    if (!column || *column < 0 || *column >= ColumnCount || !items[static_cast<std::size_t>(*column)].Enabled)
        return false;
    return ExportTextCommand(ws, column);
}

} // namespace folianto
