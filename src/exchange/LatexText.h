#pragma once
// Field values between Windows-1252 text and the LaTeX markup of .bib files.

#include <string>
#include <vector>

namespace folianto {

// Windows-1252 text as UTF-8 that BibTeX and LaTeX read back unchanged: the
// special characters become commands, character references the characters
// themselves, ligature pairs ("--", "``", "''", ",,") are split by "{}". Line breaks become `lineBreak`; other control
// characters become blanks.
std::string LatexEscape(const std::string& cp1252, const std::string& lineBreak = "\r\n");

struct LatexDecoded {
    std::string Text;                 // Windows-1252
    // Unknown commands and math, kept as written.
    std::vector<std::string> Kept;
};

// A LaTeX field value (UTF-8) as Windows-1252 text: accents and the usual
// letter and symbol commands are decoded, grouping braces and text-style
// commands dropped, "~" is a blank, "--" and "---" are dashes. Line breaks
// stay as they are. Characters without a Windows-1252 code become character
// references; unknown commands and math stay as written and are listed
// in Kept. The macros (those a file's @preamble defines) are expanded;
// `\noopsort{...}`, the sorting idiom, prints nothing.
struct LatexMacro {
    std::string Name; // without the backslash
    int Arguments = 0;
    std::string Body; // UTF-8, "#1".."#9" for the arguments
};
LatexDecoded LatexDecode(const std::string& utf8, const std::vector<LatexMacro>& macros = {});

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(const std::string& bytes);

} // namespace folianto
