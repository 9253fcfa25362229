#include "workspace/GridModel.h"

#include "core/Codec.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace folianto {

CharTableMeasurer::CharTableMeasurer(const int (&advances)[256])
{
    for (int i = 0; i < 256; ++i) {
        advance_[i] = advances[i];
        max_ = std::max(max_, advances[i]);
    }
}

int CharTableMeasurer::TextWidth(std::string_view text) const
{
    int w = 0;
    for (unsigned char c : text)
        w += advance_[c];
    return w;
}

std::string SystemShortDate(double days)
{
    // The value comes from the file; beyond the 64-bit day count no date exists.
    if (!(std::fabs(days) < 1e15))
        return {};
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(days)));
    return ToCp1252(QLocale::system().toString(date, QLocale::ShortFormat));
}

GridModel::GridModel() : measurer_(std::make_shared<FixedWidthMeasurer>())
{
    SetRowCount(2);
}

void GridModel::SetMeasurer(std::shared_ptr<const TextMeasurer> measurer)
{
    if (measurer)
        measurer_ = std::move(measurer);
}

void GridModel::ReserveRows(int n)
{
    const std::size_t rows = static_cast<std::size_t>(n);
    if (rowTexts_.size() < rows) {
        rowTexts_.resize(rows);
        cellEnds_.resize(rows * static_cast<std::size_t>(colCount_), 0);
    }
}

void GridModel::SetRowCount(int n)
{
    n = std::max(n, 2);
    for (int r = n; r < rowCount_; ++r)
        ClearRow(r);
    ReserveRows(n);
    rowCount_ = n;
    if (Row >= rowCount_)
        Row = rowCount_ - 1;
}

void GridModel::SetColCount(int n)
{
    n = std::max(n, 0);
    if (n != colCount_) {
        std::vector<uint32_t> ends(rowTexts_.size() * static_cast<std::size_t>(n), 0);
        for (std::size_t r = 0; r < rowTexts_.size(); ++r) {
            const int row = static_cast<int>(r);
            // Columns beyond the new count drop off the row's end; new ones are empty.
            uint32_t end = 0;
            for (int c = 0; c < n; ++c) {
                if (c < colCount_)
                    end = cellEnds_[EndIndex(c, row)];
                ends[r * static_cast<std::size_t>(n) + static_cast<std::size_t>(c)] = end;
            }
            rowTexts_[r].resize(end);
        }
        cellEnds_ = std::move(ends);
        colCount_ = n;
    }
    ColWidths.resize(static_cast<std::size_t>(colCount_), 240);
    if (Col >= colCount_)
        Col = std::max(colCount_ - 1, 0);
}

std::string_view GridModel::Cell(int col, int row) const
{
    if (row < 0 || row >= rowCount_ || col < 0 || col >= colCount_)
        return {};
    const std::size_t begin = CellBegin(col, row);
    return std::string_view(rowTexts_[static_cast<std::size_t>(row)]).substr(begin, cellEnds_[EndIndex(col, row)] - begin);
}

void GridModel::SetCell(int col, int row, std::string_view text)
{
    if (row < 0 || row >= rowCount_ || col < 0 || col >= colCount_)
        return;
    std::string& rowText = rowTexts_[static_cast<std::size_t>(row)];
    const std::size_t begin = CellBegin(col, row);
    const std::size_t end = cellEnds_[EndIndex(col, row)];
    // Offsets are 32 bits: a row's texts together stay below 4 GB.
    if (rowText.size() - (end - begin) + text.size() > UINT32_MAX)
        return;
    rowText.replace(begin, end - begin, text);
    const int64_t delta = static_cast<int64_t>(text.size()) - static_cast<int64_t>(end - begin);
    if (delta != 0)
        for (int c = col; c < colCount_; ++c) {
            uint32_t& e = cellEnds_[EndIndex(c, row)];
            e = static_cast<uint32_t>(static_cast<int64_t>(e) + delta);
        }
}

void GridModel::SetRow(int row, const std::vector<std::string>& cells)
{
    if (row < 0 || row >= rowCount_)
        return;
    const std::size_t count = std::min(cells.size(), static_cast<std::size_t>(colCount_));
    std::size_t total = 0;
    for (std::size_t c = 0; c < count; ++c)
        total += cells[c].size();
    if (total > UINT32_MAX)
        return;
    std::string text;
    text.reserve(total);
    for (int c = 0; c < colCount_; ++c) {
        if (static_cast<std::size_t>(c) < count)
            text += cells[static_cast<std::size_t>(c)];
        cellEnds_[EndIndex(c, row)] = static_cast<uint32_t>(text.size());
    }
    rowTexts_[static_cast<std::size_t>(row)] = std::move(text);
}

void GridModel::ClearRow(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= rowTexts_.size())
        return;
    rowTexts_[static_cast<std::size_t>(row)].clear();
    std::fill_n(cellEnds_.begin() + static_cast<std::ptrdiff_t>(EndIndex(0, row)), colCount_, 0);
}

void GridModel::ResetToHeader()
{
    SetRowCount(2);
    ClearRow(1);
}

void GridModel::MoveColumn(int from, int to)
{
    if (from < 0 || from >= colCount_ || to < 0 || to >= colCount_ || from == to)
        return;
    std::vector<std::string> cells(static_cast<std::size_t>(colCount_));
    for (int row = 0; row < rowCount_; ++row) {
        for (int c = 0; c < colCount_; ++c)
            cells[static_cast<std::size_t>(c)] = std::string(Cell(c, row));
        auto first = cells.begin();
        if (from < to)
            std::rotate(first + from, first + from + 1, first + to + 1);
        else
            std::rotate(first + to, first + from, first + from + 1);
        SetRow(row, cells);
    }
    auto w = ColWidths.begin();
    if (from < to)
        std::rotate(w + from, w + from + 1, w + to + 1);
    else
        std::rotate(w + to, w + from, w + from + 1);
}

bool GridModel::SelectCell(int col, int row)
{
    if (col < 1 || col >= colCount_ || row < 1 || row >= rowCount_)
        return false;
    Col = col;
    Row = row;
    Selection = {col, row, col, row};
    return true;
}

} // namespace folianto
