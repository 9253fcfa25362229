#pragma once
// Which title text field a grid column descriptor stands for.

#include "core/Buch.h"

namespace folianto {

// The text field behind descriptor `column` (0..33), or nullptr for the
// columns that hold numbers, dates or no field (5, 8, 15, 18, 25, 26, 33, 34).
TBuchRec* ColumnTextField(TBuch& b, int column);
const TBuchRec* ColumnTextField(const TBuch& b, int column);

// Descriptors that stand for a field of their own.
constexpr int ColTyp = 5, ColAuflage = 8, ColPreis = 15, ColAnzahlBilder = 18, ColJahrgang = 25,
              ColKaufdatum = 26, ColLink = 33;

} // namespace folianto
