#pragma once
// Which title text field a grid column descriptor stands for.

#include "core/Buch.h"

namespace folianto {

// The text field behind descriptor `column` (0..33), or nullptr for the
// columns that hold numbers, dates or no field (5, 8, 15, 18, 25, 26, 33, 34).
TBuchRec* ColumnTextField(TBuch& b, int column);
const TBuchRec* ColumnTextField(const TBuch& b, int column);

// Descriptors that stand for a value of their own.
namespace cols {
constexpr int Typ = 5, Auflage = 8, Preis = 15, AnzahlBilder = 18, Jahrgang = 25, Kaufdatum = 26, Link = 33;
}

} // namespace folianto
