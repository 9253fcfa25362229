#include "application/OpenFromDesktop.h"

#include "application/App.h"
#include "core/Codec.h"
#include "core/Trace.h"
#include "application/FileCommands.h"
#include "shell/MainCommands.h"

#include <QFileInfo>
#include <QUrl>

namespace folianto {

std::string StartFileFromArguments(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        // Launchers hand over paths; some hand over file: URLs instead.
        const QUrl url(argument);
        const QString local = url.isLocalFile() ? url.toLocalFile() : argument;
        // Absolute, so that a running instance with another working folder
        // finds the same file.
        return PathToCp1252(QFileInfo(local).absoluteFilePath());
    }
    return {};
}

bool OpenHandedOverFile(App& app, const std::string& path)
{
    TraceScope trace("OpenFromDesktop.OpenHandedOverFile", path);
    if (!ReplaceAllowed(app))
        return false;
    return FileOpenPath(app, path);
}

} // namespace folianto
