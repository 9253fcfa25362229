#pragma once
// The user as the widgets see it: message boxes, file dialogs, wait windows,
// clipboard and cursor for the logic layer.

#include "core/UserInteraction.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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
    std::unique_ptr<ProgressWindow> showCancellable(const std::string& caption, const std::string& text) override;
    void setClipboardText(const std::string& text) override;
    void setBusyCursor(bool busy) override;
    bool startDocument(const std::string& pathOrUrl) override;
    void repaint() override;
    // In the status bar of the parent window, for a few seconds.
    void report(const std::string& text) override;
    static constexpr int ReportMilliseconds = 6000;

    // Parent of the boxes and dialogs (the main window once it exists).
    void SetParentWidget(QWidget* parent) { parent_ = parent; }
    void SetRepaintHandler(std::function<void()> handler) { repaint_ = std::move(handler); }
    // The database file whose folder the file dialogs start in.
    void SetCurrentFileSource(std::function<std::string()> source) { currentFile_ = std::move(source); }

private:
    std::optional<std::string> FileDialog(const FileDialogSpec& request, bool save, int* chosenFilter);

    QWidget* parent_ = nullptr;
    std::function<void()> repaint_;
    std::function<std::string()> currentFile_;
    QString lastFolder_; // of the last file chosen in a dialog
    int busyDepth_ = 0;
};

// Where a file dialog starts: the folder `initialPath` names; without one the
// folder of the current database file, else the last folder used, else the
// home folder.
QString DialogStartFolder(const std::string& initialPath, const std::string& currentFile, const QString& lastFolder);

// "Name (*.X)|*.X|..." pairs as the file dialog's name filters.
QStringList DialogNameFilters(const std::string& filter);

} // namespace folianto
