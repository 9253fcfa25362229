#include "exchange/ImportDialogModel.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "application/App.h"

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

// First character after removing blanks and control characters; 0 when none.
char FirstDelimiterChar(const std::string& text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) > 0x20)
            return c;
    return '\0';
}

} // namespace

ImportDialogModel::ImportDialogModel(App& app, Mode mode) : app_(app), mode_(mode)
{
    TraceScope trace("TForm_TXT_Import.FormCreate");
    const ImpExpSettings& s = app.settings.ImpExp;
    Kopfzeilen = s.Kopfzeilen;
    Delimiter = s.Trennzeichen ? std::string(1, s.Trennzeichen) : std::string();
    FirstRow = s.FirstRow;
    FirstCol = s.FirstCol;
    AnzRows = s.AnzRows;
    AnzCols = s.AnzCols;
    for (int row = 0; row < RowCount; ++row) {
        const TCellRec& cell = app.columns.CellArray[static_cast<std::size_t>(row)];
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

void ImportDialogModel::Activate()
{
    if (mode_ == WorkbookMode && !app_.settings.ImportHinweis) {
        app_.settings.ImportHinweis = true;
        app_.ui.message(MsgKind::Information,
                        Cp1252("Bitte beachten Sie die Hinweise auf Einschränkungen \r\nund Randbedingungen "
                               "für den Import aus Excel-Dateien!"),
                        Buttons::Ok);
    }
}

void ImportDialogModel::Reset()
{
    for (int row = 0; row < RowCount; ++row)
        Positions[static_cast<std::size_t>(row)] = RowEditable(row) ? IntToStr(row + 1) : "0";
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
    if (FirstDelimiterChar(Delimiter) == '\0')
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
    ImpExpSettings& s = app_.settings.ImpExp;
    s.Kopfzeilen = std::clamp(Kopfzeilen, 0, 100);
    if (const char c = FirstDelimiterChar(Delimiter))
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
        app_.ui.message(MsgKind::Error, e, Buttons::Ok);
        return false;
    }
    StoreControlValues();
    if (std::string e = Validate(); !e.empty()) {
        app_.ui.message(MsgKind::Error, e, Buttons::Ok);
        return false;
    }
    for (int row = 0; row < RowCount; ++row)
        app_.columns.CellArray[static_cast<std::size_t>(row)].ImportPos =
            RowEditable(row) ? PositionValue(Positions[static_cast<std::size_t>(row)]) : 0;
    app_.columns.CellArray[ColumnCount].ImportPos = 0;
    return true;
}

void ImportDialogModel::Cancel()
{
    StoreControlValues();
}

} // namespace folianto
