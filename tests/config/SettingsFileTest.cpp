#include "config/IniFile.h"
#include "config/SettingsFile.h"
#include "diag/Trace.h"
#include "support/Fakes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

struct RecordingSink : TraceSink {
    void WriteTraceLevel(int, const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

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
    ASSERT_TRUE(Read_IniFile(t.app, path));
    EXPECT_EQ(t.app.settings.SortLength, 25);
    EXPECT_EQ(t.app.settings.ImpExp.Trennzeichen, '$');
    EXPECT_EQ(Positions(t.app), Positions(TestApp().app));
    EXPECT_TRUE(t.app.selection.SuchenIn[9]);
    EXPECT_FALSE(t.app.selection.SuchenIn[0]);
    EXPECT_FALSE(t.app.selection.SuchenIn[10]);

    EXPECT_EQ(Write_IniFile(t.app, path), std::nullopt);
    const IniFile ini(FileBytes());
    EXPECT_EQ(ini.ReadString("COMMON", "DefaultTyp", ""), "Taschenbuch");
    EXPECT_EQ(ini.ReadInteger("COMMON", "AnzKats", -1), 0);
    EXPECT_EQ(ini.ReadString("COMMON", "ImportTrennz", ""), "$");
    EXPECT_EQ(ini.ReadString("HeaderBez", "33", ""), "Link");
    EXPECT_EQ(ini.ReadInteger("ExportPos", "32", -1), 0);
    EXPECT_EQ(ini.ReadBool("ShowCol", "9", true), false);
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
    s.FSDialogSearchIn = 5;
    s.ImpExp = {';', 3, 2, 10, 4, 0};
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

    TestApp b;
    ASSERT_TRUE(Read_IniFile(b.app, path));
    const Settings& r = b.app.settings;
    EXPECT_EQ(r.SortLength, 7);
    EXPECT_FALSE(r.SaveDir);
    EXPECT_EQ(r.DefaultOwner, "Ute");
    EXPECT_EQ(r.BuchSort, 6);
    EXPECT_EQ(r.ImpExp.Trennzeichen, ';');
    EXPECT_EQ(r.ImpExp.FirstRow, 3);
    EXPECT_EQ(r.ImpExp.FirstCol, 2);
    EXPECT_EQ(r.ImpExp.AnzRows, 10);
    EXPECT_EQ(r.ImpExp.AnzCols, 4);
    EXPECT_EQ(r.ImpExp.Kopfzeilen, 0);
    EXPECT_TRUE(r.ShowAllMsg && r.SortByAE && r.AlwaysShowAVM);
    EXPECT_FALSE(r.CaseSensitiveSort);
    EXPECT_EQ(r.LZerzwK, 1);
    EXPECT_EQ(r.ExportPos, s.ExportPos);
    EXPECT_EQ(b.app.DataFileName, a.app.DataFileName);
    EXPECT_EQ(b.app.columns.CellArray[2].Header, "Verfasser");
    EXPECT_EQ(b.app.columns.CellArray[2].Width, 120);
    EXPECT_FALSE(b.app.columns.CellArray[4].ShowCol);
    EXPECT_EQ(b.app.columns.CellArray[5].ImportPos, 0);
    EXPECT_EQ(b.app.history.Paths, a.app.history.Paths);
    // The empty row is not written, so the sets come back without it.
    EXPECT_EQ(b.app.keywordSets.Rows, (std::vector<std::vector<std::string>>{{"Set", "Politik", "Europa"}, {"Leer"}}));
    // SuchenIn[1..9] follow the bits of FSDialogSearchIn.
    EXPECT_TRUE(b.app.selection.SuchenIn[1]);
    EXPECT_FALSE(b.app.selection.SuchenIn[2]);
    EXPECT_TRUE(b.app.selection.SuchenIn[3]);
    EXPECT_FALSE(b.app.selection.SuchenIn[4]);
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

TEST_F(SettingsFileTest, SaveOptionOffLeavesFileUntouchedButTraces)
{
    RecordingSink sink;
    InstallTraceSink(&sink);
    TestApp t;
    t.app.settings.SaveOption = false;
    t.app.history.Paths = {"/a.FOL"};
    EXPECT_EQ(Write_IniFile(t.app, path), std::nullopt);
    InstallTraceSink(nullptr);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"Write_IniFile [ENTRY]", "Write_IniFile [EXIT]"}));
}

