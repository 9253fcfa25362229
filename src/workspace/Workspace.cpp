#include "workspace/Workspace.h"

#include "core/Codec.h"

namespace folianto {

std::optional<std::string> Workspace::ChooseFile(FileQuestion question, const FileDialogSpec& dialog)
{
    std::optional<std::string> path = question == FileQuestion::Open ? ui.openFile(dialog) : ui.saveFile(dialog);
    if (!path)
        Inform(MsgKind::Warning, Cp1252("Keine Datei ausgewählt!"));
    return path;
}

} // namespace folianto
