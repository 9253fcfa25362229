#include "ui/QtUserInteraction.h"

#include "core/Codec.h"
#include "ui/dialogs/WaitForms.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

#include <algorithm>
#include <utility>
#include <vector>

namespace folianto {

namespace {

// Message texts break lines with CR LF; the box wants plain line feeds.
QString BoxText(const std::string& text)
{
    QString s = FromCp1252(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QMessageBox::Icon KindIcon(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Information:
        return QMessageBox::Information;
    case MsgKind::Warning:
        return QMessageBox::Warning;
    case MsgKind::Error:
        return QMessageBox::Critical;
    case MsgKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString KindCaption(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Information:
        return QStringLiteral("Information");
    case MsgKind::Warning:
        return QStringLiteral("Warnung");
    case MsgKind::Error:
        return QStringLiteral("Fehler");
    case MsgKind::Confirmation:
        return QStringLiteral("Bestätigung");
    }
    return {};
}

struct ButtonEntry {
    const char* caption;
    QMessageBox::ButtonRole role;
    Answer answer;
};

std::vector<ButtonEntry> ButtonSet(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return {{"OK", QMessageBox::AcceptRole, Answer::Ok}};
    case Buttons::YesNo:
        return {{"Ja", QMessageBox::YesRole, Answer::Yes}, {"Nein", QMessageBox::NoRole, Answer::No}};
    case Buttons::YesNoAbort:
        return {{"Ja", QMessageBox::YesRole, Answer::Yes},
                {"Nein", QMessageBox::NoRole, Answer::No},
                {"Abbrechen", QMessageBox::RejectRole, Answer::Abort}};
    case Buttons::RetryIgnore:
        return {{"Wiederholen", QMessageBox::AcceptRole, Answer::Retry},
                {"Ignorieren", QMessageBox::RejectRole, Answer::Ignore}};
    case Buttons::OkCancel:
        return {{"OK", QMessageBox::AcceptRole, Answer::Ok},
                {"Abbrechen", QMessageBox::RejectRole, Answer::Cancel}};
    case Buttons::YesNoLater:
        return {{"Ja", QMessageBox::YesRole, Answer::Yes},
                {"Nein", QMessageBox::NoRole, Answer::No},
                {"Später", QMessageBox::RejectRole, Answer::Later}};
    }
    return {};
}

// Closing a box without a button: the answer of its cancelling button.
Answer EscapeAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::YesNoAbort:
        return Answer::Abort;
    case Buttons::RetryIgnore:
        return Answer::Ignore;
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::YesNoLater:
        return Answer::Later;
    }
    return Answer::Cancel;
}

class FormProgress : public ProgressWindow {
public:
    // With `cancellable` (the form itself) the form takes the user's input.
    FormProgress(QDialog* form, QLabel* label, QProgressBar* gauge, const TGaugeForm* cancellable = nullptr)
        : form_(form), label_(label), gauge_(gauge), cancellable_(cancellable)
    {
        form_->show();
        processEvents();
    }
    ~FormProgress() override { delete form_; }
    void setText(const std::string& text) override
    {
        label_->setText(FromCp1252(text));
        label_->repaint();
    }
    void setRange(int maximum) override { gauge_->setRange(0, maximum > 0 ? maximum : 100); }
    // The gauge shows whole percents; it is repainted when that number
    // changes, not once per title (10,000 repaints cost seconds).
    void setPosition(int position) override
    {
        if (Percent(position) != Percent(gauge_->value())) {
            gauge_->setValue(position);
            gauge_->repaint();
        }
    }
    // The other windows are blocked while a cancellable form is open, so
    // only its own button gets input.
    void processEvents() override
    {
        QApplication::processEvents(cancellable_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    bool cancelled() const override { return cancellable_ && cancellable_->Cancelled(); }

private:
    int Percent(int position) const
    {
        const int64_t span = static_cast<int64_t>(gauge_->maximum()) - gauge_->minimum();
        if (span <= 0)
            return 0;
        return static_cast<int>((static_cast<int64_t>(position) - gauge_->minimum()) * 100 / span);
    }

    QDialog* form_;
    QLabel* label_;
    QProgressBar* gauge_;
    const TGaugeForm* cancellable_;
};

std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogSpec& request, bool save,
                                         const QString& startFolder, int* chosenFilter)
{
    QFileDialog dialog(parent, FromCp1252(request.title));
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !request.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = DialogNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.filterIndex > 0 && request.filterIndex < filters.size())
            dialog.selectNameFilter(filters[request.filterIndex]);
    }
    if (!request.defaultExt.empty())
        dialog.setDefaultSuffix(FromCp1252(request.defaultExt));
    dialog.setDirectory(startFolder);
    if (!request.initialPath.empty()) {
        const QFileInfo info(PathFromCp1252(request.initialPath));
        if (!info.isDir())
            dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (chosenFilter)
        *chosenFilter = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return PathToCp1252(dialog.selectedFiles().constFirst());
}

} // namespace

