// Any bytes as a settings file: reading never fails, the settings stay in
// range, and editing keeps the text stable.

#include "config/IniFile.h"
#include "application/SettingsFile.h"
#include "platform/Platform.h"
#include "application/App.h"

#include <cstdlib>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// Back to the built-in defaults of everything the settings file holds,
// without building a whole application object per input.
void ResetSettings(folianto::App& app)
{
    using namespace folianto;
    app.settings = Settings();
    app.columns = ColumnModel();
    app.history = FileHistory();
    app.keywordSets = KeywordSets();
    app.lists.KategorieSearchList.Clear();
    app.DataFileName.clear();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace folianto;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const IniFile ini(bytes);
    const std::string text = ini.Serialize();
    Check(IniFile(text).Serialize() == text);

    static SilentUserInteraction ui;
    static NullPlatform platform;
    static App app(ui, platform);
    static App again(ui, platform);
    ResetSettings(app);
    ReadSettings(app, ini);
    for (int i = 0; i < ColumnCount; ++i) {
        const TCellRec& c = app.columns.CellArray[i];
        Check(c.Pos >= -1 && c.Pos < ColumnCount && c.Width >= -1);
    }
    Check(!app.columns.CellArray[9].ShowCol && !app.columns.CellArray[30].ShowCol);
    Check(app.settings.BuchSort <= 7 && app.settings.FSDialogOpenDef >= 0 && app.settings.FSDialogOpenDef <= 3);
    Check(app.settings.DefaultTyp.size() <= 20 && app.history.Paths.size() <= 5);

    // Writing into the same file and reading it back gives the same settings.
    IniFile edited(bytes);
    WriteSettings(app, edited);
    ResetSettings(again);
    ReadSettings(again, IniFile(edited.Serialize()));
    Check(again.settings.SortLength == app.settings.SortLength);
    Check(again.settings.ImpExp.Trennzeichen == app.settings.ImpExp.Trennzeichen);
    Check(again.settings.ImpExp.Kopfzeilen == app.settings.ImpExp.Kopfzeilen);
    Check(again.DataFileName == (app.settings.OpenFileAtStart ? app.DataFileName.substr(0, app.DataFileName.find_first_of("\r\n")) : ""));
    Check(again.keywordSets.Rows.size() <= app.keywordSets.Rows.size());
    return 0;
}
