#include "core/Codec.h"
#include "exchange/LatexText.h"

#include <gtest/gtest.h>

namespace folianto {
namespace {

TEST(LatexText, EscapeWritesSpecialsAsCommandsAndKeepsBracesBalanced)
{
    struct Case {
        const char* text; // UTF-8, stored as Windows-1252
        const char* bib;
    };
    const Case cases[] = {
        {"Müller & Söhne", "Müller \\& Söhne"},
        {"50% für $5 #1 a_b", "50\\% für \\$5 \\#1 a\\_b"},
        {"{x}", "\\textbraceleft{}x\\textbraceright{}"},
        {"a\\b ~ ^", "a\\textbackslash{}b \\textasciitilde{} \\textasciicircum{}"},
        {"12--45 ``x'' ,,y", "12-{}-45 `{}`x'{}' ,{},y"},
        {"€ „Zitat“ – …", "€ „Zitat“ – …"},
        {"Dvořák & &#1;", "Dvořák \\& \\&\\#1;"},
        {"Zeile 1\r\nZeile 2", "Zeile 1\r\nZeile 2"},
        {"Tab\there", "Tab here"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LatexEscape(Cp1252(c.text)), c.bib);
    }
}

TEST(LatexText, DecodeTurnsAccentsCommandsAndLigaturesIntoText)
{
    struct Case {
        const char* bib;
        const char* text;     // expected, UTF-8 (stored as Windows-1252)
        bool kept;            // LaTeX kept as written
    };
    const Case cases[] = {
        {"M{\\\"u}ller", "Müller", false},
        {"M\\\"{u}ller", "Müller", false},
        {"M\\\"uller", "Müller", false},
        {"{\\'E}cole \\`a \\^o \\~n \\c{c} \\c c", "École à ô ñ ç ç", false},
        {"Stra{\\ss}e {\\AE}sop \\o{} {\\aa}", "Straße Æsop ø å", false},
        {"{\\'\\i}", "í", false},
        {"The {TeX}book", "The TeXbook", false},
        {"D.~E. Knuth", "D. E. Knuth", false},
        {"pp. 1--5 --- ``so'' ,,hier''", "pp. 1–5 — “so” „hier”", false},
        {"\\emph{wichtig} und \\textbf{fett}", "wichtig und fett", false},
        {"\\glqq Zitat\\grqq{}", "„Zitat“", false},
        {"100\\,\\% \\& \\$ \\# \\_ \\{ \\}", "100 % & $ # _ { }", false},
        {"\\textbackslash{}x \\textbraceleft{}", "\\x {", false},
        {"Dvo{\\v{r}}{\\'a}k und \\v{C}apek", "Dvořák und Čapek", false},
        {"Mi{\\l}osz, Czes\\l{}aw \\L\\'od\\'z", "Miłosz, Czesław Łódź", false},
        {"Miłosz, Czesław", "Miłosz, Czesław", false},
        {"$\\alpha$-Helix", "$\\alpha$-Helix", true},
        {"x $\\'e$", "x $\\'e$", true},
        {"\\'\\o", "ǿ", false},
        {"\\unbekannt{x}", "\\unbekannt x", true},
        {"\\Zeta{x} \\zeta", "\\Zeta x \\zeta", true},
        {"Łódź", "Łódź", false},
        {"Ωmega \\~{\\i}", "Ωmega ĩ", false},
        {"offen {", "offen ", false},
        {"\\", "\\", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bib);
        const LatexDecoded d = LatexDecode(c.bib);
        EXPECT_EQ(Cp1252ToUtf8(d.Text), c.text);
        EXPECT_EQ(!d.Kept.empty(), c.kept);
    }
}

TEST(LatexText, EscapedTextDecodesToItself)
{
    const char* texts[] = {
        "50% & $100 {x} a_b #1 ~ ^ \\ \"q\" -- ``x'' ,,y}{",
        "Müller, Jürgen; Öztürk, Ümit ß € „“ – — …",
        "Miłosz &#12; 文献",
        "---", "----", "a-b", "``", "'''", "\\emph{x}", "$x$", "~~", "{}{}{",
    };
    for (const char* t : texts) {
        SCOPED_TRACE(t);
        const std::string text = Cp1252(t);
        const LatexDecoded d = LatexDecode(LatexEscape(text));
        EXPECT_EQ(d.Text, text);
        EXPECT_TRUE(d.Kept.empty());
    }
}

TEST(LatexText, Utf8Validation)
{
    const std::pair<const char*, bool> cases[] = {
        {"plain", true},
        {"M\xC3\xBCller \xE2\x82\xAC \xF0\x9F\x93\x9A", true},
        {"\xC2\x80 \xF4\x8F\xBF\xBF", true}, // U+0080, U+10FFFF
        {"M\xFCller", false},                  // Windows-1252
        {"\x80", false},
        {"\xC3", false},                       // cut short
        {"\xC0\xAF", false},                   // overlong
        {"\xED\xA0\x80", false},               // surrogates
        {"\xED\xBF\xBF", false},
        {"\xF4\x90\x80\x80", false},           // beyond U+10FFFF
    };
    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ(IsValidUtf8(bytes), valid) << bytes;
}

} // namespace
} // namespace folianto
