#include "spreadsheet/Workbook.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Trace.h"
#include "spreadsheet/Biff.h"
#include "spreadsheet/Ole2.h"
#include "platform/ReplacementFile.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace folianto {

// ---- number formatting ----------------------------------------------------

namespace {

char DecimalPointOf(const QLocale& locale)
{
    const std::string point = ToCp1252(locale.decimalPoint());
    return point.size() == 1 ? point[0] : '.';
}

} // namespace

LocaleNumberFormatter::LocaleNumberFormatter(const std::string& localeName)
    : LocaleNumberFormatter(DecimalPointOf(QLocale(QString::fromStdString(localeName))))
{
}

LocaleNumberFormatter::LocaleNumberFormatter(char decimalPoint) : decimalPoint_(decimalPoint) {}

std::string LocaleNumberFormatter::FormatGeneral(double value) const
{
    if (value == 0)
        return "0";
    char buf[64];
    const double magnitude = std::fabs(value);
    const auto format = (magnitude >= 1e-5 && magnitude < 1e15) || !std::isfinite(value)
                            ? std::chars_format::fixed
                            : std::chars_format::scientific;
    const auto result = std::to_chars(buf, buf + sizeof buf, value, format);
    std::string text(buf, result.ptr);
    for (char& c : text) {
        if (c == '.')
            c = decimalPoint_;
        else if (c == 'e')
            c = 'E';
    }
    return text;
}

SystemNumberFormatter::SystemNumberFormatter() : LocaleNumberFormatter(DecimalPointOf(QLocale::system())) {}

// ---- sheet ----------------------------------------------------------------

namespace {

bool Before(const Sheet::Cell& a, const Sheet::Cell& b)
{
    return a.row != b.row ? a.row < b.row : a.col < b.col;
}

} // namespace

void Sheet::Normalize() const
{
    if (sorted_)
        return;
    std::stable_sort(cells_.begin(), cells_.end(), Before);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < cells_.size(); ++i)
        if (i + 1 == cells_.size() || Before(cells_[i], cells_[i + 1]))
            cells_[kept++] = cells_[i];
    cells_.resize(kept);
    sorted_ = true;
}

const Sheet::Cell* Sheet::Find(uint16_t col, uint16_t row) const
{
    Normalize();
    Cell key;
    key.row = row;
    key.col = col;
    const auto c = std::lower_bound(cells_.begin(), cells_.end(), key, Before);
    return c != cells_.end() && c->row == row && c->col == col ? &*c : nullptr;
}

Sheet::Cell& Sheet::Place(uint16_t col, uint16_t row)
{
    if (empty_) {
        firstRow_ = lastRow_ = row;
        firstCol_ = lastCol_ = col;
        empty_ = false;
    } else {
        firstRow_ = std::min(firstRow_, row);
        lastRow_ = std::max(lastRow_, row);
        firstCol_ = std::min(firstCol_, col);
        lastCol_ = std::max(lastCol_, col);
    }
    Cell cell;
    cell.row = row;
    cell.col = col;
    if (!cells_.empty() && cells_.back().row == row && cells_.back().col == col) {
        cells_.back() = cell;
        return cells_.back();
    }
    if (!cells_.empty() && !Before(cells_.back(), cell))
        sorted_ = false;
    cells_.push_back(cell);
    return cells_.back();
}

void Sheet::WriteText(uint16_t col, uint16_t row, const std::string& text)
{
    Cell& cell = Place(col, row);
    // An empty text is an empty cell that still counts as used.
    if (text.empty())
        return;
    cell.kind = CellKind::Text;
    cell.index = static_cast<uint32_t>(texts_.size());
    texts_.push_back(text);
}

void Sheet::WriteSharedText(uint16_t col, uint16_t row, uint32_t index)
{
    Cell& cell = Place(col, row);
    cell.kind = CellKind::SharedText;
    cell.index = index;
}

void Sheet::SetSharedStrings(std::shared_ptr<const std::vector<std::string>> strings)
{
    shared_ = std::move(strings);
}

void Sheet::WriteNumber(uint16_t col, uint16_t row, double value)
{
    Cell& cell = Place(col, row);
    cell.kind = CellKind::Number;
    cell.number = value;
}

void Sheet::WriteBool(uint16_t col, uint16_t row, bool value)
{
    Cell& cell = Place(col, row);
    cell.kind = CellKind::Bool;
    cell.code = value ? 1 : 0;
}

void Sheet::WriteError(uint16_t col, uint16_t row, uint8_t code)
{
    Cell& cell = Place(col, row);
    cell.kind = CellKind::Error;
    cell.code = code;
}

void Sheet::WriteBlank(uint16_t col, uint16_t row)
{
    Place(col, row);
}

uint16_t Sheet::FirstUsedRow() const { return empty_ ? 1 : firstRow_; }
uint16_t Sheet::LastUsedRow() const { return empty_ ? 0 : lastRow_; }
uint16_t Sheet::FirstUsedCol() const { return empty_ ? 1 : firstCol_; }
uint16_t Sheet::LastUsedCol() const { return empty_ ? 0 : lastCol_; }

