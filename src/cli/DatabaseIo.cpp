#include "cli/DatabaseIo.h"

#include "cli/CliInteraction.h"
#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/ErrorText.h"
#include "application/App.h"
#include "application/BuchData.h"

#include <exception>
#include <iostream>

namespace folianto::cli {
namespace {

void ReportError(const std::string& text)
{
    std::cerr << FormatMessageLine(MsgKind::Error, text) << '\n';
}

} // namespace

bool LoadOrReport(App& app, const std::string& path)
{
    std::string errParam;
    try {
        if (Load_Buch_Data(app, Utf8ToCp1252(path), errParam))
            return true;
        ReportError("Fehler beim Laden: " + GetErrorText(app.store.FehlerNr, errParam));
    } catch (const std::exception& e) {
        ReportError(e.what());
    }
    return false;
}

bool SaveOrReport(App& app, const std::string& path)
{
    std::string errParam;
    try {
        return Save_Buch_Data(app, Utf8ToCp1252(path), errParam);
    } catch (const std::exception& e) {
        ReportError(e.what());
    }
    return false;
}

} // namespace folianto::cli
