#include "platform/StandardLocations.h"

#include "core/Codec.h"
#include "core/Text.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace folianto {
namespace {

const char* const kSubfolder = "/folianto/";

// A settings file named like the program, beside it.
std::string BesideProgram(const std::string& programPath, const char* ext)
{
    return programPath.empty() ? std::string() : ChangeFileExt(programPath, ext);
}

bool IsPortable(const std::string& programPath)
{
    const std::string ini = BesideProgram(programPath, ".INI");
    return !ini.empty() && QFileInfo::exists(PathFromCp1252(ini));
}

} // namespace

std::string UserConfigDir()
{
    return PathToCp1252(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

std::string UserStateDir()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    return PathToCp1252(QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation));
#else
    // The base directory rules: a relative value is invalid and ignored.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!state.isEmpty() && QDir::isAbsolutePath(state))
        return PathToCp1252(QDir::cleanPath(state));
    return PathToCp1252(QDir::homePath() + QStringLiteral("/.local/state"));
#endif
}

std::string SettingsFilePath(const std::string& programPath)
{
    if (IsPortable(programPath))
        return BesideProgram(programPath, ".INI");
    return UserConfigDir() + kSubfolder + "Folianto.INI";
}

std::string TraceLogPath(const std::string& programPath)
{
    if (IsPortable(programPath))
        return BesideProgram(programPath, ".KEL");
    return UserStateDir() + kSubfolder + "Folianto.KEL";
}

std::string RecoveryFolderPath(const std::string& programPath)
{
    if (IsPortable(programPath))
        return ExtractFilePath(programPath) + "Folianto-recovery";
    return UserStateDir() + kSubfolder + "recovery";
}

} // namespace folianto
