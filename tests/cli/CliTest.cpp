#include "application/BuchData.h"
#include "core/DatabaseFile.h"
#include "selection/SelectionTestUtil.h"
#include "support/DbBytes.h"

#include <QProcess>

#include <fstream>

using namespace folianto;
using namespace folianto::test;

namespace {

struct CliRun {
    int exitCode;
    std::string out, err;

    std::vector<std::string> lines() const
    {
        std::vector<std::string> v;
        for (std::size_t from = 0, nl; (nl = out.find('\n', from)) != std::string::npos; from = nl + 1)
            v.push_back(out.substr(from, nl - from));
        return v;
    }
    // Cell `index` of every tab-separated output line.
    std::vector<std::string> column(int index) const
    {
        std::vector<std::string> cells;
        for (const std::string& line : lines()) {
            std::size_t from = 0;
            for (int i = 0; i < index; ++i)
                from = line.find('\t', from) + 1;
            cells.push_back(line.substr(from, line.find('\t', from) - from));
        }
        return cells;
    }
};

CliRun Cli(const std::vector<std::string>& args)
{
    QStringList list;
    for (const std::string& a : args)
        list << QString::fromStdString(a);
    QProcess p;
    p.start(QStringLiteral(FOLIANTO_CLI), list);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

// Saves the titles `fill` adds to a fresh application as `path`.
void SaveTitles(const std::string& path, const std::function<void(App&)>& fill)
{
    TestApp t;
    fill(t.app);
    std::string err;
    ASSERT_TRUE(Save_Buch_Data(t.app, path, err)) << err;
}

class CliTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    std::string bytes(const char* name) const { return ReadBytes(dir.filePath(QString::fromLatin1(name))); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(CliTest, SampleDumpConvert)
{
    ASSERT_EQ(Cli({"sample", "30", path("a.FOL"), "--seed", "3"}).exitCode, 0);
    const CliRun dump = Cli({"dump", path("a.FOL")});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    const auto lines = dump.lines();
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[0], "{\"AnzBuch\":30,\"DataVerMain\":1,\"DataVerMinor\":4,\"Gesichert\":true}");
    EXPECT_EQ(lines[1].rfind("{\"Kuerzel\":", 0), 0u);

    ASSERT_EQ(Cli({"convert", path("a.FOL"), path("b.FOL")}).exitCode, 0);
    ASSERT_EQ(Cli({"convert", path("a.FOL"), path("b.FOL")}).exitCode, 0);
    EXPECT_EQ(bytes("b.FOL"), bytes("a.FOL"));
    EXPECT_EQ(bytes("b.BAK_FOL"), bytes("a.FOL"));
}

TEST_F(CliTest, DumpOfAnOlderVersionAndJsonEscaping)
{
    Bytes t;
    t.raw("Folianto1.2#").text("a\"b\\c\x01").text("\xE4");
    for (int i = 3; i <= 27; ++i)
        t.text(" ");
    t.i32(1).i32(2).i32(3).f32(0.1f).i32(4);
    WriteBytes(dir.filePath(QStringLiteral("v2.FOL")), t.b);

    const CliRun declined = Cli({"dump", path("v2.FOL"), "--answers", "no"});
    EXPECT_EQ(declined.exitCode, 1);
    EXPECT_NE(declined.err.find("error: Fehler beim Laden: -- F\xC3\xBCr diesen Fehler"), std::string::npos);

    const CliRun run = Cli({"dump", path("v2.FOL"), "--answers", "yes"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"DataVerMinor\":2"), std::string::npos);
    EXPECT_NE(run.out.find("{\"Kuerzel\":\"a\\\"b\\\\c\\u0001\",\"Autor\":\"\xC3\xA4\",\"Herausgeber\":\"\""),
              std::string::npos);
    EXPECT_NE(run.out.find("\"Waehrung\":\"\",\"Auflage\":1,\"Verleihstatus\":2,\"JahrNum\":3,\"Preis\":0.1,"
                           "\"TypNum\":4,\"AnzPics\":0,\"Pics\":[],\"Kaufdatum\":0,\"BuchNr\":1}"),
              std::string::npos)
        << run.out;
}

TEST_F(CliTest, ListSortsSearchesAndFlattensCells)
{
    const std::string db = path("k.FOL");
    SaveTitles(db, [](App& app) {
        for (auto [titel, autor, inhalt] : {std::tuple{"Zeit", "Mann", "eins\r\nzwei"},
                                            std::tuple{"Äpfel", "Müller", "x\ny"}, std::tuple{"Apfel", "Mayer", ""}}) {
            TBuch& b = AddTitle(app, titel);
            b.Autor.Text = Cp1252(autor);
            b.Inhalt.Text = inhalt;
        }
    });
    const CliRun plain = Cli({"list", db});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(std::count(plain.out.begin(), plain.out.end(), '\t'), 4 * 32);
    EXPECT_EQ(plain.column(1), (std::vector<std::string>{"Titel", "Apfel", "Zeit", "Äpfel"}));
    EXPECT_EQ(plain.column(10), (std::vector<std::string>{"Inhalt", "", "einszwei", "xy"}));
    const auto sorted = Cli({"list", db, "--sort", "6"}).column(1);
    ASSERT_EQ(sorted.size(), 4u);
    EXPECT_EQ(sorted[1], "Apfel");
    EXPECT_EQ(sorted[3], "Zeit");
    EXPECT_EQ(Cli({"list", db, "--search", "MA", "--in", "1"}).column(1),
              (std::vector<std::string>{"Titel", "Apfel", "Zeit"}));

    const CliRun none = Cli({"list", db, "--search", "nichts"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.lines(), (std::vector<std::string>{none.lines().front(), std::string(32, '\t')}));
    EXPECT_NE(none.err.find("error: Für diese Suchen-/Filtern-/Schlagwort-Suche-Einstellung wurden keine Daten gefunden.\n"),
              std::string::npos);
}

TEST_F(CliTest, DuplicatesListsOnePairPerLine)
{
    const std::string db = path("d.FOL");
    SaveTitles(db, [](App& app) {
        for (auto [kuerzel, titel, isbn] : {std::tuple{"A1", "Der Zauberberg", "3-10-048162-5"},
                                            std::tuple{"B1", "Buddenbrooks", ""},
                                            std::tuple{"A2", "Zauberberg\tRoman", "9783100481623"}}) {
            TBuch& b = AddTitle(app, titel);
            b.Kuerzel.Text = kuerzel;
            b.Autor.Text = "Mann, Thomas";
            b.Jahr.Text = "1924";
            b.ISBN.Text = isbn;
        }
    });
    const CliRun run = Cli({"duplicates", db});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.lines(), (std::vector<std::string>{"A1\tA2\tgleiche ISBN\tDer Zauberberg\tZauberberg Roman"}));

    const std::string none = path("keine.FOL");
    SaveTitles(none, [](App& app) { AddTitle(app, "Einzeln"); });
    const CliRun empty = Cli({"duplicates", none});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "");
    EXPECT_NE(empty.err.find("Es wurden keine doppelten Titel gefunden."), std::string::npos);
}

TEST_F(CliTest, ExitCodes)
{
    const std::string missing = path("fehlt.FOL");
    const CliRun run = Cli({"dump", missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "error: Fehler beim Laden: Datei " + missing + " nicht gefunden!\n");
    const std::string db = path("k.FOL");
    ASSERT_EQ(Cli({"sample", "20", db, "--seed", "4"}).exitCode, 0);
    // 2: the call's words are off; 1: the file cannot be read.
    const std::pair<std::vector<std::string>, int> calls[] = {
        {{"dump"}, 2},
        {{"sample", "10001", missing}, 2},
        {{"list", db, "--sort", "8"}, 2},
        {{"list", db, "--in", "0,11"}, 2},
        {{"duplicates"}, 2},
        {{"export-column", db, "34", path("c.txt")}, 2},
        {{"import-txt", path("in.txt")}, 2},
        {{"convert", missing, missing}, 1},
        {{"import-txt", path("fehlt.txt"), path("a.FOL")}, 1},
        {{"list", missing}, 1},
        {{"duplicates", missing}, 1},
    };
    for (const auto& [args, code] : calls)
        EXPECT_EQ(Cli(args).exitCode, code) << args.front() << " " << args.back();

    // A damaged file: the titles read whole, as many as the one message
    // says, status 1. No database at all: refused.
    {
        std::ofstream tail(db, std::ios::app | std::ios::binary);
        for (int i = 0; i < 20000; ++i)
            tail << static_cast<char>(i * 37 % 251) << "\xE0\x93\x04\x00";
    }
    const CliRun damaged = Cli({"list", db});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(damaged.lines().size(), 21u);
    EXPECT_NE(damaged.err.find(": 20 Titel vollst"), std::string::npos) << damaged.err;
    EXPECT_EQ(damaged.err.rfind("error: ", 0), 0u);
    EXPECT_EQ(damaged.err.find("error: ", 1), std::string::npos) << damaged.err;
    std::ofstream(path("brief.FOL")) << "Lieber Leser,\r\n";
    const CliRun letter = Cli({"dump", path("brief.FOL")});
    EXPECT_EQ(letter.exitCode, 1);
    EXPECT_EQ(letter.err, "error: Fehler beim Laden: Die Datei " + path("brief.FOL") +
                              " ist keine Folianto-Datei! Daten werden nicht geladen!\n");
}

TEST_F(CliTest, IniOptionReadsTheNamedFileOnly)
{
    std::ofstream(path("x.INI")) << "[COMMON]\r\nSortLength=12\r\nDefaultOwner=J\xFCrgen\r\n";
    EXPECT_NE(Cli({"settings"}).out.find("\nSortLength=25\n"), std::string::npos);
    const CliRun read = Cli({"settings", "--ini", path("x.INI")});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_NE(read.out.find("\nSortLength=12\n"), std::string::npos);
    EXPECT_NE(read.out.find("DefaultOwner=J\xC3\xBCrgen\n"), std::string::npos);

    const std::string missing = path("none.INI");
    const CliRun failed = Cli({"settings", "--ini", missing});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err, "error: Konnte " + missing + " nicht lesen!\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(missing))); // the tool never writes settings
}

TEST_F(CliTest, PathsAndTitlesInAnyScript)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Łódź", "bib.FOL", "Miłosz, Czesław: Dolina Issy"},
        {"Документы", "Miłosz.FOL", "Мастер и Маргарита"},
        {"Dvořák", "Noty.FOL", "Dvořák und Čapek"},
        {"文献", "目录.FOL", "红楼梦"},
    };
    for (const auto& [folder, file, title] : cases) {
        SCOPED_TRACE(title);
        const QString dirPath = dir.filePath(QString::fromUtf8(folder));
        ASSERT_TRUE(QDir().mkpath(dirPath));
        const std::string utf8Dir = dirPath.toStdString();
        const std::string db = utf8Dir + "/" + file;
        SaveTitles(Utf8ToCp1252(db), [title = title](App& app) { AddTitle(app, "").Titel.Text = Utf8ToCp1252(title); });
        const CliRun list = Cli({"list", db, "--search", title, "--in", "6"});
        ASSERT_EQ(list.exitCode, 0) << list.err;
        EXPECT_EQ(list.column(1), (std::vector<std::string>{"Titel", title}));

        const std::string copy = utf8Dir + "/Kopie " + file;
        ASSERT_EQ(Cli({"convert", db, copy}).exitCode, 0);
        const std::string bib = utf8Dir + "/" + file + ".bib";
        ASSERT_EQ(Cli({"export-bib", copy, bib}).exitCode, 0);
        EXPECT_NE(ReadBytes(QString::fromStdString(bib)).find(title), std::string::npos);

        const std::string missing = utf8Dir + "/fehlt.FOL";
        EXPECT_EQ(Cli({"dump", missing}).err, "error: Fehler beim Laden: Datei " + missing + " nicht gefunden!\n");
    }
}
