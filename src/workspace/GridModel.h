#pragma once
// The title grid's content as a logic object: row 0 headers, rows 1.. one
// shown title each, the current cell, the selected range and the column
// widths. The widget layer shows it through a table-model adapter.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace folianto {

// Width of a text in the grid's font, in pixels. Texts are Windows-1252.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int TextWidth(std::string_view text) const = 0;
    // Upper bound of one character's width; lets callers skip texts that
    // cannot be wider than a limit. 0 = unknown.
    virtual int MaxCharWidth() const { return 0; }
};

// Every character the same width: the command-line tool and tests.
class FixedWidthMeasurer : public TextMeasurer {
public:
    explicit FixedWidthMeasurer(int charWidth = 7) : charWidth_(charWidth) {}
    int TextWidth(std::string_view text) const override
    {
        return static_cast<int>(text.size()) * charWidth_;
    }
    int MaxCharWidth() const override { return charWidth_; }

private:
    int charWidth_;
};

// Per-byte advances (the GUI fills the table from its font metrics once);
// measuring is then a sum over the bytes.
class CharTableMeasurer : public TextMeasurer {
public:
    explicit CharTableMeasurer(const int (&advances)[256]);
    int TextWidth(std::string_view text) const override;
    int MaxCharWidth() const override { return max_; }

private:
    int advance_[256];
    int max_ = 0;
};

// Purchase dates (day count since 30 Dec 1899) as the system's short date.
using DateFormatter = std::function<std::string(double)>;
std::string SystemShortDate(double days);

struct GridRect {
    int Left = 1, Top = 1, Right = 1, Bottom = 1;
};

// Told about changes so the view can follow the model.
class GridListener {
public:
    virtual ~GridListener() = default;
    virtual void GridReset() {}        // cells, rows, columns or widths changed
    virtual void CurrentChanged() {}   // current cell moved
    virtual void StatusChanged() {}    // status bar texts may have changed
};

class GridModel {
public:
    GridModel();

    int RowCount() const { return rowCount_; }
    int ColCount() const { return colCount_; }
    // RowCount never drops below 2; rows that come back are empty.
    void SetRowCount(int n);
    // New columns get the default width 240.
    void SetColCount(int n);

    // Empty outside the grid. The view is valid until the row changes.
    std::string_view Cell(int col, int row) const;
    void SetCell(int col, int row, std::string_view text);
    // Every cell of a row at once, in one allocation of its exact size;
    // columns beyond `cells` become empty.
    void SetRow(int row, const std::vector<std::string>& cells);
    void ClearRow(int row);

    // Header row plus one empty row.
    void ResetToHeader();

    // Moves a column (cells and width) as a drag in the view does.
    void MoveColumn(int from, int to);

    // Current cell; column 0 is drawn like a header and is never selected.
    int Row = 1;
    int Col = 1;
    GridRect Selection;
    bool SelectCell(int col, int row);

    std::vector<int32_t> ColWidths;

    // View environment, set by the widget layer.
    const TextMeasurer& Measurer() const { return *measurer_; }
    void SetMeasurer(std::shared_ptr<const TextMeasurer> measurer);
    DateFormatter ShortDate = SystemShortDate;
    int ScreenWidth = 1920;
    // Width of the grid's visible area; 0 while unknown (the screen's then).
    int ViewWidth = 0;
    // Automatic column widths stop here, so one long text cannot push the
    // other columns out of sight.
    int MaxAutoWidth() const { return std::max(100, (ViewWidth > 0 ? ViewWidth : ScreenWidth) / 2); }

    GridListener* Listener = nullptr;
    void NotifyReset() const { if (Listener) Listener->GridReset(); }
    void NotifyCurrent() const { if (Listener) Listener->CurrentChanged(); }
    void NotifyStatus() const { if (Listener) Listener->StatusChanged(); }

private:
    // The cells of a row lie one after another in one text; `cellEnds_`
    // holds, row-major, where each cell ends in its row's text. Ten thousand
    // rows of thirty columns are then one allocation per row instead of
    // one string per cell.
    std::size_t EndIndex(int col, int row) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount_) + static_cast<std::size_t>(col);
    }
    std::size_t CellBegin(int col, int row) const { return col == 0 ? 0 : cellEnds_[EndIndex(col - 1, row)]; }
    // Resizes the row tables; rows that come back are empty.
    void ReserveRows(int n);

    // May hold more rows than rowCount_ (kept for reuse, empty).
    std::vector<std::string> rowTexts_;
    std::vector<uint32_t> cellEnds_;
    int rowCount_ = 2;
    int colCount_ = 0;
    std::shared_ptr<const TextMeasurer> measurer_;
};

} // namespace folianto
