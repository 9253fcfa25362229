#include "support/Fakes.h"

#include <QDateTime>
#include <QFileInfo>

namespace folianto::test {

std::optional<double> FakePlatform::FileLastWriteTime(const std::string& path)
{
    if (auto it = fileTimes.find(path); it != fileTimes.end())
        return it->second;
    const QFileInfo info(QString::fromLocal8Bit(path.c_str()));
    if (!info.exists())
        return std::nullopt;
    const qint64 ms = info.lastModified().toMSecsSinceEpoch();
    return 25569.0 + static_cast<double>(ms) / 86400000.0;
}

} // namespace folianto::test
