#include "exchange/ImportDialogModel.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace folianto {
namespace {

// A position text read like every number of the dialog; out-of-range values
// count as "no position".
int32_t PositionValue(const std::string& text)
{
    const double v = std::trunc(ReadNumber(text));
    if (!std::isfinite(v) || v < INT32_MIN || v > INT32_MAX)
        return 0;
    return static_cast<int32_t>(v);
}

} // namespace

ImportDialogModel::ImportDialogModel(Workspace& ws, Mode mode) : ws_(ws), mode_(mode)
{
    TraceScope trace("TForm_TXT_Import.FormCreate");
    const ImpExpSettings& s = ws.settings.ImpExp;
    Kopfzeilen = s.Kopfzeilen;
    Delimiter = s.Trennzeichen ? DelimiterName(s.Trennzeichen) : std::string();
    FirstRow = s.FirstRow;
    FirstCol = s.FirstCol;
    AnzRows = s.AnzRows;
    AnzCols = s.AnzCols;
    for (int row = 0; row < RowCount; ++row) {
        const TCellRec& cell = ws.columns.CellArray[static_cast<std::size_t>(row)];
        entries_[static_cast<std::size_t>(row)] = cell.Header;
        Positions[static_cast<std::size_t>(row)] = RowEditable(row) ? IntToStr(cell.ImportPos) : "0";
    }
}

std::string ImportDialogModel::HintText() const
{
    if (mode_ == WorkbookMode)
        return "Hinweis: beim Import aus Excel wird das Trennzeichen automatisch zwischen den Spalten "
               "eingesetzt! Es darf also NICHT in den Import-Daten enthalten sein!";
    return "Hinweis: das Trennzeichen wird im zu im- portierenden Text erwartet! Es darf also NICHT "
           "in den eigentlichen Import-Daten enthalten sein!";
}

const std::string& ImportDialogModel::EntryText(int row) const
{
    return entries_.at(static_cast<std::size_t>(row));
}

bool ImportDialogModel::AcceptsKey(const std::string& cellText, char key)
{
    if ((key >= '0' && key <= '9') || key == 8 || key == 27)
        return true;
    return key == '-' && cellText.find('-') == std::string::npos;
}

void ImportDialogModel::SetTextFile(const std::string& path, std::string bytes)
{
    fileName_ = path;
    bytes_ = std::move(bytes);
    detected_ = DetectTextEncoding(bytes_);
    Encoding = detected_.Encoding;
    FindHeaderLine();
    SetUseHeaderLine(header_.has_value());
}

void ImportDialogModel::SetEncoding(TextEncoding encoding)
{
    Encoding = encoding;
    // Column names with umlauts read differently in the other encoding.
    const bool wasUsed = useHeader_;
    const bool wasOffered = header_.has_value();
    SetUseHeaderLine(false);
    FindHeaderLine();
    SetUseHeaderLine(header_.has_value() && (wasUsed || !wasOffered));
}

// Looks for the assignment with the user's own delimiter first.
void ImportDialogModel::FindHeaderLine()
{
    const std::vector<std::string> first = PreviewLines(1);
    header_.reset();
    if (!first.empty())
        header_ = AssignByHeaderLine(ws_.columns, first.front(), DelimiterOfText(Delimiter));
}

std::string ImportDialogModel::EncodingNote() const
{
    if (detected_.Encoding == TextEncoding::Windows1252)
        return "erkannt: Windows-1252 (ANSI)";
    return detected_.ByteOrderMark ? "erkannt: UTF-8 mit Byte-Order-Mark" : "erkannt: UTF-8";
}

std::vector<std::string> ImportDialogModel::PreviewLines(std::size_t count) const
{
    // Enough bytes for the first lines; a character cut at the end does no harm.
    std::size_t end = 0;
    for (std::size_t n = 0; n < count && end < bytes_.size(); ++n) {
        end = bytes_.find('\n', end);
        end = end == std::string::npos ? bytes_.size() : end + 1;
    }
    std::vector<std::string> lines = SplitLines(DecodeImportText(std::string_view(bytes_).substr(0, end), Encoding));
    if (lines.size() > count)
        lines.resize(count);
    return lines;
}