TEST_F(SettingsFileTest, FailedWriteReturnsTheErrorAndKeepsTheFile)
{
    const std::string blocked = dir.filePath(QStringLiteral("sub")).toStdString();
    ASSERT_TRUE(WriteFileAtomically(blocked, "not a directory"));
    TestApp t;
    const std::string target = blocked + "/Folianto.INI";
    EXPECT_EQ(Write_IniFile(t.app, target), "nach " + target + " kann nicht geschrieben werden");
    // A settings path that is a directory cannot be read: nothing is replaced.
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
    // Position 3 free below the taken 4: shown columns get 0.., others -1 (9 and 30 are hidden).
    TestApp holes;
    ReadSettings(holes.app, IniFile(PositionSection({0, 1, 2, 4})));
    EXPECT_EQ(Positions(holes.app),
              "0,1,2,3,4,5,6,7,8,-1,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,-1,29,30,31");
    // Nothing taken above the free positions: no renumbering.
    TestApp noHoles;
    ReadSettings(noHoles.app, IniFile(PositionSection({0, 1, 2})));
    std::string expected = "0,1,2";
    for (int i = 3; i < ColumnCount; ++i)
        expected += ",-1";
    EXPECT_EQ(Positions(noHoles.app), expected);
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

TEST(SettingsReader, Columns9And30StayHidden)
{
    TestApp t;
    ReadSettings(t.app, IniFile("[ShowCol]\r\n9=1\r\n30=1\r\n31=0\r\n"));
    EXPECT_FALSE(t.app.columns.CellArray[9].ShowCol);
    EXPECT_FALSE(t.app.columns.CellArray[30].ShowCol);
    EXPECT_FALSE(t.app.columns.CellArray[31].ShowCol);
    EXPECT_TRUE(t.app.columns.CellArray[29].ShowCol);
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

TEST(SettingsReader, PresetsCutAndOutOfRangeValuesHandled)
{
    TestApp t;
    ReadSettings(t.app, IniFile("[COMMON]\r\n"
                                "DefaultTyp=123456789012345678901234\r\n"
                                "DefaultOwner=Anna\r\n"
                                "DefaultLanguage=abcdefghijklmnopqrstu\r\n"
                                "SortLength=300\r\nBuchSort=9\r\nFSDialogOpenDef=7\r\nMaxColWidth=0\r\n"
                                "LZerzwK=50\r\nHistryLgthPrz=150\r\nHistryLgth=-3\r\nSchlwLenght=-1\r\n"
                                "FSDialogSearchIn=-1\r\nShowAllMsg=abc\r\nKuerzelZwang=0\r\n"
                                "[ImpExp]\r\nFirstRow=-4\r\nAnzCols=-2\r\n"
                                "[Zellenbreite]\r\n1=-9\r\n[HeaderBez]\r\n3=  \r\n"
                                "[ExportPos]\r\n0=40\r\n1=-33\r\n"
                                "[History]\r\n0=/a.FOL\r\n1=\r\n2=/a.FOL\r\n3=/b.FOL\r\n5=/c.FOL\r\n"));
    const Settings& s = t.app.settings;
    EXPECT_EQ(s.DefaultTyp, "12345678901234567890");
    EXPECT_EQ(s.DefaultOwner, "Anna");
    EXPECT_EQ(s.DefaultLanguage, "abcdefghijklmnopqrst");
    EXPECT_EQ(s.SortLength, 255);
    EXPECT_EQ(s.BuchSort, 0);
    EXPECT_EQ(s.FSDialogOpenDef, 0);
    EXPECT_EQ(s.MaxColWidth, 250);
    EXPECT_EQ(s.LZerzwK, 10);
    EXPECT_EQ(s.HistryLgthPrz, 100);
    EXPECT_EQ(s.HistryLgth, 0);
    EXPECT_EQ(s.SchlwLenght, 5);
    EXPECT_EQ(s.FSDialogSearchIn, 1023);
    EXPECT_FALSE(s.ShowAllMsg);
    EXPECT_FALSE(s.KuerzelZwang);
    EXPECT_EQ(s.ImpExp.FirstRow, 1);
    EXPECT_EQ(s.ImpExp.AnzCols, 0);
    EXPECT_EQ(t.app.columns.CellArray[1].Width, -1);
    EXPECT_EQ(t.app.columns.CellArray[3].Header, "Kategorie");
    EXPECT_EQ(s.ExportPos[0], 0);
    EXPECT_EQ(s.ExportPos[1], -33);
    EXPECT_EQ(t.app.history.Paths, (std::vector<std::string>{"/a.FOL", "/b.FOL"}));
}

TEST(SettingsReader, PositionOutOfRangeBecomesUnplaced)
{
    TestApp t;
    ReadSettings(t.app, IniFile("[Zellenanordnung]\r\n33=34\r\n0=-7\r\n"));
    // Column 0 lost its position, which leaves a hole below position 1: renumbered.
    EXPECT_EQ(t.app.columns.CellArray[0].Pos, 0);
    EXPECT_EQ(t.app.columns.CellArray[33].Pos, 31);
}
