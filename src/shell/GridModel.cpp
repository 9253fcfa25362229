#include "shell/GridModel.h"

#include <algorithm>

namespace folianto {

namespace {
const std::string kEmpty;
}

GridModel::GridModel()
{
    SetRowCount(2);
}

void GridModel::SetRowCount(int n)
{
    rows_.resize(static_cast<std::size_t>(std::max(n, 2)));
    for (auto& r : rows_)
        r.resize(static_cast<std::size_t>(colCount_));
}

void GridModel::SetColCount(int n)
{
    colCount_ = std::max(n, 0);
    for (auto& r : rows_)
        r.resize(static_cast<std::size_t>(colCount_));
    ColWidths.resize(static_cast<std::size_t>(colCount_), 240);
}

const std::string& GridModel::Cell(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_)
        return kEmpty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void GridModel::SetCell(int col, int row, std::string text)
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_)
        return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
}

void GridModel::ResetToHeader()
{
    rows_.resize(2);
    for (auto& cell : rows_[1])
        cell.clear();
}

} // namespace folianto
