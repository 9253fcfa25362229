#include "application/FileHistoryCommands.h"

#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "application/App.h"
#include "application/BuchData.h"
#include "shell/MainCommands.h"
#include "selection/Selection.h"
#include "application/FileCommands.h"

#include <QFileInfo>

namespace folianto {

std::vector<std::string> Adjust_FileMenu(const App& app)
{
    TraceScope trace("FileHistoryCommands.Adjust_FileMenu");
    std::vector<std::string> captions;
    int i = 0;
    for (const std::string& path : app.history.Paths)
        captions.push_back("&" + IntToStr(++i) + " " + path);
    return captions;
}

bool DoAutoItemClick(App& app, const std::string& caption, const BuchLoader& load)
{
    TraceScope trace("FileHistoryCommands.DoAutoItemClick", caption);
    // "&<number> <path>": the number sits between the first character and the first blank.
    const std::size_t blank = caption.find(' ');
    if (caption.size() < 2 || blank == std::string::npos || blank < 2)
        return false;
    int number = 0;
    for (std::size_t i = 1; i < blank; ++i) {
        const char c = caption[i];
        if (c < '0' || c > '9' || number > 100000)
            return false;
        number = number * 10 + (c - '0');
    }
    if (number <= 0)
        return false;
    const std::string path = caption.substr(blank + 1);
    const QFileInfo info(PathFromCp1252(path));
    if (!info.exists() || info.isDir()) {
        app.ui.message(MsgKind::Error, "Datei " + UpperAscii(path) + " existiert nicht!", Buttons::Ok);
        return false;
    }
    if (!ReplaceAllowed(app))
        return false;
    std::string errParam;
    if (!load(app, path, errParam)) {
        app.ui.message(MsgKind::Error, "Konnte " + path + " nicht laden!", Buttons::Ok);
        return false;
    }
    ShowOpenedTitles(app);
    return true;
}

bool DoAutoItemClick(App& app, const std::string& caption)
{
    return DoAutoItemClick(app, caption, [](App& a, const std::string& path, std::string& errParam) {
        return Load_Buch_Data(a, path, errParam);
    });
}

} // namespace folianto
