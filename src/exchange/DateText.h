#pragma once
// Purchase dates (day count since 30 December 1899, time as fraction) as text
// in the short date format of the current locale (QLocale default).

#include <optional>
#include <string>
#include <vector>

namespace folianto {

// The date part of `value` in the locale's short date order, always with a
// four-digit year; empty for values outside the calendar's range.
std::string DateToShortText(double value);

// Reads a date written in the locale's short date format (also with one-digit
// day or month and with two- or four-digit years). Nothing when unreadable.
std::optional<double> ShortTextToDate(const std::string& text);

} // namespace folianto

namespace folianto {

// A publication date as the formats carry it: a year, with a month and a day
// where given, a span of two such dates, "circa"; or, for a text that is no
// date ("o. J.", "demnächst"), nothing but the text.
struct DateParts {
    int Year = 0, Month = 0, Day = 0;
};
struct IssuedDate {
    std::vector<DateParts> Parts; // none for a text that is no date; two for a span
    bool Circa = false;
    std::string Literal; // the text itself where Parts is empty
    bool isDate() const { return !Parts.empty(); }
};

// Reads a year as typed: "2013", "10.11.1989", "11/1989", "November 1989",
// "10. Nov. 1989", "1989-11-10", "1998/99", "1998-2001", "ca. 1900",
// "[2013]". Windows-1252.
IssuedDate ParseIssuedDate(const std::string& text);

// The German form the editor shows: "2013", "10.11.1989", "11/1989",
// "1998/99", "1998-2001", "ca. 1900"; the literal where there is no date.
std::string IssuedDateText(const IssuedDate& date);

// A month's number from its German or English name or abbreviation
// ("März", "Mrz.", "march", "oct"); 0 when the text names none.
int MonthOfName(const std::string& cp1252);

// The English three-letter abbreviation of a month 1..12 ("nov").
const char* MonthAbbreviation(int month);

} // namespace folianto
