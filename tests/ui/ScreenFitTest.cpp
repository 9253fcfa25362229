// Every dialog and window of the program fits on a 1366×768 screen, with
// room for a title bar and a panel.

#include "ui/GuiSupport.h"

#include "support/DbBytes.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/dialogs/WaitForms.h"

#include <QDialog>
#include <QPointer>
#include <QShortcut>

#include <map>

namespace folianto::test {
namespace {

const QSize kScreen(1366, 768 - 60);

// Every window that opens while commands run: its largest size (shown,
// preferred, least), keyed by class and caption. Each is closed again.
class WindowWatcher {
public:
    explicit WindowWatcher(QWidget* main) : main_(main)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
        timer_.start(20);
    }
    void Look()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == main_ || !w->isVisible() || w->inherits("QMenu"))
                continue;
            Note(*w);
            if (auto* dialog = qobject_cast<QDialog*>(w))
                dialog->reject();
            else
                w->close();
        }
    }
    void Note(const QWidget& w)
    {
        const QString key = QString::fromLatin1(w.metaObject()->className()).section(QStringLiteral("::"), -1) +
                            QStringLiteral(" \"") + w.windowTitle() + QLatin1Char('"');
        QSize& size = seen[key];
        size = size.expandedTo(w.size()).expandedTo(w.sizeHint()).expandedTo(w.minimumSizeHint());
    }
    std::map<QString, QSize> seen;

private:
    QWidget* main_;
    QTimer timer_;
};

void Leaves(QMenu* menu, std::vector<QPointer<QAction>>& out)
{
    for (QAction* a : menu->actions()) {
        if (a->menu())
            Leaves(a->menu(), out);
        else if (!a->isSeparator() && a->isVisible() && a->isEnabled())
            out.push_back(a);
    }
}

TEST(ScreenFit, EveryDialogAndWindowFitsOn1366x768)
{
    WindowFixture f;
    f.Open("fit.FOL", 40);
    const QString csv = f.dir.filePath(QStringLiteral("liste.csv"));
    WriteBytes(csv, "Titel$Autor\r\nEins$Zwei\r\n");
    WindowWatcher watcher(f.window.get());
    const auto run = [&watcher](const std::function<void()>& command) {
        command();
        QApplication::processEvents();
        watcher.Look();
    };
    std::vector<QPointer<QAction>> actions; // a command may rebuild the file history's entries
    for (QAction* top : f.window->menuBar()->actions())
        if (top->menu())
            Leaves(top->menu(), actions);
    for (QAction* a : actions) {
        if (!a)
            continue;
        const QString caption = a->text();
        if (caption == Q("&Beenden") || (caption.startsWith(QLatin1Char('&')) && caption.at(1).isDigit()))
            continue; // ends the program; the file history
        f.t.ui.filePaths.clear();
        if (caption.contains(Q("Text-Datei")))
            f.t.ui.filePaths.push_back(PathToCp1252(csv)); // the import dialog follows the file
        run([a] { a->trigger(); });
    }
    for (QAction* a : f.window->actions()) // without a menu entry: the inspectors
        run([a] { a->trigger(); });
    for (QShortcut* s : f.window->findChildren<QShortcut*>()) // help
        run([s] { Q_EMIT s->activated(); });
    // Windows no menu entry opens by itself here.
    TWaitForm wait;
    TGaugeForm gauge(Q("Folianto"));
    TForm_RadioSelect radio;
    TEditorForm input;
    for (QWidget* w : std::initializer_list<QWidget*>{&wait, &gauge, &radio, &input}) {
        w->show();
        watcher.Look();
    }

    for (const char* expected : {"TBuchEditDlg", "TOptionenForm", "TFiltern_Suchen_Sortieren_Dlg", "TForm_TXT_Import",
                                 "TUeberForm", "HelpWindow", "TTraceForm", "TForm_Select_From_List"}) {
        bool found = false;
        for (const auto& [key, size] : watcher.seen)
            found = found || key.startsWith(QLatin1String(expected) + QLatin1Char(' '));
        EXPECT_TRUE(found) << expected << " never opened";
    }
    for (const auto& [key, size] : watcher.seen) {
        EXPECT_TRUE(size.width() <= kScreen.width() && size.height() <= kScreen.height())
            << key.toStdString() << ": " << size.width() << "x" << size.height();
    }
}

} // namespace
} // namespace folianto::test
