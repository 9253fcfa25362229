#include "core/Text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace folianto;

TEST(Text, PrintableTestAcceptsAsciiAndUmlautsOnly)
{
    struct Case { unsigned char c; bool printable; };
    for (const Case& k : {Case{' ', false}, Case{'!', true}, Case{'~', true}, Case{0x7F, false},
                          Case{0xC4, true}, Case{0xFC, true}, Case{0xDF, false}, Case{'\t', false}})
        EXPECT_EQ(IsPrintable(k.c), k.printable) << int(k.c);
    EXPECT_TRUE(HasPrintable(" \t\xDF!"));
    EXPECT_FALSE(HasPrintable(" \t\xDF"));
}

TEST(Text, StripBlanksModesAndFill)
{
    EXPECT_EQ(StripBlanks("  a b  "), "a b");
    EXPECT_EQ(StripBlanks("  a b  ", Strip::Left), "a b  ");
    EXPECT_EQ(StripBlanks("  a b  ", Strip::Right), "  a b");
    EXPECT_EQ(std::tuple(StripBlanks("   "), RemoveAllBlanks(" a b\t "), FillUp("ab", 4), FillUp("abcdef", 4),
                         UpperAscii("m\xFCller abc")),
              std::tuple("", "ab\t", "ab  ", "abcdef", "M\xFCLLER ABC"));
}

TEST(Text, ReadNumber)
{
    struct Case { const char* in; double out; };
    for (const Case& k : {Case{"12", 12}, Case{" 1 2,5 ", 12.5}, Case{"3,5,1", 0}, Case{"abc", 0},
                          Case{"", 0}, Case{"-7\t", -7}, Case{"1.5", 1.5}, Case{"0x10", 0},
                          Case{"+2,25", 2.25}, Case{"+-1", 0}})
        EXPECT_DOUBLE_EQ(ReadNumber(k.in), k.out) << k.in;
}

// The GUI runs in the user's locale, where the decimal separator may be a comma.
TEST(Text, ReadNumberIgnoresTheProcessLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
        if ((german = std::setlocale(LC_NUMERIC, name)))
            break;
    if (!german)
        GTEST_SKIP() << "no German locale installed";
    struct Case { const char* in; double out; };
    for (const Case& k : {Case{"12,50", 12.5}, Case{"1.5", 1.5}, Case{"+2,25", 2.25}, Case{"-0,5", -0.5}})
        EXPECT_DOUBLE_EQ(ReadNumber(k.in), k.out) << k.in;
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Text, FileNameParts)
{
    EXPECT_EQ(ChangeFileExt("/a.b/x.FOL", ".SEM"), "/a.b/x.SEM");
    EXPECT_EQ(ChangeFileExt("/a.b/x", ".SEM"), "/a.b/x.SEM");
    EXPECT_EQ(std::tuple(ExtractFileExt("/a.b/x"), ExtractFileExt("/dir/.FOL"), ExtractFileName("/dir/x.FOL"),
                         ExtractFilePath("/dir/x.FOL")),
              std::tuple("", ".FOL", "x.FOL", "/dir/"));
}
