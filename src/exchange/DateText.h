#pragma once
// Purchase dates (day count since 30 December 1899, time as fraction) as text
// in the short date format of the current locale (QLocale default).

#include <optional>
#include <string>

namespace folianto {

// The date part of `value` in the locale's short date order, always with a
// four-digit year; empty for values outside the calendar's range.
std::string DateToShortText(double value);

// Reads a date written in the locale's short date format (also with one-digit
// day or month and with two- or four-digit years). Nothing when unreadable.
std::optional<double> ShortTextToDate(const std::string& text);

} // namespace folianto
