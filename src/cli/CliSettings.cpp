#include "cli/CliSettings.h"

#include "application/SettingsFile.h"
#include "core/Codec.h"

#include <QFileInfo>

namespace folianto::cli {

bool ApplyIniOption(Context& context, const Args& args)
{
    if (!args.has("ini"))
        return true;
    const std::string path = Utf8ToCp1252(args.value("ini"));
    // An explicitly named file that is missing is a mistake, not a fresh start.
    if (QFileInfo(PathFromCp1252(path)).isFile() && Read_IniFile(context.app, path))
        return true;
    context.ui.message(MsgKind::Error, "Konnte " + path + " nicht lesen!", Buttons::Ok);
    return false;
}

} // namespace folianto::cli
