#pragma once
// The title grid's column model: 34 title columns plus one spare descriptor.

#include "workspace/GridModel.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folianto {

struct Settings;
struct TBuch;

struct TCellRec {
    std::string Header;   // shown in row 0; user-renamable; may hold one CR LF
    std::string Info;     // fixed identifying name (the default header)
    int32_t Pos = -1;     // grid column, -1 = not shown
    bool ShowCol = true;
    int32_t Width = -1;   // pixels, -1 = automatic
    int32_t WidthOk = -1;
    int32_t ImportPos = 0; // 1-based field position in import lines
};

constexpr int ColumnCount = 34;      // descriptors 0..33 are title columns
constexpr int DescriptorCount = 35;  // plus the spare 34

// Descriptor indices the code refers to.
enum ColumnIndex : int {
    ColKuerzel = 0, ColTitel = 1, ColAutor = 2, ColKategorie = 3, ColSprache = 4, ColTyp = 5, ColJahrErst = 9,
    ColAnzahlBilder = 18, ColOrt = 30, ColLink = 33,
};

// What the cell texts depend on besides the title.
struct CellTextFormat {
    bool ShowOnlyFirstLine = false;
    const DateFormatter* ShortDate = nullptr; // nullptr: SystemShortDate
};

class ColumnModel {
public:
    ColumnModel(); // built-in defaults

    std::array<TCellRec, DescriptorCount> CellArray;
    bool ColumnsMoved = true; // layout must be normalised before the next fill

    static const char* DefaultHeader(int index);

    // Number of descriptors 0..33 with ShowCol.
    int ShownCount() const;
    // Lowest descriptor 0..33 whose Header / Info equals the text exactly; -1 when none.
    int IndexOfHeader(std::string_view header) const;
    int IndexOfInfo(const std::string& info) const;
    // Pos of the descriptor with that Info; -1 when none or hidden.
    int PosOfInfo(const std::string& info) const;

    // Shown descriptors get the positions 0..k-1 in their order; hidden ones -1.
    void NormalizePositions();
    // Clamps widths and renumbers the shown positions by rank.
    void NormalizeColumnLayout(int screenWidth);
    // Sets ColCount (and with reset RowCount = 2) and writes the headers into row 0;
    // shown descriptors without a position get the next free one.
    void InitHeaders(GridModel& grid, bool reset);
    // NormalizePositions, clears ColumnsMoved, NormalizeColumnLayout, InitHeaders(false).
    void Resort_BuchString_Headers_and_Pos(GridModel& grid);

    // The layout taken back from the grid after the user moved or resized
    // columns: positions and widths found by the headers in row 0.
    void TakeLayoutFromGrid(GridModel& grid, const Settings& settings);
    // A column was dragged in the view; the short-key column does not count.
    void ColumnDragged(int gridCol);

    // Text of descriptor `index` for title b, written into `out`.
    static void CellText(const TBuch& b, int index, const CellTextFormat& format, std::string& out);
    static std::string CellText(const TBuch& b, int index, const CellTextFormat& format = {});
};

// The width rules while the grid is filled: FitRow after each row's cells,
// Finish after all rows.
class ColumnWidthFitter {
public:
    ColumnWidthFitter(ColumnModel& columns, GridModel& grid, const Settings& settings);
    void FitRow(int row);
    void Finish();

private:
    ColumnModel& columns_;
    GridModel& grid_;
    const TextMeasurer& measurer_;
    int maxChar_;
    int autoMax_;
    bool auto_;
    bool useMax_;
    int32_t maxWidth_;
    std::vector<int> desc_; // descriptor of each grid column by its header, -1 = none
};

} // namespace folianto