QStringList DialogNameFilters(const std::string& filter)
{
    const QStringList parts = FromCp1252(filter).split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!name.contains(QLatin1Char('(')))
            name += QStringLiteral(" (") + patterns + QLatin1Char(')');
        else if (!name.contains(patterns))
            name = name.left(name.indexOf(QLatin1Char('('))) + QLatin1Char('(') + patterns + QLatin1Char(')');
        result << name;
    }
    return result;
}

Answer QtUserInteraction::message(MsgKind kind, const std::string& text, Buttons buttons)
{
    // A box must not inherit the hourglass of the work that asks.
    const bool busy = busyDepth_ > 0;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(KindIcon(kind), KindCaption(kind), BoxText(text), QMessageBox::NoButton, parent_);
    box.setObjectName(QStringLiteral("MessageBox"));
    std::vector<std::pair<QAbstractButton*, Answer>> map;
    for (const ButtonEntry& b : ButtonSet(buttons))
        map.emplace_back(box.addButton(QString::fromUtf8(b.caption), b.role), b.answer);
    box.setDefaultButton(static_cast<QPushButton*>(map.front().first));
    if (buttons == Buttons::Ok)
        box.setEscapeButton(map.front().first);
    box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    for (const auto& [button, answer] : map)
        if (box.clickedButton() == button)
            return answer;
    return EscapeAnswer(buttons);
}

QString DialogStartFolder(const std::string& initialPath, const std::string& currentFile, const QString& lastFolder)
{
    if (!initialPath.empty()) {
        const QString initial = PathFromCp1252(initialPath);
        const QFileInfo info(initial);
        if (info.isDir())
            return initial;
        if (initial.contains(QLatin1Char('/')))
            return info.absolutePath();
    }
    if (!currentFile.empty()) {
        const QString folder = QFileInfo(PathFromCp1252(currentFile)).absolutePath();
        if (QFileInfo(folder).isDir())
            return folder;
    }
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir())
        return lastFolder;
    return QDir::homePath();
}

std::optional<std::string> QtUserInteraction::FileDialog(const FileDialogSpec& request, bool save, int* chosenFilter)
{
    const std::string currentFile = currentFile_ ? currentFile_() : std::string();
    const std::optional<std::string> chosen =
        RunFileDialog(parent_, request, save, DialogStartFolder(request.initialPath, currentFile, lastFolder_), chosenFilter);
    if (chosen)
        lastFolder_ = QFileInfo(PathFromCp1252(*chosen)).absolutePath();
    return chosen;
}

std::optional<std::string> QtUserInteraction::openFile(const FileDialogSpec& request)
{
    return FileDialog(request, false, nullptr);
}

std::optional<std::string> QtUserInteraction::saveFile(const FileDialogSpec& request)
{
    return FileDialog(request, true, nullptr);
}

std::optional<std::string> QtUserInteraction::saveFileWithFilter(const FileDialogSpec& request, int& chosenFilter)
{
    chosenFilter = request.filterIndex;
    return FileDialog(request, true, &chosenFilter);
}

std::unique_ptr<ProgressWindow> QtUserInteraction::showWait(const std::string& text)
{
    auto* form = new TWaitForm(parent_);
    form->SetText(FromCp1252(text));
    return std::make_unique<FormProgress>(form, form->Label, form->Gauge);
}

std::unique_ptr<ProgressWindow> QtUserInteraction::showProgress(const std::string& caption, const std::string& text)
{
    auto* form = new TGaugeForm(FromCp1252(caption), parent_);
    form->SetText(FromCp1252(text));
    return std::make_unique<FormProgress>(form, form->Label, form->Gauge);
}

std::unique_ptr<ProgressWindow> QtUserInteraction::showCancellable(const std::string& caption, const std::string& text)
{
    auto* form = new TGaugeForm(FromCp1252(caption), parent_);
    form->SetText(FromCp1252(text));
    form->AllowCancel();
    // How long the work takes is not known: the gauge moves to and fro.
    form->Gauge->setRange(0, 0);
    return std::make_unique<FormProgress>(form, form->Label, form->Gauge, form);
}

void QtUserInteraction::setClipboardText(const std::string& text)
{
    QApplication::clipboard()->setText(FromCp1252(text));
}

void QtUserInteraction::setBusyCursor(bool busy)
{
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}

bool QtUserInteraction::startDocument(const std::string& pathOrUrl)
{
    const QString target = PathFromCp1252(pathOrUrl);
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                                               : QUrl::fromUserInput(target);
    return url.isValid() && QDesktopServices::openUrl(url);
}

void QtUserInteraction::report(const std::string& text)
{
    if (auto* window = qobject_cast<QMainWindow*>(parent_))
        window->statusBar()->showMessage(FromCp1252(text), ReportMilliseconds);
}

void QtUserInteraction::repaint()
{
    if (repaint_)
        repaint_();
}

} // namespace folianto
