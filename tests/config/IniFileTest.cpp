#include "config/IniFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace folianto;

namespace {
const char* const kForeign =
    "; written by hand\r\n"
    "[COMMON]\r\n"
    "SortLength=30\r\n"
    "Foreign = keep me \r\n"
    "\r\n"
    "[Other]\r\n"
    "x=1\r\n";
}

TEST(IniFile, ReadsCaseInsensitiveNamesAndTrimsValues)
{
    const IniFile ini("[common]\n; note\nsortlength\nsortlength = 42 \n[Other]\r\nname=\t M\xFCller \r\n  Zone = Z\r\n");
    // Comments and lines without '=' have no key, not even the empty one.
    EXPECT_EQ(std::tuple(ini.ReadInteger("COMMON", "SortLength", 0), ini.ReadString("OTHER", "Name", "?"),
                         ini.ReadString("other", "zONE", "?"), ini.ReadString("common", "", "fb"),
                         ini.ReadString("Other", "missing", "fb"), ini.ReadString("Missing", "name", "fb")),
              std::tuple(42, "M\xFCller", "Z", "fb", "fb", "fb"));
    EXPECT_EQ(std::tuple(ini.SectionExists("oThEr"), ini.SectionExists("none")), std::tuple(true, false));
}

TEST(IniFile, NumbersAndBooleans)
{
    struct Case { const char* value; int32_t number; bool flag; };
    const Case cases[] = {
        {"0", 0, false},          {"1", 1, true},         {"-7", -7, true},
        {"+3", 3, true},          {"abc", 99, true},      {"", 99, true},
        {"12abc", 99, true},      {"2147483647", 2147483647, true},
        {"2147483648", 99, true}, {"-2147483648", INT32_MIN, true},
        {"99999999999999999999", 99, true},
        // Up to eleven digits are read, leading zeros and all.
        {"0000000042", 42, true}, {"00000000042", 42, true}, {"000000000042", 99, true},
        {"-00000000042", -42, true}, {"-2147483649", 99, true},
    };
    for (const Case& c : cases) {
        const IniFile ini(std::string("[S]\r\nk=") + c.value + "\r\n");
        EXPECT_EQ(ini.ReadInteger("S", "k", 99), c.number) << c.value;
        EXPECT_EQ(ini.ReadBool("S", "k", true), c.flag) << c.value;
    }
}

TEST(IniFile, EditsInPlaceKeepingForeignLinesAndWritesNewFiles)
{
    IniFile ini(kForeign);
    ini.WriteInteger("common", "SORTLENGTH", 25);   // existing key, other case
    ini.WriteString("COMMON", "NewKey", "v");       // new key: end of its section
    ini.WriteBool("Fresh", "a", true);              // new section: end of file
    EXPECT_EQ(ini.Serialize(),
              "; written by hand\r\n"
              "[COMMON]\r\n"
              "SortLength=25\r\n"
              "Foreign = keep me \r\n"
              "NewKey=v\r\n"
              "\r\n"
              "[Other]\r\n"
              "x=1\r\n"
              "\r\n"
              "[Fresh]\r\n"
              "a=1\r\n");
    // A new file; a value of one line only.
    IniFile fresh;
    fresh.WriteString("A", "k", "v");
    fresh.WriteString("B", "k", "first\r\nsecond");
    EXPECT_EQ(fresh.Serialize(), "[A]\r\nk=v\r\n\r\n[B]\r\nk=first\r\n");
    // LF-only input comes back with CR LF; a missing last line end is added.
    EXPECT_EQ(IniFile("[A]\nk=v").Serialize(), "[A]\r\nk=v\r\n");
}

TEST(IniFile, FirstLineOfAKeyWinsAmongManyKeys)
{
    // Keys differing only in case are one key; a later duplicate line is never read or written.
    std::string text = "[S]\r\n";
    for (int i = 0; i < 300; ++i)
        text += (i % 2 ? "KEY" : "key") + std::to_string(i) + " = first" + std::to_string(i) + "\r\n";
    for (int i = 0; i < 300; i += 7)
        text += "Key" + std::to_string(i) + "=second\r\n";
    IniFile ini(text);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(ini.ReadString("s", "kEy" + std::to_string(i), "?"), "first" + std::to_string(i)) << i;

    for (int i = 0; i < 300; i += 7)
        ini.WriteInteger("S", "KEY" + std::to_string(i), i);
    for (int i = 300; i < 320; ++i)
        ini.WriteInteger("S", "New" + std::to_string(i), i);
    ini.WriteString("S", "NEW300", "again");
    const IniFile reread(ini.Serialize());
    for (const IniFile* f : {static_cast<const IniFile*>(&ini), &reread}) {
        for (int i = 0; i < 300; i += 7)
            EXPECT_EQ(f->ReadInteger("S", "key" + std::to_string(i), -1), i) << i;
        for (int i = 301; i < 320; ++i)
            EXPECT_EQ(f->ReadInteger("S", "new" + std::to_string(i), -1), i) << i;
        EXPECT_EQ(f->ReadString("S", "new300", "?"), "again");
    }
    EXPECT_EQ(reread.ReadSectionValues("S").size(), 300u + 300u / 7 + 1 + 20);
}

TEST(IniFile, SectionValuesAndErasingKeys)
{
    IniFile ini("[Sets]\r\nA0=x;y\r\n; note\r\nnoequals\r\n\r\nB= z \r\n[Next]\r\nk=1\r\n");
    EXPECT_EQ(ini.ReadSectionValues("sets"), (std::vector<std::string>{"x;y", "", "z"}));
    EXPECT_EQ(ini.ReadSectionEntries("sets"), (std::vector<std::pair<std::string, std::string>>{{"A0", "x;y"}, {"B", "z"}}));
    ini.EraseSectionKeys("Sets");
    ini.WriteString("Sets", "S0", "n");
    EXPECT_EQ(ini.Serialize(), "[Sets]\r\n; note\r\nS0=n\r\n\r\n[Next]\r\nk=1\r\n");
}

TEST(IniFile, FileEdgeWritesAtomicallyAndReportsFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("Folianto.INI")).toStdString();
    std::string bytes = "stale";
    ASSERT_TRUE(ReadFileBytes(path, bytes)); // missing file: empty, no error
    EXPECT_EQ(bytes, "");
    ASSERT_TRUE(WriteFileAtomically(path, kForeign));
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, kForeign);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    // A directory where the file should be: neither readable nor writable.
    const std::string blocked = dir.filePath(QStringLiteral("blocked.INI")).toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("blocked.INI")));
    EXPECT_FALSE(ReadFileBytes(blocked, bytes));
    EXPECT_FALSE(WriteFileAtomically(blocked, "x"));
    EXPECT_FALSE(WriteFileAtomically(path + "/below/a/file", "x"));
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, kForeign);
}
