#include "exchange/ExchangeTestUtil.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace folianto {
namespace {

struct CliRun {
    int exitCode;
    std::string err;
};

CliRun Cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(FOLIANTO_CLI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardError().toStdString()};
}

class CliExchangeTest : public ::testing::Test {
protected:
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    std::string Bytes(const char* name) const { return test::ReadFileBytes(PathToCp1252(File(name))); }
    QTemporaryDir dir;
};

TEST_F(CliExchangeTest, ImportThenExportListAndColumn)
{
    test::WriteFileBytes(PathToCp1252(File("in.txt")),
                         "Kuerzel$Titel$Autor\r\nK2$Zauberberg$Mann\r\nK1$Amerika$Kafka\r\n");
    const CliRun imported = Cli({QStringLiteral("import-txt"), File("in.txt"), File("a.FOL")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;

    // Grid order: sorted by title.
    ASSERT_EQ(Cli({QStringLiteral("export-list"), File("a.FOL"), File("list.txt"), QStringLiteral("--predefined")})
                  .exitCode,
              0);
    EXPECT_EQ(Bytes("list.txt"), "[K1]  Kafka: Amerika; \r\n[K2]  Mann: Zauberberg; \r\n");

    ASSERT_EQ(Cli({QStringLiteral("export-column"), File("a.FOL"), QStringLiteral("2"), File("col.txt")}).exitCode, 0);
    EXPECT_EQ(Bytes("col.txt"), "Kafka\r\nMann\r\n");

    // An existing file is kept when the question is answered No.
    const CliRun kept = Cli({QStringLiteral("export-column"), File("a.FOL"), QStringLiteral("1"), File("col.txt"),
                             QStringLiteral("--answers"), QStringLiteral("no")});
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_NE(kept.err.find("existiert bereits!"), std::string::npos);
    EXPECT_EQ(Bytes("col.txt"), "Kafka\r\nMann\r\n");

    // Appending to the database.
    test::WriteFileBytes(PathToCp1252(File("more.txt")), "kopf\nK3$Ulysses$Joyce");
    ASSERT_EQ(Cli({QStringLiteral("import-txt"), File("more.txt"), File("b.FOL"), QStringLiteral("--into"),
                   File("a.FOL")})
                  .exitCode,
              0);
    ASSERT_EQ(Cli({QStringLiteral("export-column"), File("b.FOL"), QStringLiteral("0"), File("keys.txt")}).exitCode, 0);
    EXPECT_EQ(Bytes("keys.txt"), "K1\r\nK3\r\nK2\r\n");
}

TEST_F(CliExchangeTest, WorkbookRoundTrip)
{
    test::WriteFileBytes(PathToCp1252(File("in.txt")), "kopf\nK1$Amerika$Kafka\nK2$Zauberberg$Mann\n");
    ASSERT_EQ(Cli({QStringLiteral("import-txt"), File("in.txt"), File("a.FOL")}).exitCode, 0);
    const CliRun exported = Cli({QStringLiteral("export-xls"), File("a.FOL"), File("a.xls")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;

    // The grid's first three columns are Kürzel, Titel, Autor; row 1 is the header.
    test::WriteFileBytes(PathToCp1252(File("range.ini")), "[ImpExp]\r\nFirstRow=2\r\nAnzRows=10\r\nAnzCols=3\r\n");
    const CliRun imported = Cli({QStringLiteral("import-xls"), File("a.xls"), File("b.FOL"), QStringLiteral("--ini"),
                                 File("range.ini")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    ASSERT_EQ(Cli({QStringLiteral("export-column"), File("b.FOL"), QStringLiteral("2"), File("col.txt")}).exitCode, 0);
    EXPECT_EQ(Bytes("col.txt"), "Kafka\r\nMann\r\n");
}

TEST_F(CliExchangeTest, UsageAndFailures)
{
    EXPECT_EQ(Cli({QStringLiteral("export-column"), File("a.FOL"), QStringLiteral("34"), File("c.txt")}).exitCode, 2);
    EXPECT_EQ(Cli({QStringLiteral("import-txt"), File("in.txt")}).exitCode, 2);
    const CliRun missing = Cli({QStringLiteral("import-txt"), File("fehlt.txt"), File("a.FOL")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("error: "), std::string::npos);
}

} // namespace
} // namespace folianto
