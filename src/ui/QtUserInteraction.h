#pragma once
// The user as the widgets see it: message boxes, file dialogs, wait windows,
// clipboard and cursor for the logic layer.

#include "core/UserInteraction.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace folianto {

class QtUserInteraction : public UserInteraction {
public:
    Answer message(MsgKind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> openFile(const FileDialogSpec& request) override;
    std::optional<std::string> saveFile(const FileDialogSpec& request) override;
    std::optional<std::string> saveFileWithFilter(const FileDialogSpec& request, int& chosenFilter) override;
    std::unique_ptr<ProgressWindow> showWait(const std::string& text) override;
    std::unique_ptr<ProgressWindow> showProgress(const std::string& caption,
                                                  const std::string& text) override;
    void setClipboardText(const std::string& text) override;
    void setBusyCursor(bool busy) override;
    bool startDocument(const std::string& pathOrUrl) override;
    void repaint() override;

    // Parent of the boxes and dialogs (the main window once it exists).
    void SetParentWidget(QWidget* parent) { parent_ = parent; }
    void SetRepaintHandler(std::function<void()> handler) { repaint_ = std::move(handler); }

private:
    QWidget* parent_ = nullptr;
    std::function<void()> repaint_;
    int busyDepth_ = 0;
};

// "Name (*.X)|*.X|..." pairs as the file dialog's name filters.
QStringList DialogNameFilters(const std::string& filter);

} // namespace folianto