const std::string& Sheet::CellString(const Cell& cell) const
{
    static const std::string kEmpty;
    if (cell.kind == CellKind::Text)
        return texts_[cell.index];
    if (cell.kind == CellKind::SharedText && shared_ && cell.index < shared_->size())
        return (*shared_)[cell.index];
    return kEmpty;
}

std::string Sheet::ReadCellText(uint16_t col, uint16_t row, const NumberFormatter& fmt) const
{
    const Cell* cell = Find(col, row);
    if (!cell)
        return {};
    switch (cell->kind) {
    case CellKind::Text:
    case CellKind::SharedText:
        return CellString(*cell);
    case CellKind::Number:
        return fmt.FormatGeneral(cell->number);
    case CellKind::Bool:
        return cell->code ? "TRUE" : "FALSE";
    case CellKind::Error:
        switch (cell->code) {
        case 0x00: return "#NULL!";
        case 0x07: return "#DIV/0!";
        case 0x0F: return "#VALUE!";
        case 0x17: return "#REF!";
        case 0x1D: return "#NAME?";
        case 0x24: return "#NUM!";
        case 0x2B: return "#GETTING_DATA";
        default: return "#N/A";
        }
    case CellKind::Blank:
        break;
    }
    return {};
}

// ---- workbook -------------------------------------------------------------

struct Workbook::Impl {
    std::string fileName;
    std::vector<Sheet> sheets;

    // "Die Datei X" for the messages.
    std::string Subject() const
    {
        return fileName.empty() ? std::string("Die Datei") : "Die Datei " + fileName;
    }
};

Workbook::Workbook() : impl_(std::make_unique<Impl>())
{
    ClearSheets();
}

Workbook::~Workbook() = default;

void Workbook::SetFileName(const std::string& path) { impl_->fileName = path; }
const std::string& Workbook::FileName() const { return impl_->fileName; }

void Workbook::ClearSheets()
{
    impl_->sheets.clear();
    impl_->sheets.emplace_back();
}

Sheet& Workbook::GetSheet(std::size_t index)
{
    if (index >= impl_->sheets.size())
        throw std::out_of_range("Workbook::GetSheet");
    return impl_->sheets[index];
}

std::size_t Workbook::SheetCount() const { return impl_->sheets.size(); }

std::vector<uint8_t> Workbook::WriteToBytes() const
{
    TraceScope trace("Workbook.WriteToBytes");
    return ole2::PackWorkbookStream(biff::WriteWorkbookStream(impl_->sheets));
}

void Workbook::ReadFromBytes(const std::vector<uint8_t>& bytes)
{
    TraceScope trace("Workbook.ReadFromBytes");
    try {
        const ole2::WorkbookStream stream = ole2::ExtractWorkbookStream(bytes);
        impl_->sheets = biff::ReadWorkbookStream(stream.data, stream.biff5);
    } catch (const biff::ReadFailure& failure) {
        const std::string subject = impl_->Subject();
        switch (failure.kind) {
        case biff::ReadFailure::Kind::NotWorkbook:
            throw WorkbookError(subject + Cp1252(" ist keine gültige Excel-Arbeitsmappe (BIFF8)."));
        case biff::ReadFailure::Kind::Encrypted:
            throw WorkbookError(subject + Cp1252(" ist verschlüsselt und kann nicht gelesen werden."));
        case biff::ReadFailure::Kind::NoSheet:
            throw WorkbookError(subject + Cp1252(" enthält kein Tabellenblatt."));
        case biff::ReadFailure::Kind::Damaged:
            break;
        }
        throw WorkbookError(subject + Cp1252(" ist beschädigt: ") + failure.detail + ".");
    }
}

void Workbook::Write()
{
    TraceScope trace("Workbook.Write", impl_->fileName);
    const std::vector<uint8_t> bytes = WriteToBytes();
    // The old file stays untouched until the new one is complete.
    FileError why;
    if (!ReplaceFileContent(PathFromCp1252(impl_->fileName), reinterpret_cast<const char*>(bytes.data()),
                            bytes.size(), why))
        throw WorkbookError(impl_->Subject() + " kann nicht geschrieben werden: " + FileErrorText(why));
}

void Workbook::Read()
{
    TraceScope trace("Workbook.Read", impl_->fileName);
    QFile file(PathFromCp1252(impl_->fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw WorkbookError(impl_->Subject() + Cp1252(" kann nicht geöffnet werden: ") +
                            ToCp1252(file.errorString()) + ".");
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw WorkbookError(impl_->Subject() + Cp1252(" kann nicht gelesen werden: ") +
                            ToCp1252(file.errorString()) + ".");
    ReadFromBytes(std::vector<uint8_t>(data.begin(), data.end()));
}

} // namespace folianto