void ImportDialogModel::SetUseHeaderLine(bool on)
{
    if (on && !header_)
        return;
    if (on && !useHeader_) {
        ownPositions_ = Positions;
        ownDelimiter_ = Delimiter;
        ownKopfzeilen_ = Kopfzeilen;
        for (int row = 0; row < RowCount; ++row)
            Positions[static_cast<std::size_t>(row)] = IntToStr(header_->Positions[static_cast<std::size_t>(row)]);
        Delimiter = DelimiterName(header_->Delimiter);
        Kopfzeilen = std::max(Kopfzeilen, 1); // the header line itself is no title
    } else if (!on && useHeader_) {
        Positions = ownPositions_;
        Delimiter = ownDelimiter_;
        Kopfzeilen = ownKopfzeilen_;
    }
    useHeader_ = on;
}

void ImportDialogModel::Activate()
{
    if (mode_ == WorkbookMode && !ws_.settings.ImportHinweis) {
        ws_.settings.ImportHinweis = true;
        ws_.ui.message(MsgKind::Information,
                        Cp1252("Bitte beachten Sie die Hinweise auf Einschränkungen \r\nund Randbedingungen "
                               "für den Import aus Excel-Dateien!"),
                        Buttons::Ok);
    }
}

void ImportDialogModel::Reset()
{
    for (int row = 0; row < RowCount; ++row)
        Positions[static_cast<std::size_t>(row)] = RowEditable(row) ? IntToStr(row + 1) : "0";
    useHeader_ = false; // the fixed order again
    AnzRows = 0;
    AnzCols = 0;
}

std::string ImportDialogModel::RangeError() const
{
    if (mode_ == WorkbookMode && (AnzRows == 0 || AnzCols == 0))
        return Cp1252("Fehler: Es werden gemäß der Einstellungen KEINE Daten importiert!\r\n"
                      "Kontrollieren Sie die Einstellungen auf der Seite \"Import aus Excel\".");
    return {};
}

std::string ImportDialogModel::Validate() const
{
    if (std::string e = RangeError(); !e.empty())
        return e;
    std::set<int32_t> seen;
    for (int row = 0; row < RowCount; ++row) {
        const int32_t p = RowEditable(row) ? PositionValue(Positions[static_cast<std::size_t>(row)]) : 0;
        if (p > 0 && !seen.insert(p).second)
            return Cp1252("Es existieren doppelte Zuweisungen!\r\nBitte, überprüfen Sie die Import-Spaltenabfolge!");
    }
    if (DelimiterOfText(Delimiter) == '\0')
        return Cp1252("Es wurde kein Trennzeichen angegeben!\r\nBitte, überprüfen Sie das Trennzeichen!");
    // Import files are split byte by byte: the delimiter needs a byte of its own.
    if (const std::size_t at = Delimiter.find_first_not_of(" \t"); at != std::string::npos &&
                                                                   ReferenceAt(Delimiter, at).length > 0)
        return Cp1252("Das Trennzeichen muss ein Zeichen des Windows-Zeichensatzes sein!\r\n"
                      "Bitte, überprüfen Sie das Trennzeichen!");
    return {};
}

void ImportDialogModel::StoreControlValues()
{
    ImpExpSettings& s = ws_.settings.ImpExp;
    s.Kopfzeilen = std::clamp(Kopfzeilen, 0, 100);
    if (const char c = DelimiterOfText(Delimiter))
        s.Trennzeichen = c;
    s.FirstRow = std::clamp(FirstRow, 1, 2000);
    s.FirstCol = std::clamp(FirstCol, 1, 2000);
    s.AnzRows = std::clamp(AnzRows, 0, 2000);
    s.AnzCols = std::clamp(AnzCols, 0, 2000);
}

bool ImportDialogModel::Ok()
{
    TraceScope trace("TForm_TXT_Import.OKBtnClick");
    // The range check keeps the dialog open; every other check closes it
    // (taking the control values along) and shows it again.
    if (std::string e = RangeError(); !e.empty()) {
        ws_.ui.message(MsgKind::Error, e, Buttons::Ok);
        return false;
    }
    StoreControlValues();
    if (std::string e = Validate(); !e.empty()) {
        ws_.ui.message(MsgKind::Error, e, Buttons::Ok);
        return false;
    }
    for (int row = 0; row < RowCount; ++row)
        ws_.columns.CellArray[static_cast<std::size_t>(row)].ImportPos =
            RowEditable(row) ? PositionValue(Positions[static_cast<std::size_t>(row)]) : 0;
    ws_.columns.CellArray[ColumnCount].ImportPos = 0;
    return true;
}

void ImportDialogModel::Cancel()
{
    StoreControlValues();
}

} // namespace folianto
