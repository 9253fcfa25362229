#include "application/SemaphoreFile.h"

#include "application/App.h"
#include "core/Codec.h"
#include "application/NetworkLock.h"
#include "core/Text.h"
#include "core/Trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <stdexcept>

namespace folianto {

namespace {

std::string ExpandPath(const std::string& path)
{
    return PathToCp1252(QDir::cleanPath(QFileInfo(PathFromCp1252(path)).absoluteFilePath()));
}

} // namespace

void CreateSemaphoreFile(App& app, const std::string& path)
{
    TraceScope trace("NetworkLock.CreateSemaphoreFile");
    const std::string semPath = SemaphoreFileName(app.platform, path);
    const std::string content = std::string(SemaphoreHeader) + "\r\n" + GetMACAdress(app.platform) + "\r\n";
    QFile f(PathFromCp1252(semPath));
    const bool ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    f.write(content.data(), static_cast<qint64>(content.size())) ==
                        static_cast<qint64>(content.size());
    WriteTrace("SemaphoreFile=\"" + semPath + "\" written=" + TraceBool(ok));
}

void EraseSemaphoreFile(App& app, const std::string& dbPath)
{
    TraceScope trace("NetworkLock.EraseSemaphoreFile");
    const std::string semPath = SemaphoreFileName(app.platform, dbPath);
    if (!QFileInfo::exists(PathFromCp1252(semPath)))
        return;
    const auto lines = ReadSemaphoreFile(semPath);
    if (!lines)
        return;
    const std::string own = GetMACAdress(app.platform);
    const bool erase = lines->mac.empty() || lines->mac == own;
    WriteTrace("SemaphoreFile=\"" + semPath + "\" MAC(SEM)=" + lines->mac + " MAC(own)=" + own +
               " erase=" + TraceBool(erase));
    if (erase)
        EraseFile(semPath);
}

bool Networking_OK(App& app, const std::string& dbPath)
{
    TraceScope trace("NetworkLock.Networking_OK");
    const std::string fullPath = ExpandPath(dbPath);
    if (!app.platform.IsNetworkDrive(fullPath)) {
        WriteTrace("\"" + fullPath + "\" is not on a network drive");
        return true;
    }
    app.traceLog.WriteMasterAlways = 2;
    const std::string semPath = SemaphoreFileName(app.platform, fullPath);
    const std::optional<double> semTime = app.platform.FileLastWriteTime(semPath);
    if (semTime && *semTime != app.netLock.NetSemTime) {
        const auto lines = ReadSemaphoreFile(semPath);
        if (!lines)
            throw std::runtime_error(
                Cp1252("Die Semaphoren-Datei \"") + semPath + Cp1252("\" kann nicht gelesen werden!"));
        WriteTrace("SemaphoreFile=\"" + semPath + "\" MAC(SEM)=" + lines->mac +
                   " MAC(own)=" + GetMACAdress(app.platform));
        const std::string question =
            Cp1252("Es gibt Anzeichen, dass ein anderer Computer bereits auf die \r\n"
                   "Daten in \"") +
            dbPath +
            Cp1252("\" zugreift!\r\n\r\n"
                   "Wenn Sie sicher sind, dass KEIN anderer Computer auf die Daten zugreift,\r\n"
                   "drücken Sie \"Ok\", wenn Sie nicht sicher sind, drücken Sie \"Abbrechen\"!");
        if (app.ui.message(MsgKind::Confirmation, question, Buttons::OkCancel) != Answer::Ok) {
            WriteTrace("Networking_OK=FALSE");
            return false;
        }
        app.netLock.NetSemTime = *semTime;
        EraseFile(semPath);
    }
    CreateSemaphoreFile(app, semPath);
    return true;
}

} // namespace folianto
