// folianto-cli lookup against a local server configured through the
// settings file's section [Nachschlagen].

#include "application/BuchData.h"
#include "exchange/ExchangeTestUtil.h"
#include "lookup/LookupTestServer.h"

#include <QProcess>

#include <fstream>

namespace folianto {
namespace {

using test::LookupTestServer;

struct CliResult {
    int exitCode;
    std::vector<std::string> lines;
};

class LookupCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureCoreApplication();
        const auto answer = [](const char* file, const char* type = "application/xml") {
            return LookupTestServer::Answer::Of(test::ReadFixture("lookup", file), type);
        };
        server.on("/broken", LookupTestServer::Answer::Status(500));
        LookupTestServer::Answer silent;
        silent.silent = true;
        server.on("/silent", silent);
        server.on("/dnb?query=9783161484100", answer("sru-decomposed.xml"));
        server.on("/dnb?", answer("sru-zero-records.xml"));
        server.on("/ol?key=ISBN:9780306406157", answer("openlibrary-one.json", "application/json"));
        server.on("/ol?", answer("openlibrary-none.json", "application/json"));
        server.on("/doi/10.1000/xyz123", answer("doi-csl.json", "application/vnd.citationstyles.csl+json"));
    }

    void WriteIni(const std::string& order, int timeoutMs = 15000)
    {
        std::ofstream ini(path("Folianto.INI"), std::ios::binary);
        ini << "[COMMON]\r\nLookupTimeoutMs=" << timeoutMs << "\r\n[Nachschlagen]\r\nReihenfolge=" << order << "\r\n"
            << "kaputt=marcxml|" << server.url("/broken?{isbn}") << "\r\n"
            << "still=marcxml|" << server.url("/silent?{isbn}") << "\r\n"
            << "dnb=marcxml|" << server.url("/dnb?query={isbn}") << "\r\n"
            << "ol=openlibrary|" << server.url("/ol?key=ISBN:{isbn}") << "\r\n"
            << "doi=csljson|" << server.url("/doi/{doi}") << "\r\n";
    }

    CliResult Lookup(std::vector<std::string> args)
    {
        QStringList list{QStringLiteral("lookup"), QString::fromStdString(path("out.fol"))};
        for (const std::string& a : args)
            list << QString::fromStdString(a);
        list << QStringLiteral("--ini") << QString::fromStdString(path("Folianto.INI"));
        QProcess p;
        p.start(QStringLiteral(FOLIANTO_CLI), list);
        p.waitForFinished(60000);
        CliResult run{p.exitCode(), {}};
        for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
            if (!line.isEmpty())
                run.lines.push_back(line.toStdString());
        return run;
    }

    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    LookupTestServer server;
    QTemporaryDir dir;
};

TEST_F(LookupCliTest, LooksUpAndSavesWhatItFoundAndLeavesASilentSource)
{
    WriteIni("kaputt, dnb, ol");
    const CliResult run = Lookup({"3-16-148410-X", "0-306-40615-2", "9783161484100", "978-3-16-148410-1",
                            "https://doi.org/10.1000/xyz123", "9780000000002"});
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<std::string> expected = {
        "gefunden: 3-16-148410-X: Mül001, Die Übersetzung der Welt",
        "gefunden: 0-306-40615-2: Exa001, Thinking in Tables",
        "bereits vorhanden: 9783161484100",
        "Fehler: Falsche Prüfziffer, keine gültige ISBN: 978-3-16-148410-1",
        "gefunden: https://doi.org/10.1000/xyz123: Now001, Stacks and shelves: an empirical study",
        "nicht gefunden: 9780000000002",
    };
    EXPECT_EQ(run.lines, expected);

    test::TestApp t;
    std::string err;
    ASSERT_TRUE(Load_Buch_Data(t.app, path("out.fol"), err));
    ASSERT_EQ(t.app.store.AnzBuch, 3);
    EXPECT_EQ(t.app.store.at(1)->Autor.Text, Cp1252("Müller-Lüdenscheidt, Jörg; Miłosz, Czesław"));
    EXPECT_EQ(t.app.store.at(3)->TypNum & ~LinkFlag, 4);

    // Into that catalogue again: everything is there already.
    std::rename(path("out.fol").c_str(), path("db.fol").c_str());
    const CliResult again = Lookup({"9783161484100", "0306406152", "--into", path("db.fol")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.lines, (std::vector<std::string>{"bereits vorhanden: 9783161484100", "bereits vorhanden: 0306406152"}));

    // A source that never answers is left after its time limit (the next source asked after it: LookupClientTest).
    WriteIni("still", 500);
    const CliResult failed = Lookup({"3-16-148410-X"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.lines, (std::vector<std::string>{"Fehler: 3-16-148410-X: still: keine Antwort in 1 s"}));
}

} // namespace
} // namespace folianto
