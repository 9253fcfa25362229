#include "support/DbBytes.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace folianto::test;

namespace {

struct CliRun {
    int exitCode;
    std::string out;
    std::string err;
};

CliRun Cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(FOLIANTO_CLI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

} // namespace

TEST(CliDatabase, SampleDumpConvert)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.FOL"));
    const QString b = dir.filePath(QStringLiteral("b.FOL"));
    ASSERT_EQ(Cli({QStringLiteral("sample"), QStringLiteral("30"), a, QStringLiteral("--seed"), QStringLiteral("3")})
                  .exitCode,
              0);
    const CliRun dump = Cli({QStringLiteral("dump"), a});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_EQ(dump.out.substr(0, dump.out.find('\n')),
              "{\"AnzBuch\":30,\"DataVerMain\":1,\"DataVerMinor\":4,\"Gesichert\":true}");
    EXPECT_EQ(std::count(dump.out.begin(), dump.out.end(), '\n'), 31);
    EXPECT_EQ(dump.out.find("\n{\"Kuerzel\":"), dump.out.find('\n'));

    ASSERT_EQ(Cli({QStringLiteral("convert"), a, b}).exitCode, 0);
    ASSERT_EQ(Cli({QStringLiteral("convert"), a, b}).exitCode, 0);
    EXPECT_EQ(ReadBytes(b), ReadBytes(a));
    EXPECT_EQ(ReadBytes(dir.filePath(QStringLiteral("b.BAK_FOL"))), ReadBytes(a));
}

TEST(CliDatabase, DumpOfAnOlderVersionAndJsonEscaping)
{
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("v2.FOL"));
    Bytes t;
    t.raw("Folianto1.2#").text("a\"b\\c\x01").text("\xE4");
    for (int i = 3; i <= 27; ++i)
        t.text(" ");
    t.i32(1).i32(2).i32(3).f32(0.1f).i32(4);
    WriteBytes(f, t.b);

    const CliRun declined = Cli({QStringLiteral("dump"), f, QStringLiteral("--answers"), QStringLiteral("no")});
    EXPECT_EQ(declined.exitCode, 1);
    EXPECT_NE(declined.err.find("error: Fehler beim Laden: -- F\xC3\xBCr diesen Fehler"), std::string::npos);

    const CliRun run = Cli({QStringLiteral("dump"), f, QStringLiteral("--answers"), QStringLiteral("yes")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"DataVerMinor\":2"), std::string::npos);
    EXPECT_NE(run.out.find("{\"Kuerzel\":\"a\\\"b\\\\c\\u0001\",\"Autor\":\"\xC3\xA4\",\"Herausgeber\":\"\""),
              std::string::npos);
    EXPECT_NE(run.out.find("\"Waehrung\":\"\",\"Auflage\":1,\"Verleihstatus\":2,\"JahrNum\":3,\"Preis\":0.1,"
                           "\"TypNum\":4,\"AnzPics\":0,\"Pics\":[],\"Kaufdatum\":0,\"BuchNr\":1}"),
              std::string::npos)
        << run.out;
}

TEST(CliDatabase, ExitCodes)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("fehlt.FOL"));
    const CliRun run = Cli({QStringLiteral("dump"), missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "error: Fehler beim Laden: Datei " + missing.toStdString() + " nicht gefunden!\n");
    EXPECT_EQ(Cli({QStringLiteral("dump")}).exitCode, 2);
    EXPECT_EQ(Cli({QStringLiteral("sample"), QStringLiteral("10001"), missing}).exitCode, 2);
    EXPECT_EQ(Cli({QStringLiteral("convert"), missing, missing}).exitCode, 1);
}
