#pragma once
// The title grid's column model: 34 title columns plus one spare descriptor.

#include <array>
#include <cstdint>
#include <string>

namespace folianto {

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

class ColumnModel {
public:
    ColumnModel(); // built-in defaults

    std::array<TCellRec, DescriptorCount> CellArray;
    bool ColumnsMoved = true; // layout must be normalised before the next fill

    static const char* DefaultHeader(int index);
};

} // namespace folianto
