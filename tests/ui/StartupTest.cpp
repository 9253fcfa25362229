#include "ui/GuiSupport.h"

#include "ui/shell/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

namespace folianto::test {
namespace {

TEST(Startup, AppExceptionShowsLogsAndSnapshotsTheTrace)
{
    QTemporaryDir dir;
    TestApp t;
    t.platform.programPath = PathToCp1252(dir.filePath(QStringLiteral("Folianto")));
    t.app.traceLog.Start(t.platform.programPath, t.ui);
    AppException(t.app, "Etwas ging schief");
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "Etwas ging schief");
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Error);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Folianto.001.KEL"))));
    bool logged = false;
    for (int slot = 0; slot < 5; ++slot)
        logged = logged || t.app.traceLog.Line(slot).find("TFoliantoMainWindow.AppException [ENTRY]\r\n"
                                                          "Exception.Message=\"Etwas ging schief\"") !=
                               std::string::npos;
    EXPECT_TRUE(logged);
    t.app.traceLog.End();
}

TEST(Startup, AnExceptionInACommandIsReportedAndTheWindowStays)
{
    WindowFixture f;
    // A directory cannot be read as a database file: the load throws.
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("dir.FOL")));
    const std::string path = PathToCp1252(f.dir.filePath(QStringLiteral("dir.FOL")));
    f.t.ui.filePaths.push_back(path);
    FindAction(f.window.get(), {Q("&Datei"), Q("Ö&ffnen...")})->trigger();
    ASSERT_FALSE(f.t.ui.messages.empty());
    EXPECT_EQ(f.t.ui.messages.back().kind, MsgKind::Error);
    EXPECT_EQ(f.t.ui.messages.back().text, "Fehler beim Lesen aus " + path + "!");
    EXPECT_TRUE(f.window->isVisible());
}

TEST(Startup, UnreadableSettingsWarnAndTheDefaultsStay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Folianto.INI"))); // exists, cannot be read as a file
    TestApp t;
    t.platform.programPath = PathToCp1252(dir.filePath(QStringLiteral("Folianto")));
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TFoliantoMainWindow*>(w) && w->isVisible())
                w->close();
    });
    RunFolianto(t.app, PathToCp1252(dir.path()));
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages[0].text, "Konnte Folianto.INI nicht lesen!");
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Warning);
    EXPECT_EQ(t.app.settings.BuchSort, 0);
}

TEST(Startup, WithoutADisplayTheProgramSaysSo)
{
    const char* vars[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i)
        saved[i] = qgetenv(vars[i]);
    const struct {
        const char* platform;
        const char* display;
        const char* wayland;
        bool missing;
    } cases[] = {
        {"", "", "", true}, {"", ":0", "", false}, {"", "", "wayland-0", false}, {"offscreen", "", "", false}};
    for (const auto& c : cases) {
        const char* values[] = {c.platform, c.display, c.wayland};
        for (int i = 0; i < 3; ++i)
            *values[i] ? qputenv(vars[i], values[i]) : qunsetenv(vars[i]);
        EXPECT_EQ(MissingDisplayReason().empty(), !c.missing) << c.platform << c.display << c.wayland;
    }
    for (int i = 0; i < 3; ++i)
        saved[i].isEmpty() ? qunsetenv(vars[i]) : qputenv(vars[i], saved[i]);
}

} // namespace
} // namespace folianto::test
