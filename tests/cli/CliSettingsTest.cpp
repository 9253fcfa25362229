#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace {

struct CliRun {
    int exitCode;
    std::string out, err;
};

CliRun Cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(FOLIANTO_CLI), args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

} // namespace

TEST(CliSettings, IniOptionReadsTheNamedFileOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("x.INI"));
    std::ofstream(ini.toStdString()) << "[COMMON]\r\nSortLength=12\r\nDefaultOwner=J\xFCrgen\r\n";

    const CliRun defaults = Cli({QStringLiteral("settings")});
    EXPECT_EQ(defaults.exitCode, 0);
    EXPECT_NE(defaults.out.find("\nSortLength=25\n"), std::string::npos);

    const CliRun read = Cli({QStringLiteral("settings"), QStringLiteral("--ini"), ini});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_NE(read.out.find("\nSortLength=12\n"), std::string::npos);
    EXPECT_NE(read.out.find("DefaultOwner=J\xC3\xBCrgen\n"), std::string::npos);

    const QString missing = dir.filePath(QStringLiteral("none.INI"));
    const CliRun failed = Cli({QStringLiteral("settings"), QStringLiteral("--ini"), missing});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err, "error: Konnte " + missing.toStdString() + " nicht lesen!\n");
    EXPECT_FALSE(QFile::exists(missing)); // the tool never writes settings
}
