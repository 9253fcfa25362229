// Any bytes as a settings file: reading never fails, the settings stay in
// range, and editing keeps the text stable.

#include "config/IniFile.h"
#include "config/SettingsFile.h"
#include "core/UserInteraction.h"
#include "platform/Platform.h"
#include "shell/App.h"

#include <cstdlib>

namespace {

class NoUser : public folianto::UserInteraction {
public:
    folianto::Answer message(folianto::MsgKind, const std::string&, folianto::Buttons) override
    {
        return folianto::Answer::Ok;
    }
    std::optional<std::string> openFile(const folianto::FileDialogSpec&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const folianto::FileDialogSpec&) override { return std::nullopt; }
    std::unique_ptr<folianto::ProgressWindow> showWait(const std::string&) override
    {
        return std::make_unique<folianto::NullProgressWindow>();
    }
    std::unique_ptr<folianto::ProgressWindow> showProgress(const std::string&, const std::string&) override
    {
        return std::make_unique<folianto::NullProgressWindow>();
    }
    void setClipboardText(const std::string&) override {}
    void setBusyCursor(bool) override {}
    bool startDocument(const std::string&) override { return false; }
};

class NoPlatform : public folianto::Platform {
public:
    bool IsNetworkDrive(const std::string&) override { return false; }
    std::string MacAddress() override { return {}; }
    std::optional<double> FileLastWriteTime(const std::string&) override { return std::nullopt; }
    std::string ProgramPath() override { return "/nonexistent/Folianto"; }
    std::string UserName() override { return {}; }
    std::string ComputerName() override { return {}; }
    std::string IpAddress() override { return {}; }
    std::string ProgramVersion() override { return "0.0.0.0"; }
    std::string TempDir() override { return "/tmp"; }
};

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace folianto;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const IniFile ini(bytes);
    const std::string text = ini.Serialize();
    Check(IniFile(text).Serialize() == text);

    NoUser ui;
    NoPlatform platform;
    App app(ui, platform);
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
    App again(ui, platform);
    ReadSettings(again, IniFile(edited.Serialize()));
    Check(again.settings.SortLength == app.settings.SortLength);
    Check(again.settings.ImpExp.Trennzeichen == app.settings.ImpExp.Trennzeichen);
    Check(again.settings.ImpExp.Kopfzeilen == app.settings.ImpExp.Kopfzeilen);
    Check(again.DataFileName == (app.settings.OpenFileAtStart ? app.DataFileName.substr(0, app.DataFileName.find_first_of("\r\n")) : ""));
    Check(again.keywordSets.Rows.size() <= app.keywordSets.Rows.size());
    return 0;
}
