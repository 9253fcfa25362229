#pragma once
// The title grid's content as a logic object: row 0 headers, rows 1.. titles.

#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

class GridModel {
public:
    GridModel();

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColCount() const { return colCount_; }
    // RowCount never drops below 2.
    void SetRowCount(int n);
    void SetColCount(int n);

    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);

    // Header row plus one empty row.
    void ResetToHeader();

    int Row = 1;  // current cell
    int Col = 1;
    std::vector<int32_t> ColWidths;

private:
    std::vector<std::vector<std::string>> rows_;
    int colCount_ = 0;
};

} // namespace folianto
