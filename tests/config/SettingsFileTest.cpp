#include "config/IniFile.h"
#include "application/SettingsFile.h"
#include "support/Fakes.h"

#include <QFileInfo>

using namespace folianto;
using folianto::test::TestApp;

namespace {

std::string Positions(const App& app)
{
    std::string out;
    for (int i = 0; i < ColumnCount; ++i)
        out += std::to_string(app.columns.CellArray[i].Pos) + (i + 1 < ColumnCount ? "," : "");
    return out;
}

// Section "Zellenanordnung" with `pos` for the first columns and -1 for the rest.
std::string PositionSection(std::vector<int> pos)
{
    std::string s = "[Zellenanordnung]\r\n";
    for (int i = 0; i < ColumnCount; ++i)
        s += std::to_string(i) + "=" + std::to_string(i < int(pos.size()) ? pos[i] : -1) + "\r\n";
    return s;
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Folianto.INI")).toStdString();
    }
    std::string FileBytes()
    {
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(path, bytes));
        return bytes;
    }
    QTemporaryDir dir;
    std::string path;
};

} // namespace

TEST_F(SettingsFileTest, MissingFileKeepsDefaultsAndWritesCompleteFile)
{
    TestApp t;
    t.app.settings.SaveOption = false; // then nothing is written
    EXPECT_EQ(Write_IniFile(t.app, path), std::nullopt);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    t.app.settings.SaveOption = true;
    ASSERT_TRUE(Read_IniFile(t.app, path));
    EXPECT_EQ(Positions(t.app), Positions(TestApp().app));

    EXPECT_EQ(Write_IniFile(t.app, path), std::nullopt);
    const IniFile ini(FileBytes());
    EXPECT_EQ(ini.ReadInteger("COMMON", "AnzKats", -1), 0);
    EXPECT_EQ(ini.ReadString("HeaderBez", "33", ""), "Link");
    EXPECT_FALSE(ini.SectionExists("History"));
    // Keys in the documented order of writing.
    const std::string bytes = FileBytes();
    EXPECT_EQ(bytes.rfind("[COMMON]\r\nSortLength=25\r\nSaveDir=1\r\nLastFile=\r\nDefaultTyp=Taschenbuch\r\n", 0),
              0u);
    EXPECT_LT(bytes.find("AdjustLabels=0\r\nAlwaysShowAVM=0\r\n\r\n[ImpExp]\r\nFirstCol=1\r\nAnzCols=0\r\n"
                         "FirstRow=1\r\nAnzRows=0\r\nTrennzeichen=$\r\nKopfzeilen=1\r\n\r\n[ShowCol]\r\n0=1\r\n"),
              bytes.size());
}

TEST_F(SettingsFileTest, RoundTripOfChangedValues)
{
    TestApp a;
    Settings& s = a.app.settings;
    s.SortLength = 7;
    s.SaveDir = false;
    s.DefaultOwner = "Ute";
    s.OpenFileAtStart = true;
    s.BuchSort = 6;
    s.FSDialogSearchIn = 5 | 1 << 8;
    s.ImpExp = {'\t', 3, 2, 10, 4, 0}; // written as "Tab"
    s.ShowAllMsg = s.SortByAE = s.AlwaysShowAVM = true;
    s.CaseSensitiveSort = false;
    s.LZerzwK = 1;
    s.ExportPos[0] = 2;
    s.ExportPos[32] = -1;
    a.app.DataFileName = "/data/B\xFC" "cher.FOL";
    a.app.columns.CellArray[2].Header = "Verfasser";
    a.app.columns.CellArray[2].Width = 120;
    a.app.columns.CellArray[4].ShowCol = false;
    a.app.columns.CellArray[5].ImportPos = 0;
    a.app.history.Paths = {"/a.FOL", "/b.FOL"};
    a.app.keywordSets.Rows = {{"Set", "Politik", "Europa"}, {}, {"Leer"}};
    ASSERT_EQ(Write_IniFile(a.app, path), std::nullopt);

    // Every changed value comes back.
    const auto values = [](const App& app) {
        const Settings& v = app.settings;
        const auto& c = app.columns.CellArray;
        return std::make_tuple(v.SortLength, v.SaveDir, v.DefaultOwner, v.BuchSort, v.ImpExp.Trennzeichen,
                               v.ImpExp.FirstRow, v.ImpExp.FirstCol, v.ImpExp.AnzRows, v.ImpExp.AnzCols,
                               v.ImpExp.Kopfzeilen, v.ShowAllMsg, v.SortByAE, v.AlwaysShowAVM, v.CaseSensitiveSort,
                               v.LZerzwK, v.ExportPos, app.DataFileName, c[2].Header, c[2].Width, c[4].ShowCol,
                               c[5].ImportPos, app.history.Paths);
    };
    TestApp b;
    ASSERT_TRUE(Read_IniFile(b.app, path));
    EXPECT_EQ(values(b.app), values(a.app));
    // The empty row is not written, so the sets come back without it.
    EXPECT_EQ(b.app.keywordSets.Rows, (std::vector<std::vector<std::string>>{{"Set", "Politik", "Europa"}, {"Leer"}}));
    // SuchenIn[1..9] follow the bits of FSDialogSearchIn.
    const auto& in = b.app.selection.SuchenIn;
    EXPECT_EQ(std::make_tuple(in[1], in[2], in[3], in[4], in[8], in[9]),
              std::make_tuple(true, false, true, false, false, true));
}

