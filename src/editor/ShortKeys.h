#pragma once
// Short citation keys (Kuerzel): the uniqueness test and the two generators.

#include <cstdint>
#include <string>

namespace folianto {

struct Settings;
class TitleStore;

// The running number of a generated key: decimal, padded with "0" on the
// left to at least `digits` digits (longer numbers stay whole).
std::string FormatKuerzelNumber(int64_t number, int32_t digits);

// True when the key has a printable character and no title 1..AnzBuch holds
// it (a..z compared as A..Z). `skipIndex` names a title not compared (the one
// being edited); 0 compares all.
bool KuerzelIsUnique(const TitleStore& store, const std::string& key, int32_t skipIndex = 0);

// Gives the current title, whose key is blank, a key made of the first three
// characters of its author and the lowest free running number. The key stays
// blank when all numbers up to 999999 are taken.
void Kuerzel_erzeugen(TitleStore& store, const Settings& settings);

// A variant of the key of title `index` that none of the titles
// 1..AnzBuch-1 holds exactly: the key itself when free, else key + "_" + number.
std::string MakeUniqueKuerzel(const TitleStore& store, const Settings& settings, int32_t index);
// The same over every title 1..AnzBuch: the key proposed for a copy of title
// `index`, free even when the source or a holder of a variant is the last title.
std::string MakeUniqueCopyKuerzel(const TitleStore& store, const Settings& settings, int32_t index);

} // namespace folianto
