// The files that make Folianto part of a Linux desktop: the launcher entry,
// the file type of the database files and the software-centre description,
// checked by the desktop's own validators.

#include "application/BuchData.h"
#include "support/Fakes.h"

#include <QBuffer>
#include <QProcess>
#include <QXmlStreamReader>

using namespace folianto;
using namespace folianto::test;

namespace {

const QString kDist = QStringLiteral(FOLIANTO_DIST_DIR);
const QString kId = QStringLiteral("de.quillmar.Folianto");

struct ToolRun {
    int exitCode = -1;
    QString output; // standard output and error together
};

ToolRun RunTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return {-1, program + QStringLiteral(" is not installed")};
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

QString ReadText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The <match> rules of the MIME type: offset and value.
std::vector<std::pair<int, QByteArray>> MagicMatches(const QString& mimeFile)
{
    QFile f(mimeFile);
    std::vector<std::pair<int, QByteArray>> matches;
    if (!f.open(QIODevice::ReadOnly))
        return matches;
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("match"))
            matches.emplace_back(xml.attributes().value(QLatin1String("offset")).toInt(),
                                 xml.attributes().value(QLatin1String("value")).toLatin1());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return matches;
}

} // namespace

TEST(DesktopFiles, LauncherEntryIsValidAndOpensDatabaseFiles)
{
    const QString desktop = kDist + QLatin1Char('/') + kId + QStringLiteral(".desktop");
    const ToolRun run = RunTool(QStringLiteral("desktop-file-validate"), {desktop});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    // Hints are fine; warnings and errors are not.
    EXPECT_FALSE(run.output.contains(QLatin1String("error:")) || run.output.contains(QLatin1String("warning:")))
        << run.output.toStdString();
    const QString text = ReadText(desktop);
    for (const char* line : {"Exec=Folianto %f", "MimeType=application/x-folianto;", "Icon=de.quillmar.Folianto",
                             "Categories=Office;Education;", "Name=Folianto", "Comment[de]="})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line;
}

TEST(DesktopFiles, SoftwareCentreDescriptionIsValid)
{
    const ToolRun run = RunTool(QStringLiteral("appstreamcli"),
                            {QStringLiteral("validate"), QStringLiteral("--no-net"),
                             kDist + QLatin1Char('/') + kId + QStringLiteral(".metainfo.xml")});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
}

TEST(DesktopFiles, FileTypeIsAcceptedAndKnowsTheHeaderOfEveryWrittenVersion)
{
    const QString mimeFile = kDist + QLatin1Char('/') + kId + QStringLiteral(".mime.xml");
    QTemporaryDir data;
    ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral("mime/packages")));
    ASSERT_TRUE(QFile::copy(mimeFile, data.filePath(QStringLiteral("mime/packages/")) + kId + QStringLiteral(".xml")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path()); // else it warns that nobody looks there
    const ToolRun run =
        RunTool(QStringLiteral("update-mime-database"), {data.filePath(QStringLiteral("mime"))}, environment);
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.output.trimmed().isEmpty()) << run.output.toStdString(); // it speaks only of faults
    EXPECT_TRUE(ReadText(data.filePath(QStringLiteral("mime/globs2"))).contains(QLatin1String("application/x-folianto:*.fol\n")));

    const auto matches = MagicMatches(mimeFile);
    ASSERT_FALSE(matches.empty());
    for (const int minor : {2, 3, 4}) {
        TestApp t;
        t.app.store.NewBuch();
        t.app.DataVerMain = 1;
        t.app.DataVerMinor = minor;
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        WriteBuchData(t.app, file, "file");
        const QByteArray bytes = file.data();
        for (const auto& [offset, value] : matches)
            EXPECT_EQ(bytes.mid(offset, value.size()), value) << "version 1." << minor;
    }
}
