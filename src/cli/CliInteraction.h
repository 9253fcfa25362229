#pragma once
// The command-line tool's user: answers questions from --answers and prints
// every message to stderr as one line "<kind>: <text>".

#include "core/UserInteraction.h"

#include <deque>
#include <string>

namespace folianto::cli {

class CliInteraction : public UserInteraction {
public:
    // LIST: comma-separated yes,no,abort,ok,cancel,retry,ignore. False when a word is unknown.
    bool setAnswers(const std::string& list);

    Answer message(MsgKind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> openFile(const FileDialogSpec& dialog) override;
    std::optional<std::string> saveFile(const FileDialogSpec& dialog) override;
    std::unique_ptr<ProgressWindow> showWait(const std::string& text) override;
    std::unique_ptr<ProgressWindow> showProgress(const std::string& caption, const std::string& text) override;
    void setClipboardText(const std::string& text) override;
    void setBusyCursor(bool) override {}
    bool startDocument(const std::string&) override { return false; }

    // Paths the file dialogs return, in order (the commands' file arguments).
    std::deque<std::string> dialogPaths;
    std::string clipboard;

private:
    std::deque<Answer> answers_;
};

// One message line as printed on stderr: kind, colon, blank, the text with its
// line breaks as blanks (an empty line between paragraphs as a dash).
std::string FormatMessageLine(MsgKind kind, const std::string& text);

} // namespace folianto::cli
