#include "application/SettingsFile.h"
#include "platform/StandardLocations.h"
#include "support/Fakes.h"
#include "support/ScopedEnv.h"

using namespace folianto;
using namespace folianto::test;

namespace {

struct Folders {
    QTemporaryDir root;
    std::string at(const char* sub) const { return PathToCp1252(root.filePath(QString::fromLatin1(sub))); }
    std::string program() const { return at("bin/Folianto"); }
};

void Touch(const std::string& path)
{
    QFile f(PathFromCp1252(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(StandardLocations, SettingsAndTraceLogFollowThePortableFileElseTheUserFolders)
{
    enum StateHome { Unset, InRoot, Relative };
    struct Case {
        const char* name;
        bool iniBesideProgram;
        StateHome stateHome;
        const char* expectedIni;
        const char* expectedLog;
    };
    for (const Case& k : {
             Case{"portable", true, InRoot, "bin/Folianto.INI", "bin/Folianto.KEL"},
             Case{"installed", false, InRoot, "config/folianto/Folianto.INI", "state/folianto/Folianto.KEL"},
             Case{"no state home", false, Unset, "config/folianto/Folianto.INI",
                  "home/.local/state/folianto/Folianto.KEL"},
             Case{"relative state home is ignored", false, Relative, "config/folianto/Folianto.INI",
                  "home/.local/state/folianto/Folianto.KEL"},
         }) {
        SCOPED_TRACE(k.name);
        Folders f;
        ASSERT_TRUE(QDir(f.root.path()).mkpath(QStringLiteral("bin")));
        if (k.iniBesideProgram)
            Touch(f.at("bin/Folianto.INI"));
        ScopedEnv home("HOME", PathFromCp1252(f.at("home")));
        ScopedEnv config("XDG_CONFIG_HOME", PathFromCp1252(f.at("config")));
        const QString state[] = {QString(), PathFromCp1252(f.at("state")), QStringLiteral("state")};
        ScopedEnv stateHome("XDG_STATE_HOME", state[k.stateHome]);
        EXPECT_EQ(SettingsFilePath(f.program()), f.at(k.expectedIni));
        EXPECT_EQ(TraceLogPath(f.program()), f.at(k.expectedLog));
    }
}

TEST(StandardLocations, SettingsGoToACreatedConfigFolderAndComeBackOrTheFolderIsReported)
{
    Folders f;
    ScopedEnv config("XDG_CONFIG_HOME", PathFromCp1252(f.at("config")));
    TestApp writer;
    writer.platform.programPath = f.program();
    writer.app.settings.BuchSort = 5;
    ASSERT_EQ(Write_IniFile(writer.app), std::nullopt);
    EXPECT_TRUE(QFile::exists(PathFromCp1252(f.at("config/folianto/Folianto.INI"))));
    EXPECT_FALSE(QFile::exists(PathFromCp1252(f.at("bin/Folianto.INI"))));

    TestApp reader;
    reader.platform.programPath = f.program();
    ASSERT_TRUE(Read_IniFile(reader.app));
    EXPECT_EQ(reader.app.settings.BuchSort, 5);

    // A config folder that cannot be made is reported with the path.
    Touch(f.at("blocked")); // a file where the folder should be
    ScopedEnv blocked("XDG_CONFIG_HOME", PathFromCp1252(f.at("blocked")));
    EXPECT_EQ(Write_IniFile(writer.app), "nach " + f.at("blocked/folianto/Folianto.INI") + " kann nicht geschrieben werden");
}
