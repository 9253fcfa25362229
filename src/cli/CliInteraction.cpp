#include "cli/CliInteraction.h"

#include "core/Codec.h"

#include <iostream>
#include <sstream>

namespace folianto::cli {

bool CliInteraction::setAnswers(const std::string& list)
{
    answers_.clear();
    std::stringstream in(list);
    std::string word;
    while (std::getline(in, word, ',')) {
        if (word == "yes") answers_.push_back(Answer::Yes);
        else if (word == "no") answers_.push_back(Answer::No);
        else if (word == "abort") answers_.push_back(Answer::Abort);
        else if (word == "ok") answers_.push_back(Answer::Ok);
        else if (word == "cancel") answers_.push_back(Answer::Cancel);
        else if (word == "retry") answers_.push_back(Answer::Retry);
        else if (word == "ignore") answers_.push_back(Answer::Ignore);
        else return false;
    }
    return true;
}

std::string FormatMessageLine(MsgKind kind, const std::string& text)
{
    const char* name = "information";
    switch (kind) {
    case MsgKind::Information: name = "information"; break;
    case MsgKind::Warning: name = "warning"; break;
    case MsgKind::Error: name = "error"; break;
    case MsgKind::Confirmation: name = "confirmation"; break;
    }
    std::string line = std::string(name) + ": ";
    const std::string utf8 = Cp1252ToUtf8(text);
    // One message, one line: a line break reads as a blank, an empty line
    // between paragraphs as a dash.
    for (std::size_t i = 0; i < utf8.size();) {
        if (utf8[i] != '\r' && utf8[i] != '\n') {
            line += utf8[i++];
            continue;
        }
        int breaks = 0;
        for (; i < utf8.size() && (utf8[i] == '\r' || utf8[i] == '\n'); ++i)
            if (utf8[i] == '\n' || i + 1 == utf8.size() || utf8[i + 1] != '\n')
                ++breaks;
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        if (i < utf8.size())
            line += breaks > 1 ? " \u2013 " : " ";
    }
    return line;
}

Answer CliInteraction::message(MsgKind kind, const std::string& text, Buttons buttons)
{
    std::cerr << FormatMessageLine(kind, text) << '\n';
    if (!answers_.empty()) {
        const Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

std::optional<std::string> CliInteraction::openFile(const FileDialogSpec&)
{
    if (dialogPaths.empty())
        return std::nullopt;
    std::string p = dialogPaths.front();
    dialogPaths.pop_front();
    return p;
}

std::optional<std::string> CliInteraction::saveFile(const FileDialogSpec& dialog)
{
    return openFile(dialog);
}

std::unique_ptr<ProgressWindow> CliInteraction::showWait(const std::string&)
{
    return std::make_unique<NullProgressWindow>();
}

std::unique_ptr<ProgressWindow> CliInteraction::showProgress(const std::string&, const std::string&)
{
    return std::make_unique<NullProgressWindow>();
}

void CliInteraction::setClipboardText(const std::string& text)
{
    clipboard = text;
}

} // namespace folianto::cli