TEST_F(SettingsFileTest, WriterEditsInPlaceAndRemembersNoFileWithoutOpenAtStart)
{
    ASSERT_TRUE(WriteFileAtomically(path, "; mine\r\n[COMMON]\r\nSortLength=99\r\nMyKey=abc\r\n\r\n"
                                          "[Plugin]\r\nx=1\r\n\r\n[SelSchlW]\r\nOld=A;b\r\n"));
    TestApp t;
    ASSERT_TRUE(Read_IniFile(t.app, path));
    EXPECT_EQ(t.app.keywordSets.Rows, (std::vector<std::vector<std::string>>{{"A", "b"}}));
    t.app.DataFileName = "/x.FOL"; // OpenFileAtStart is off
    ASSERT_EQ(Write_IniFile(t.app, path), std::nullopt);
    const std::string bytes = FileBytes();
    EXPECT_EQ(bytes.rfind("; mine\r\n[COMMON]\r\nSortLength=99\r\nMyKey=abc\r\nSaveDir=1\r\nLastFile=\r\n", 0), 0u);
    EXPECT_NE(bytes.find("\r\n[Plugin]\r\nx=1\r\n\r\n[SelSchlW]\r\nSelSchlW0=A;b\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("Old="), std::string::npos);
}

TEST_F(SettingsFileTest, FailedWriteReturnsTheErrorAndKeepsTheFile)
{
    // A file where the folder should be: StandardLocationsTest. A settings
    // path that is a directory cannot be read: nothing is replaced.
    TestApp t;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("D.INI")));
    const std::string d = dir.filePath(QStringLiteral("D.INI")).toStdString();
    EXPECT_EQ(Write_IniFile(t.app, d), "nach " + d + " kann nicht geschrieben werden");
    EXPECT_FALSE(Read_IniFile(t.app, d));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(d)).isDir());
}

TEST(SettingsReader, ImpExpWinsOverCommon)
{
    struct Case { const char* file; char delimiter; int32_t header; };
    const Case cases[] = {
        {"[COMMON]\r\nImportTrennz=;\r\nImportKopfzeilen=2\r\n", ';', 2},
        {"[COMMON]\r\nImportTrennz=;\r\nImportKopfzeilen=2\r\n[ImpExp]\r\nTrennzeichen=,\r\nKopfzeilen=0\r\n", ',', 0},
        {"[ImpExp]\r\nTrennzeichen=#x\r\n", '#', 1},
        {"[COMMON]\r\nImportTrennz=\r\n[ImpExp]\r\nTrennzeichen=\r\n", '$', 1}, // empty: the delimiter stays
        {"[ImpExp]\r\nTrennzeichen=Tab\r\n", '\t', 1},
        {"[COMMON]\r\nImportTrennz=tab\r\n", '\t', 1},
    };
    for (const Case& c : cases) {
        TestApp t;
        ReadSettings(t.app, IniFile(c.file));
        EXPECT_EQ(t.app.settings.ImpExp.Trennzeichen, c.delimiter) << c.file;
        EXPECT_EQ(t.app.settings.ImpExp.Kopfzeilen, c.header) << c.file;
    }
}

