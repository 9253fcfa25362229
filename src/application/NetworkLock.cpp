#include "application/NetworkLock.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "platform/Platform.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace folianto {

std::optional<SemaphoreLines> ReadSemaphoreFile(const std::string& semPath)
{
    QFile f(PathFromCp1252(semPath));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto readLine = [&f]() {
        std::string line = f.readLine().toStdString();
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        return line;
    };
    SemaphoreLines lines;
    lines.header = readLine();
    lines.mac = readLine();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return lines;
}

std::string GetMACAdress(Platform& platform)
{
    return platform.MacAddress();
}

std::string SemaphoreFileName(Platform& platform, const std::string& path)
{
    const std::string name = path.empty() ? ExtractFileName(platform.ProgramPath()) : ExtractFileName(path);
    return ExtractFilePath(path) + UpperAscii(ChangeFileExt(name, ".SEM"));
}

void EraseFile(const std::string& path)
{
    const QString p = PathFromCp1252(path);
    if (QFileInfo::exists(p))
        QFile::remove(p);
}

} // namespace folianto
