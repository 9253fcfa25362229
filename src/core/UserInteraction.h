#pragma once
// How logic talks to the user. The widget layer implements this with message
// boxes and file dialogs; tests and the command-line tool with scripted fakes.

#include <memory>
#include <optional>
#include <string>

namespace folianto {

enum class MsgKind { Information, Warning, Error, Confirmation };
// YesNoLater: "Ja", "Nein", "Später" (Later), for a question that may wait.
enum class Buttons { Ok, YesNo, YesNoAbort, RetryIgnore, OkCancel, YesNoLater };
enum class Answer { Ok, Cancel, Yes, No, Abort, Retry, Ignore, Later };

struct FileDialogSpec {
    std::string title;        // caption; empty = the toolkit's default
    std::string filter;       // "Folianto Dateien (*.FOL)|*.FOL" style, pairs joined by '|'
    std::string defaultExt;   // without dot, e.g. "FOL"
    std::string initialPath;  // file or directory to start in
    bool mustExist = false;   // open: the file must exist
    bool pathMustExist = false; // the directory must exist
    bool overwritePrompt = false;
    bool createPrompt = false;  // ask before a new file is named
    int filterIndex = 0;        // filter pair shown first, 0-based
};

// A wait or progress window; closes when destroyed.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual void setText(const std::string& text) = 0;
    virtual void setRange(int maximum) = 0;
    virtual void setPosition(int position) = 0;
    // Lets pending window events through (at the fixed points of long work).
    virtual void processEvents() {}
    // True once the user asked a cancellable window to stop the work.
    virtual bool cancelled() const { return false; }
};

class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // Texts are Windows-1252 bytes; CR LF breaks lines.
    virtual Answer message(MsgKind kind, const std::string& text, Buttons buttons) = 0;

    // Paths are Windows-1252 bytes; nothing when cancelled.
    virtual std::optional<std::string> openFile(const FileDialogSpec& dialog) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogSpec& dialog) = 0;
    // A save dialog that also tells which filter pair the user left chosen.
    virtual std::optional<std::string> saveFileWithFilter(const FileDialogSpec& dialog, int& chosenFilter)
    {
        chosenFilter = dialog.filterIndex;
        return saveFile(dialog);
    }

    // Wait window (text only) or progress window (text and gauge).
    virtual std::unique_ptr<ProgressWindow> showWait(const std::string& text) = 0;
    virtual std::unique_ptr<ProgressWindow> showProgress(const std::string& caption,
                                                          const std::string& text) = 0;
    // A progress window with "Abbrechen" that keeps the rest of the program
    // from input while it is open; without a user it cannot be cancelled.
    virtual std::unique_ptr<ProgressWindow> showCancellable(const std::string& caption, const std::string& text)
    {
        return showProgress(caption, text);
    }

    virtual void setClipboardText(const std::string& text) = 0;
    virtual void setBusyCursor(bool busy) = 0;
    virtual bool startDocument(const std::string& pathOrUrl) = 0;
    // Repaint hook for the main window; nothing to do without one.
    virtual void repaint() {}
    // A short note on what a command did ("3 Titel importiert"), shown for
    // a few seconds where it does not interrupt; never a box.
    virtual void report(const std::string& /*text*/) {}
};

// Shows the hourglass for the lifetime of the object.
class BusyCursor {
public:
    explicit BusyCursor(UserInteraction& ui) : ui_(ui) { ui_.setBusyCursor(true); }
    ~BusyCursor() { ui_.setBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    UserInteraction& ui_;
};

// A window that shows nothing; for callers without a user.
class NullProgressWindow : public ProgressWindow {
public:
    void setText(const std::string&) override {}
    void setRange(int) override {}
    void setPosition(int) override {}
};

// A user who is never asked: OK or Yes to every message, no file chosen.
// For batch runs, benchmarks and fuzz targets.
class SilentUserInteraction : public UserInteraction {
public:
    Answer message(MsgKind, const std::string&, Buttons buttons) override
    {
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
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

} // namespace folianto
