#pragma once
// Start-up, single instance and shutdown of the desktop program.

#include <QApplication>
#include <QTranslator>

#include <string>

namespace folianto {

struct App;

constexpr const char* ApplicationTitle = "Quillmar's Folianto";
constexpr const char* MainWindowCaption = "Quillmar's Windows Literaturverwaltung \"Folianto\"";
constexpr const char* InstanceName = "Folianto";

// The application object: exceptions that reach the event loop go to
// AppException, and the program goes on.
class FoliantoApplication : public QApplication {
    Q_OBJECT
public:
    FoliantoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    // The handler of the running program (nothing before it has one).
    void SetApp(App* app) { app_ = app; }

private:
    App* app_ = nullptr;
    QTranslator toolkitTexts_;
};

// Loads Qt's German texts from the system's translations folder; false when
// they are not installed (the toolkit then speaks English).
bool LoadToolkitTranslations(QTranslator& translator);

// Shows an exception's message, notes it in the trace log and saves a
// snapshot of the log.
void AppException(App& app, const std::string& message);

// Empty when a display is available; else the one-line German reason.
std::string MissingDisplayReason();

// Runs the program from start to end; returns the exit code. `lockDir` (tests)
// is where the single-instance lock lives; empty for the default. A
// `startFile` opens instead of the last file; when an instance runs already,
// it is handed over to that one.
int RunFolianto(App& app, const std::string& lockDir = {}, const std::string& startFile = {});

} // namespace folianto
