#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "support/Fakes.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace folianto;

namespace {

struct ListRun {
    int exitCode;
    std::vector<std::string> lines;
    std::string err;
};

ListRun RunList(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(FOLIANTO_CLI), QStringList{QStringLiteral("list")} + args);
    p.waitForFinished(60000);
    ListRun run{p.exitCode(), {}, p.readAllStandardError().toStdString()};
    const std::string out = p.readAllStandardOutput().toStdString();
    for (std::size_t from = 0, nl; (nl = out.find('\n', from)) != std::string::npos; from = nl + 1)
        run.lines.push_back(out.substr(from, nl - from));
    return run;
}

// Cells of one output line.
std::vector<std::string> Cells(const std::string& line)
{
    std::vector<std::string> cells;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
        cells.push_back(line.substr(from, tab - from));
    cells.push_back(line.substr(from));
    return cells;
}

class CliList : public ::testing::Test {
protected:
    CliList()
    {
        test::TestApp t;
        for (auto [titel, autor, inhalt] : {std::tuple{"Zeit", "Mann", "eins\r\nzwei"},
                                            std::tuple{"Äpfel", "Müller", "x\ny"},
                                            std::tuple{"Apfel", "Mayer", ""}}) {
            t.app.store.NewBuch();
            TBuch& b = *t.app.store.at(t.app.store.AnzBuch);
            b.Titel.Text = Cp1252(titel);
            b.Autor.Text = Cp1252(autor);
            b.Inhalt.Text = inhalt;
            b.TypNum = 0;
        }
        db = dir.filePath(QStringLiteral("k.FOL"));
        std::string err;
        Save_Buch_Data(t.app, db.toStdString(), err);
    }
    QTemporaryDir dir;
    QString db;
};

TEST_F(CliList, PrintsHeadersAndRowsInGridOrder)
{
    const ListRun run = RunList({db});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 4u);
    const auto header = Cells(run.lines[0]);
    ASSERT_EQ(header.size(), 33u);
    EXPECT_EQ(header[0], "Kürzel");
    EXPECT_EQ(header[1], "Titel");
    EXPECT_EQ(header[10], "Inhalt");
    std::vector<std::string> titles, inhalt;
    for (std::size_t i = 1; i < run.lines.size(); ++i) {
        titles.push_back(Cells(run.lines[i])[1]);
        inhalt.push_back(Cells(run.lines[i])[10]);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Apfel", "Zeit", "Äpfel"}));
    EXPECT_EQ(inhalt, (std::vector<std::string>{"", "einszwei", "xy"}));
}

TEST_F(CliList, SortAndSearch)
{
    ListRun run = RunList({db, QStringLiteral("--sort"), QStringLiteral("6")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Cells(run.lines[1])[1], "Apfel");
    EXPECT_EQ(Cells(run.lines[3])[1], "Zeit");

    run = RunList({db, QStringLiteral("--search"), QStringLiteral("MA"), QStringLiteral("--in"), QStringLiteral("1")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.lines.size(), 3u);
    EXPECT_EQ(Cells(run.lines[1])[1], "Apfel");
    EXPECT_EQ(Cells(run.lines[2])[1], "Zeit");

    run = RunList({db, QStringLiteral("--search"), QStringLiteral("nichts")});
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_EQ(Cells(run.lines[0])[1], "Titel");
    EXPECT_EQ(run.lines[1], std::string(32, '\t'));
    EXPECT_NE(run.err.find("error: Für diese Suchen-/Filtern-/Schlagwort-Suche-Einstellung\\nwurden keine Daten gefunden."),
              std::string::npos);

    EXPECT_EQ(RunList({db, QStringLiteral("--sort"), QStringLiteral("8")}).exitCode, 2);
    EXPECT_EQ(RunList({db, QStringLiteral("--in"), QStringLiteral("0,11")}).exitCode, 2);
    EXPECT_EQ(RunList({dir.filePath(QStringLiteral("weg.FOL"))}).exitCode, 1);
}

} // namespace
