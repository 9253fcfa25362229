#pragma once
// Field values between Windows-1252 text and the LaTeX markup of .bib files.

#include <string>
#include <vector>

namespace folianto {

// Windows-1252 text as UTF-8 that BibTeX and LaTeX read back unchanged: the
// special characters become commands, ligature pairs ("--", "``", "''", ",,")
// are split by "{}". Line breaks become `lineBreak`; other control
// characters become blanks.
std::string LatexEscape(const std::string& cp1252, const std::string& lineBreak = "\r\n");

struct LatexDecoded {
    std::string Text;                 // Windows-1252
    // What had no Windows-1252 form: kept LaTeX as written, replaced
    // characters as "\\v{r} als r" or "<U+03A9> als <U+03A9>".
    std::vector<std::string> Replaced;
};

// A LaTeX field value (UTF-8) as Windows-1252 text: accents and the usual
// letter and symbol commands are decoded, grouping braces and text-style
// commands dropped, "~" is a blank, "--" and "---" are dashes. Line breaks
// stay as they are. Characters without a Windows-1252 code keep their base
// letter when they have one; unknown commands and math stay as written.
// Every such piece is listed in Replaced.
LatexDecoded LatexDecode(const std::string& utf8);

// Plain UTF-8 text (no markup) as Windows-1252 with the same fallbacks.
LatexDecoded PlainToCp1252(const std::string& utf8);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(const std::string& bytes);

} // namespace folianto
