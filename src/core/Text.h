#pragma once
// Byte-wise text rules for Windows-1252 strings (titles, settings, files).

#include <string>

namespace folianto {

// 0x21..0x7E and the umlauts Ä Ö Ü ä ö ü.
bool IsPrintable(unsigned char c);
bool HasPrintable(const std::string& s);

enum class Strip { Both, Left, Right };
// Removes blanks (0x20) at the ends given by the mode.
std::string StripBlanks(const std::string& s, Strip mode = Strip::Both);
// Removes every blank, also inside the text.
std::string RemoveAllBlanks(const std::string& s);

// Appends blanks until the text is `width` bytes long; longer texts stay.
std::string FillUp(const std::string& s, std::size_t width);

// Upper-cases a..z only; umlauts and other bytes stay.
std::string UpperAscii(std::string s);

// Number reading of import and dialog fields: drop blanks and control
// characters, first comma becomes a point, read a decimal number; 0 when none.
double ReadNumber(const std::string& s);

// Decimal text of an integer, as the file and grid write it.
std::string IntToStr(long long v);

// Replaces the extension (from the last '.' of the file name part) by `ext`
// (which includes its dot); appends it when the name has none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// The extension with its dot, or empty.
std::string ExtractFileExt(const std::string& path);
// Name part after the last '/' (or '\\').
std::string ExtractFileName(const std::string& path);
// Directory part including the trailing separator, or empty.
std::string ExtractFilePath(const std::string& path);

} // namespace folianto