TEST(SettingsReader, PositionHolesRenumberTheShownColumns)
{
    // Position 3 free below the taken 4: shown columns get 0.., others -1 (9 is hidden).
    TestApp holes;
    ReadSettings(holes.app, IniFile(PositionSection({0, 1, 2, 4})));
    EXPECT_EQ(Positions(holes.app),
              "0,1,2,3,4,5,6,7,8,-1,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32");
    // Nothing taken above the free positions (34 is no position; 33 is never checked for holes): no renumbering.
    TestApp noHoles;
    ReadSettings(noHoles.app, IniFile(PositionSection({0, 1, 2, ColumnCount, ColumnCount - 1})));
    std::string expected = "0,1,2,-1,33";
    for (int i = 5; i < ColumnCount; ++i)
        expected += ",-1";
    EXPECT_EQ(Positions(noHoles.app), expected);
    // A position out of range is none; column 0 losing its own leaves a hole below position 1.
    TestApp outOfRange;
    ReadSettings(outOfRange.app, IniFile("[Zellenanordnung]\r\n33=34\r\n0=-7\r\n"));
    EXPECT_EQ(std::pair(outOfRange.app.columns.CellArray[0].Pos, outOfRange.app.columns.CellArray[33].Pos), std::pair(0, 32));
}

TEST(SettingsReader, LastFileOnlyWhenOpenedAtStart)
{
    struct Case { const char* open; const char* expected; };
    for (const Case& c : {Case{"1", "/x.FOL"}, Case{"0", ""}}) {
        TestApp t;
        ReadSettings(t.app, IniFile(std::string("[COMMON]\r\nLastFile=/x.FOL\r\nOpenFileAtStart=") + c.open));
        EXPECT_EQ(t.app.DataFileName, c.expected) << c.open;
    }
}

TEST(SettingsReader, Column9StaysHiddenAndThePlaceIsShownWhenAsked)
{
    TestApp t;
    ReadSettings(t.app, IniFile("[ShowCol]\r\n9=1\r\n30=1\r\n31=0\r\n"));
    const auto& c = t.app.columns.CellArray;
    EXPECT_EQ(std::make_tuple(c[9].ShowCol, c[29].ShowCol, c[30].ShowCol, c[31].ShowCol),
              std::make_tuple(false, true, true, false));
    TestApp hidden;
    ReadSettings(hidden.app, IniFile("[ShowCol]\r\n30=0\r\n"));
    EXPECT_FALSE(hidden.app.columns.CellArray[30].ShowCol);
}

TEST(SettingsReader, KeywordSetLines)
{
    TestApp t;
    t.app.keywordSets.Rows = {{"kept"}};
    ReadSettings(t.app, IniFile("[Other]\r\n"));
    EXPECT_EQ(t.app.keywordSets.Rows.size(), 1u); // no section: sets unchanged
    ReadSettings(t.app, IniFile("[SelSchlW]\r\nSelSchlW0=Name;Politik;Europa\r\nX=a;;b;\r\nbare\r\n"));
    EXPECT_EQ(t.app.keywordSets.Rows,
              (std::vector<std::vector<std::string>>{{"Name", "Politik", "Europa"}, {"a", "", "b", ""}, {""}}));
}

// Presets are cut to 20 characters, a sort order past the last is none, a
// blank header keeps the default, the history drops blanks and repeats (the
// other numbers out of range are in the approved file of strange values).
TEST(SettingsReader, PresetsCutBlankHeadersAndHistory)
{
    TestApp t;
    ReadSettings(t.app, IniFile("[COMMON]\r\n"
                                "DefaultTyp=123456789012345678901234\r\n"
                                "DefaultOwner=Anna\r\n"
                                "DefaultLanguage=abcdefghijklmnopqrstu\r\nBuchSort=8\r\n"
                                "[HeaderBez]\r\n3=  \r\n"
                                "[History]\r\n0=/a.FOL\r\n1=\r\n2=/a.FOL\r\n3=/b.FOL\r\n5=/c.FOL\r\n"));
    const Settings& s = t.app.settings;
    EXPECT_EQ(std::tuple(s.DefaultTyp, s.DefaultOwner, s.DefaultLanguage, int(s.BuchSort)),
              std::tuple("12345678901234567890", "Anna", "abcdefghijklmnopqrst", 0));
    EXPECT_EQ(std::tuple(t.app.columns.CellArray[3].Header, t.app.history.Paths),
              std::tuple("Kategorie", std::vector<std::string>{"/a.FOL", "/b.FOL"}));
}
