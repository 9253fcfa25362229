#include "core/Codec.h"

#include <QList>

#include <cstring>

#include <gtest/gtest.h>

namespace folianto {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Windows-1252 bytes written as UTF-8, taken character by character.
std::string Bytes(const char* utf8)
{
    std::string out;
    for (const char32_t u : U(utf8).toUcs4())
        out += static_cast<char>(Cp1252Byte(u));
    return out;
}

TEST(Codec, TextOutsideTheCodePageIsKeptAsReferences)
{
    struct Case {
        const char* text;   // UTF-8
        const char* stored; // the bytes, written as UTF-8 where they are Windows-1252
    };
    const Case cases[] = {
        {"Müller € „Zitat“ – …", "Müller € „Zitat“ – …"},
        {"Yılmaz, Ayşe", "Y&#305;lmaz, Ay&#351;e"},
        {"Miłosz, Czesław", "Mi&#322;osz, Czes&#322;aw"},
        {"Dvořák und Čapek", "Dvo&#345;ák und &#268;apek"},
        {"Документы", "&#1044;&#1086;&#1082;&#1091;&#1084;&#1077;&#1085;&#1090;&#1099;"},
        {"文献/目录.FOL", "&#25991;&#29486;/&#30446;&#24405;.FOL"},
        {"\xF0\x9F\x93\x9A und mehr", "&#128218; und mehr"}, // outside the basic plane
        {"Ro\xCC\x88sti Dvor\xCC\x8C", "Rösti Dvo&#345;"}, // combining marks are composed
        // A literal '&' is escaped only where it would read as a reference.
        {"A & B &amp; &#; &#x41; &#12", "A & B &amp; &#; &#x41; &#12"},
        {"&#322; &#38; &#0;", "&#38;#322; &#38;#38; &#0;"},
        {"&#99999999;", "&#99999999;"},
        {"&&#65;", "&&#38;#65;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string stored = ToCp1252(U(c.text));
        EXPECT_EQ(stored, Bytes(c.stored));
        EXPECT_EQ(FromCp1252(stored), U(c.text).normalized(QString::NormalizationForm_C));
        EXPECT_EQ(Cp1252ToUtf8(stored), U(c.text).normalized(QString::NormalizationForm_C).toStdString());
        EXPECT_EQ(Utf8ToCp1252(c.text), stored);
        EXPECT_EQ(PathFromCp1252(PathToCp1252(U(c.text))), FromCp1252(stored));
    }
    std::string all; // every byte comes back
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(Cp1252("Grüße €"), "Gr\xFC\xDF" "e \x80");
}

TEST(Codec, SeparatorsAndCutsSeeReferencesWhole)
{
    // Per position: does a cut there split a reference? 'x' no, 'R' yes.
    struct Case {
        const char* bytes;
        const char* splits;
    };
    const Case cases[] = {
        {"a&#322;b", "xxRRRRRxx"},
        {"&#1114111;", "xRRRRRRRRRx"},
        {"&#12345678;", "xxxxxxxxxxxx"},
    };
    for (const Case& c : cases) {
        std::string seen;
        for (std::size_t pos = 0; pos <= std::strlen(c.bytes); ++pos)
            seen += SplitsReference(c.bytes, pos) ? 'R' : 'x';
        EXPECT_EQ(seen, c.splits) << c.bytes;
    }
    // A ';' that ends a reference separates nothing.
    const std::pair<const char*, std::size_t> firsts[] = {
        {"a;b", 1}, {"&#322;", std::string::npos}, {"&#322;;x", 6}, {"#322;", 4}, {"&#0;", 3},
        {"&&#65;;", 6}, {"&#12345678;", 10},
    };
    for (const auto& [bytes, at] : firsts)
        EXPECT_EQ(FindListSeparator(bytes), at) << bytes;
    EXPECT_EQ(RFindListSeparator("a;&#322;"), 1u);
    EXPECT_EQ(RFindListSeparator("&#322;"), std::string::npos);
    EXPECT_EQ(RFindListSeparator(";&#65;"), 0u);
}

TEST(Codec, ReadingBytesTakesOnlyWholeValidReferences)
{
    struct Case {
        const char* bytes;
        const char* text;
    };
    const Case cases[] = {
        {"&#322;", "ł"},         {"&#0322;", "ł"},           {"&#65;&#228;", "Aä"},
        {"&#1114111;", "\xF4\x8F\xBF\xBF"}, {"&#1114112;", "&#1114112;"},
        {"&#55296;", "&#55296;"}, {"&#0;", "&#0;"},          {"&#12345678;", "&#12345678;"},
        {"&#;", "&#;"},           {"&#322", "&#322"},         {"& #322;", "& #322;"},
        {"&", "&"},               {"&#", "&#"},               {"x&#38;#322;", "x&#322;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(Cp1252ToUtf8(c.bytes), c.text);
    }
}

TEST(Codec, CuttingAndFoldingRespectReferences)
{
    const std::string text = "Mi&#322;osz";
    EXPECT_EQ(CutCp1252(text, 20), text);
    EXPECT_EQ(CutCp1252(text, 2), "Mi");
    for (std::size_t n = 3; n < 8; ++n)
        EXPECT_EQ(CutCp1252(text, n), "Mi") << n;
    EXPECT_EQ(CutCp1252(text, 8), "Mi&#322;");
    EXPECT_EQ(CutCp1252("a&b&#1", 5), "a&b&#");

    EXPECT_EQ(FoldReferences(ToCp1252(U("Dvořák, Łódź, Čapek, Yılmaz"))), Bytes("Dvorák, Lódz, Capek, Yilmaz"));
    const std::string cyrillic = FoldReferences(ToCp1252(U("Бв")));
    const std::string chinese = FoldReferences(ToCp1252(U("文")));
    EXPECT_EQ(cyrillic.size(), 8u);
    EXPECT_LT(Bytes("ÿ"), cyrillic);
    EXPECT_LT(cyrillic, chinese);
    EXPECT_EQ(FoldReferences("&#38;#1; &#38;"), "&#1; &");

    EXPECT_TRUE(IsLatin1Compatible(Cp1252("Müller & Söhne")));
    EXPECT_FALSE(IsLatin1Compatible(Cp1252("€")));
    EXPECT_FALSE(IsLatin1Compatible(ToCp1252(U("Łódź"))));
    EXPECT_TRUE(IsLatin1Compatible("\xE4\xFF")); // the last byte
}

} // namespace
} // namespace folianto
