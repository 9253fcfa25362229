#include "exchange/ExchangeTestUtil.h"

#include <QProcess>
#include <QStandardPaths>

namespace folianto {
namespace {

struct CliRun {
    int exitCode;
    std::string err;
    std::string out;
};

QString Arg(const char* s) { return QString::fromUtf8(s); }
QString Arg(const QString& s) { return s; }

CliRun RunCli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(FOLIANTO_CLI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardError().toStdString(), p.readAllStandardOutput().toStdString()};
}

template <typename... Args> CliRun Cli(const Args&... args) { return RunCli(QStringList{Arg(args)...}); }

class CliExchangeTest : public ::testing::Test {
protected:
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    std::string Bytes(const char* name) const { return test::ReadBytes(File(name)); }
    void Write(const char* name, const std::string& bytes) const { test::WriteBytes(File(name), bytes); }
    QTemporaryDir dir;
};

TEST_F(CliExchangeTest, ImportThenExportListColumnAndWorkbook)
{
    Write("in.txt", "Kuerzel$Titel$Autor\r\nK2$Zauberberg$Mann\r\nK1$Amerika$Kafka\r\n");
    const CliRun imported = Cli("import-txt", File("in.txt"), File("a.FOL"));
    ASSERT_EQ(imported.exitCode, 0) << imported.err;

    // Grid order: sorted by title.
    ASSERT_EQ(Cli("export-list", File("a.FOL"), File("list.txt"), "--predefined").exitCode, 0);
    EXPECT_EQ(Bytes("list.txt"), "[K1]  Kafka: Amerika; \r\n[K2]  Mann: Zauberberg; \r\n");
    ASSERT_EQ(Cli("export-column", File("a.FOL"), "2", File("col.txt")).exitCode, 0);
    EXPECT_EQ(Bytes("col.txt"), "Kafka\r\nMann\r\n");

    // Through a workbook: the grid's first three columns are Kürzel, Titel,
    // Autor; row 1 is the header.
    const CliRun exported = Cli("export-xls", File("a.FOL"), File("a.xls"));
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    Write("range.ini", "[ImpExp]\r\nFirstRow=2\r\nAnzRows=10\r\nAnzCols=3\r\n");
    const CliRun fromXls = Cli("import-xls", File("a.xls"), File("x.FOL"), "--ini", File("range.ini"));
    ASSERT_EQ(fromXls.exitCode, 0) << fromXls.err;
    ASSERT_EQ(Cli("export-column", File("x.FOL"), "2", File("xcol.txt")).exitCode, 0);
    EXPECT_EQ(Bytes("xcol.txt"), "Kafka\r\nMann\r\n");

    // An existing file is kept when the question is answered No.
    const CliRun kept = Cli("export-column", File("a.FOL"), "1", File("col.txt"), "--answers", "no");
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_NE(kept.err.find("existiert bereits!"), std::string::npos);
    EXPECT_EQ(Bytes("col.txt"), "Kafka\r\nMann\r\n");

    // Appending to the database.
    Write("more.txt", "kopf\nK3$Ulysses$Joyce");
    ASSERT_EQ(Cli("import-txt", File("more.txt"), File("b.FOL"), "--into", File("a.FOL")).exitCode, 0);
    ASSERT_EQ(Cli("export-column", File("b.FOL"), "0", File("keys.txt")).exitCode, 0);
    EXPECT_EQ(Bytes("keys.txt"), "K1\r\nK3\r\nK2\r\n");
}

TEST_F(CliExchangeTest, BibTexAndRisRoundTrip)
{
    ASSERT_EQ(Cli("sample", "30", File("a.FOL")).exitCode, 0);
    for (const char* format : {"bib", "ris"}) {
        SCOPED_TRACE(format);
        const std::string ext(format);
        const QString exported = File(("out." + ext).c_str());
        const QString imported = File(("back-" + ext + ".FOL").c_str());
        const CliRun out = Cli(Arg(("export-" + ext).c_str()), File("a.FOL"), exported);
        ASSERT_EQ(out.exitCode, 0) << out.err;
        const CliRun in = Cli(Arg(("import-" + ext).c_str()), exported, imported);
        ASSERT_EQ(in.exitCode, 0) << in.err;
        // The grid's title column is the same text for every title (RIS has
        // no subtitle: it follows the title after ": ").
        ASSERT_EQ(Cli("export-column", File("a.FOL"), "1", File("t1.txt")).exitCode, 0);
        ASSERT_EQ(Cli("export-column", imported, "1", File("t2.txt")).exitCode, 0);
        if (ext == "bib") {
            EXPECT_EQ(Bytes("t2.txt"), Bytes("t1.txt"));
        } else {
            const QStringList before = QString::fromLatin1(Bytes("t1.txt")).split(QStringLiteral("\r\n"));
            const QStringList after = QString::fromLatin1(Bytes("t2.txt")).split(QStringLiteral("\r\n"));
            ASSERT_EQ(after.size(), before.size());
            for (qsizetype i = 0; i < before.size(); ++i)
                EXPECT_TRUE(after[i].startsWith(before[i])) << after[i].toStdString();
        }
    }
}

TEST_F(CliExchangeTest, DamagedBibTexSavesTheRestAndFails)
{
    Write("in.bib", "@book{a, title={Eins}}\n@book{b, title={offen\n@book{c, title={Drei}}\n");
    const CliRun run = Cli("import-bib", File("in.bib"), File("a.FOL"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("warning: Import aus "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Zeile 2: Eintrag \xE2\x80\x9E" "b\xE2\x80\x9C ist nicht abgeschlossen"), std::string::npos)
        << run.err;
    ASSERT_EQ(Cli("export-column", File("a.FOL"), "1", File("t.txt")).exitCode, 0);
    EXPECT_EQ(Bytes("t.txt"), "Drei\r\nEins\r\n");

    // Nothing readable: nothing saved.
    Write("leer.ris", "kein RIS\n");
    EXPECT_EQ(Cli("import-ris", File("leer.ris"), File("b.FOL")).exitCode, 1);
    EXPECT_FALSE(QFile::exists(File("b.FOL")));
}


// The CSL commands end to end: CSL-JSON out and back in, a DIN 1505-2
// bibliography with one entry per shown title, an unknown style refused.
TEST_F(CliExchangeTest, CitationStyleCommands)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty())
        GTEST_SKIP() << "pandoc is not installed (Debian package pandoc)";
    Write("in.txt", "Kuerzel$Titel$Autor\r\nK2$Der Zauberberg$Mann, Thomas\r\nK1$Amerika$Kafka, Franz\r\n");
    ASSERT_EQ(Cli("import-txt", File("in.txt"), File("a.FOL")).exitCode, 0);
    ASSERT_EQ(Cli("export-csljson", File("a.FOL"), File("a.json")).exitCode, 0);
    EXPECT_NE(Bytes("a.json").find("\"family\": \"Kafka\""), std::string::npos);
    const CliRun back = Cli("import-csljson", File("a.json"), File("b.FOL"));
    ASSERT_EQ(back.exitCode, 0) << back.err;

    const CliRun din = Cli("export-csl", File("b.FOL"), File("l.html"), "--style", "din-1505-2");
    ASSERT_EQ(din.exitCode, 0) << din.err;
    const std::string html = Bytes("l.html");
    std::size_t entries = 0;
    for (std::size_t p = html.find("class=\"csl-entry\""); p != std::string::npos;
         p = html.find("class=\"csl-entry\"", p + 1))
        ++entries;
    EXPECT_EQ(entries, 2u);
    EXPECT_NE(html.find("Der Zauberberg"), std::string::npos);

    const CliRun unknown = Cli("export-csl", File("b.FOL"), File("x.html"), "--style", "keiner");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("citation-style-language-styles"), std::string::npos);
    EXPECT_FALSE(QFile::exists(File("x.html")));

    // One title cited: in the text with a page, as a numeric style's single
    // citation, as the full entry; an unknown key is refused.
    const struct {
        std::vector<const char*> args;
        const char* out;
    } cites[] = {
        {{"--style", "apa", "--page", "S. 12"}, "(Mann, o.\u00A0J., S. 12)\n"},
        {{"--style", "ieee"}, "[1]\n"},
        {{"--style", "din-1505-2", "--entry"}, "MANN, THOMAS: Der Zauberberg.\n"},
    };
    for (const auto& c : cites) {
        QStringList args{Arg("cite"), File("a.FOL"), Arg("k2")};
        for (const char* a : c.args)
            args << Arg(a);
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, c.out) << c.args.back();
    }
    const CliRun noKey = Cli("cite", File("a.FOL"), "K9", "--style", "apa");
    EXPECT_EQ(noKey.exitCode, 1);
    EXPECT_NE(noKey.err.find("Es gibt keinen Titel mit dem Kürzel „K9“."), std::string::npos) << noKey.err;
}

} // namespace
} // namespace folianto
