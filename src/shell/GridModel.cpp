#include "shell/GridModel.h"

#include "core/Codec.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace folianto {

namespace {
const std::string kEmpty;
}

CharTableMeasurer::CharTableMeasurer(const int (&advances)[256])
{
    for (int i = 0; i < 256; ++i) {
        advance_[i] = advances[i];
        max_ = std::max(max_, advances[i]);
    }
}

int CharTableMeasurer::TextWidth(const std::string& text) const
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

void GridModel::SetRowCount(int n)
{
    n = std::max(n, 2);
    for (int r = n; r < rowCount_; ++r)
        ClearRow(r);
    const std::size_t need = static_cast<std::size_t>(n) * static_cast<std::size_t>(colCount_);
    if (cells_.size() < need)
        cells_.resize(need);
    rowCount_ = n;
    if (Row >= rowCount_)
        Row = rowCount_ - 1;
}

void GridModel::SetColCount(int n)
{
    n = std::max(n, 0);
    if (n != colCount_) {
        std::vector<std::string> cells(static_cast<std::size_t>(rowCount_) * static_cast<std::size_t>(n));
        const int keep = std::min(n, colCount_);
        for (int r = 0; r < rowCount_; ++r)
            for (int c = 0; c < keep; ++c)
                cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(n) + static_cast<std::size_t>(c)] =
                    std::move(at(c, r));
        cells_ = std::move(cells);
        colCount_ = n;
    }
    ColWidths.resize(static_cast<std::size_t>(colCount_), 240);
    if (Col >= colCount_)
        Col = std::max(colCount_ - 1, 0);
}

const std::string& GridModel::Cell(int col, int row) const
{
    if (row < 0 || row >= rowCount_ || col < 0 || col >= colCount_)
        return kEmpty;
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount_) + static_cast<std::size_t>(col)];
}

void GridModel::SetCell(int col, int row, const std::string& text)
{
    if (std::string* cell = MutableCell(col, row))
        cell->assign(text);
}

std::string* GridModel::MutableCell(int col, int row)
{
    if (row < 0 || row >= rowCount_ || col < 0 || col >= colCount_)
        return nullptr;
    return &at(col, row);
}

void GridModel::ClearRow(int row)
{
    if (row < 0 || static_cast<std::size_t>(row + 1) * static_cast<std::size_t>(colCount_) > cells_.size())
        return;
    for (int c = 0; c < colCount_; ++c)
        at(c, row).clear();
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
    for (int r = 0; r < rowCount_; ++r) {
        auto first = cells_.begin() + static_cast<std::ptrdiff_t>(r) * colCount_;
        if (from < to)
            std::rotate(first + from, first + from + 1, first + to + 1);
        else
            std::rotate(first + to, first + from, first + from + 1);
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
