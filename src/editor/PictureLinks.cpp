#include "editor/PictureLinks.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "core/UserInteraction.h"

#include <QFileInfo>

namespace folianto {


bool StartDocument(UserInteraction& ui, bool& docStarted, const std::string& path)
{
    TraceScope trace("PictureLinks.StartDocument", path);
    if (docStarted &&
        ui.message(MsgKind::Confirmation,
                   "\"" + path + "\" wurde bereits erfolgreich gestartet!\r\n\r\n" +
                       Cp1252("Insbesondere beim Start großer Programme (z.B. Internet-Browser)\r\n"
                              "kann einige Zeit vergehen, bis das Dokument dargestellt wird.\r\n\r\n"
                              "Soll der Start wiederholt werden?"),
                   Buttons::YesNo) != Answer::Yes)
        return false;
    docStarted = ui.startDocument(path);
    WriteTrace(std::string("PictureLinks.StartDocument\r\nDocStarted=") + TraceBool(docStarted));
    return docStarted;
}

std::optional<std::string> ChooseLinkedDocument(UserInteraction& ui, const std::string& quelle)
{
    TraceScope trace("PictureLinks.ChooseLinkedDocument");
    FileDialogSpec dialog;
    dialog.title = "auf Datei verlinken";
    dialog.filter = "Alle Dateien (*.*)|*.*";
    dialog.initialPath = quelle;
    dialog.mustExist = true;
    dialog.pathMustExist = true;
    return ui.openFile(dialog);
}

bool QuelleStartsDocument(const std::string& text, bool linkTicked)
{
    if (!linkTicked || text.empty())
        return false;
    const std::string upper = UpperAscii(text);
    if (upper.rfind("HTTP", 0) == 0 || upper.rfind("WWW", 0) == 0)
        return true;
    return QFileInfo(PathFromCp1252(text)).isFile();
}

std::optional<std::string> QuelleHint(const std::string& text, bool linkTicked, int textWidth, int fieldWidth)
{
    if (textWidth <= fieldWidth - 3)
        return std::nullopt;
    if (!linkTicked)
        return text;
    return text + Cp1252("\r\n\r\nDoppelklick öffnet das verlinkte Dokument;\r\n"
                         "solange \"als Link benutzen\" markiert ist, ist dieses Feld schreibgeschützt!");
}

} // namespace folianto
