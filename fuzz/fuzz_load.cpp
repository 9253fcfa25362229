// Loads arbitrary bytes as a database file (header format or older records).

#include "core/AppError.h"
#include "core/DatabaseFile.h"
#include "shell/App.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

using namespace folianto;

// Answers every question with Yes (or OK), so the data filter and merge run.
class YesUser : public UserInteraction {
public:
    Answer message(MsgKind, const std::string&, Buttons buttons) override
    {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
    std::optional<std::string> openFile(const FileDialogSpec&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const FileDialogSpec&) override { return std::nullopt; }
    std::unique_ptr<ProgressWindow> showWait(const std::string&) override
    {
        return std::make_unique<NullProgressWindow>();
    }
    std::unique_ptr<ProgressWindow> showProgress(const std::string&, const std::string&) override
    {
        return std::make_unique<NullProgressWindow>();
    }
    void setClipboardText(const std::string&) override {}
    void setBusyCursor(bool) override {}
    bool startDocument(const std::string&) override { return false; }
};

class NoPlatform : public Platform {
public:
    bool IsNetworkDrive(const std::string&) override { return false; }
    std::string MacAddress() override { return {}; }
    std::optional<double> FileLastWriteTime(const std::string&) override { return std::nullopt; }
    std::string ProgramPath() override { return {}; }
    std::string UserName() override { return {}; }
    std::string ComputerName() override { return {}; }
    std::string IpAddress() override { return {}; }
    std::string ProgramVersion() override { return {}; }
    std::string TempDir() override { return {}; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    YesUser user;
    NoPlatform platform;
    App app(user, platform);
    // The last byte, when odd, makes the load a merge into one title.
    if (size > 0 && (data[size - 1] & 1)) {
        app.EditMode = EditModeMerge;
        app.store.NewBuch();
    }
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        ReadBuchData(app, buffer, "fuzz.FOL");
    } catch (const AppError&) {
    }
    // Whatever was read must save again.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    app.DataVerMain = 1;
    app.DataVerMinor = 4;
    WriteBuchData(app, out, "out.FOL");
    return 0;
}
