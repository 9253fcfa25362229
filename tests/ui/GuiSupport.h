#pragma once
// Helpers of the widget tests: finding menu entries and tool buttons by their
// captions, and a main window (with its grid) over a scripted application.

#include "support/Fakes.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/TitleGrid.h"

// The widgets and tools the tests share (the fakes bring the rest), so that
// each test names only its own.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <string>

namespace folianto::test {

// The action of a menu path like {"&Datei", "Ö&ffnen..."}; nullptr when missing.
QAction* FindAction(QWidget* menuOwner, const QStringList& path);
QAction* FindMenuAction(QMenu* menu, const QStringList& path);
// The action of that object name; nullptr when missing.
QAction* ActionNamed(QWidget* window, const char* name);
// The tool button with that hint.
QToolButton* FindButton(QWidget* window, const QString& hint);

// Writes a database file with `count` sample titles; returns its path (cp1252).
std::string WriteSampleDatabase(const QTemporaryDir& dir, const char* name, int count);

// Cells of a grid column, rows 1..
std::vector<std::string> ColumnCells(const App& app, int gridCol);

// A main window over a fresh scripted application.
struct WindowFixture {
    WindowFixture();
    ~WindowFixture();
    // Writes a sample database and opens it through the File menu; returns its path.
    std::string Open(const char* name, int count);
    TestApp t;
    QTemporaryDir dir;
    std::unique_ptr<TFoliantoMainWindow> window;
};

// Runs the program (lock and socket in `dir`, the program file "Folianto"
// there) until its window is up, then `inside`, then closes the window.
int RunProgram(TestApp& t, const QTemporaryDir& dir, const std::function<void(TFoliantoMainWindow&)>& inside = {},
               const std::string& startFile = {});

inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Runs `steps` once a modal window of type T is active (polling the event
// loop); saves a picture of it as `shot` when FOLIANTO_SHOTS names a folder.
// The caller deletes the returned timer when no such window may come.
template <class T> QTimer* WhenModal(std::function<void(T&)> steps, const char* shot = nullptr)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, steps = std::move(steps), shot] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w)
            return;
        timer->stop();
        timer->deleteLater();
        if (shot && qEnvironmentVariableIsSet("FOLIANTO_SHOTS"))
            w->grab().save(qEnvironmentVariable("FOLIANTO_SHOTS") + QLatin1Char('/') + QLatin1String(shot));
        steps(*w);
    });
    timer->start();
    return timer;
}

// Runs `steps` on the title editor that the entry of the "&Titel" menu opens;
// whatever happens, the dialog does not stay open.
void InEditor(WindowFixture& f, const char* titleEntry, std::function<void(TBuchEditDlg&)> steps);

// Every named widget below `window` with what the user reads on it: caption
// (label, group title, button text, tab texts) and hint, one line each in
// the order of the widget tree; for comparing with an approved file.
std::string WidgetTexts(QWidget& window);

// Every control of `window` the keyboard reaches, with what a screen reader
// calls it (a tab bar: its pages), one line each; for an approved file.
std::string SpokenNames(QWidget& window);

// Presses F1 on the focused control of `window`: the page its help window
// shows, empty when none shows.
QString HelpPageAfterF1(QWidget& window);

// Every label with a buddy names it: the buddy's accessible name is the
// label's text without its mnemonic (and without a trailing colon when
// `colon`). Returns how many labels have a buddy.
int ExpectBuddiesNamedByTheirLabels(QWidget& window, bool colon = false);

// What a screen reader reads as the labels of `control`.
QStringList LabelsOf(QWidget* control);

} // namespace folianto::test
