#pragma once
// Scripted stand-ins for the user and the operating system.

#include "core/UserInteraction.h"
#include "platform/Platform.h"
#include "application/App.h"

// What nearly every logic test uses, so that each test names only its own.
#include "core/Codec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace folianto::test {

struct RecordedMessage {
    MsgKind kind;
    std::string text; // Windows-1252 bytes
    Buttons buttons;
};

// A progress window the user cancels after `rounds` rounds of events
// (never when negative).
class ScriptedProgressWindow : public NullProgressWindow {
public:
    explicit ScriptedProgressWindow(int rounds) : left_(rounds) {}
    void processEvents() override
    {
        if (left_ > 0)
            --left_;
    }
    bool cancelled() const override { return left_ == 0; }

private:
    int left_;
};

// What the last progress window was told.
struct ProgressSeen {
    int range = -1;
    int position = -1;
    int eventRounds = 0;
};

class RecordingProgressWindow : public NullProgressWindow {
public:
    explicit RecordingProgressWindow(ProgressSeen& seen) : seen_(seen) {}
    void setRange(int n) override { seen_.range = n; }
    void setPosition(int n) override { seen_.position = n; }
    void processEvents() override { ++seen_.eventRounds; }

private:
    ProgressSeen& seen_;
};

// Answers from a queue (Yes / Ok when empty) and records every message.
class FakeUserInteraction : public UserInteraction {
public:
    Answer message(MsgKind kind, const std::string& text, Buttons buttons) override
    {
        messages.push_back({kind, text, buttons});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    std::optional<std::string> openFile(const FileDialogSpec& dialog) override
    {
        dialogs.push_back(dialog);
        return next(filePaths);
    }
    std::optional<std::string> saveFile(const FileDialogSpec& dialog) override
    {
        dialogs.push_back(dialog);
        ++saveDialogs;
        return next(filePaths);
    }
    // The filter comes from `chosenFilters` (the dialog's own when empty).
    std::optional<std::string> saveFileWithFilter(const FileDialogSpec& dialog, int& chosenFilter) override
    {
        chosenFilter = dialog.filterIndex;
        if (!chosenFilters.empty()) {
            chosenFilter = chosenFilters.front();
            chosenFilters.pop_front();
        }
        return saveFile(dialog);
    }
    std::unique_ptr<ProgressWindow> showWait(const std::string& text) override
    {
        waitTexts.push_back(text);
        progress = {};
        return std::make_unique<RecordingProgressWindow>(progress);
    }
    std::unique_ptr<ProgressWindow> showProgress(const std::string&, const std::string& text) override
    {
        waitTexts.push_back(text);
        progress = {};
        return std::make_unique<RecordingProgressWindow>(progress);
    }
    std::unique_ptr<ProgressWindow> showCancellable(const std::string& caption, const std::string& text) override
    {
        waitTexts.push_back(text);
        if (cancellableWindow)
            return cancellableWindow(caption, text);
        return std::make_unique<ScriptedProgressWindow>(cancelAfterRounds);
    }
    void setClipboardText(const std::string& text) override { clipboard = text; }
    void report(const std::string& text) override { reports.push_back(text); }
    void setBusyCursor(bool) override {}
    bool startDocument(const std::string& path) override
    {
        startedDocuments.push_back(path);
        return startSucceeds;
    }

    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> filePaths; // nullopt = cancelled
    std::deque<int> chosenFilters;                    // save dialogs' filter picks
    std::vector<RecordedMessage> messages;
    std::vector<FileDialogSpec> dialogs;
    int saveDialogs = 0; // of `dialogs`, those that asked for a name to save under
    std::vector<std::string> waitTexts;
    ProgressSeen progress;
    std::vector<std::string> reports;
    std::vector<std::string> startedDocuments;
    bool startSucceeds = true;
    std::string clipboard;
    int cancelAfterRounds = -1; // of a cancellable window's events
    std::function<std::unique_ptr<ProgressWindow>(const std::string&, const std::string&)> cancellableWindow;

private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& q)
    {
        if (q.empty())
            return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

class FakePlatform : public Platform {
public:
    bool IsNetworkDrive(const std::string&) override { return networkDrive; }
    std::string MacAddress() override { return mac; }
    std::optional<double> FileLastWriteTime(const std::string& path) override;
    std::string ProgramPath() override { return programPath; }
    std::string UserName() override { return "tester"; }
    std::string ComputerName() override { return "testhost"; }
    std::string IpAddress() override { return "127.0.0.1"; }
    std::string ProgramVersion() override { return "1.4.0.0"; }
    std::string TempDir() override { return "/tmp"; }

    bool networkDrive = false;
    std::string mac = "00-11-22-33-44-55";
    std::string programPath = "/tmp/Folianto";
    std::map<std::string, double> fileTimes; // overrides; else the real time
};

// An application object wired to the fakes.
struct TestApp {
    FakeUserInteraction ui;
    FakePlatform platform;
    App app{ui, platform};
};

// Opens `database` with its recovery files in `folder`, deletes title 4,
// adds the title "Nachtrag", makes it current and edits it, as three
// commands; then `t` may go without ending, as after a crash.
void EditAsBeforeACrash(TestApp& t, const std::string& folder, const std::string& database);

} // namespace folianto::test
