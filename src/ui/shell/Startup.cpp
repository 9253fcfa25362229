#include "ui/shell/Startup.h"

#include "application/SettingsFile.h"
#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "platform/SingleInstanceLock.h"
#include "application/App.h"
#include "ui/QtUserInteraction.h"
#include "ui/shell/MainWindow.h"

#include <cstdlib>
#include <exception>

namespace folianto {

FoliantoApplication::FoliantoApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromUtf8(ApplicationTitle));
}

bool FoliantoApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (!app_)
            throw;
        AppException(*app_, e.what());
    } catch (...) {
        if (!app_)
            throw;
        AppException(*app_, "Unbekannter Fehler");
    }
    return false;
}

void AppException(App& app, const std::string& message)
{
    app.ui.message(MsgKind::Error, message, Buttons::Ok);
    app.traceLog.AddLine(app.traceLog.TimeStamp() + " | TFoliantoMainWindow.AppException [ENTRY]\r\n" +
                         "Exception.Message=\"" + message + "\"");
    app.traceLog.Extra_Save_KEL(app.platform, app.ui);
}

std::string MissingDisplayReason()
{
    const auto unset = [](const char* name) {
        const char* v = std::getenv(name);
        return !v || !*v;
    };
    if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY"))
        return "Folianto: keine grafische Anzeige gefunden (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).";
    return {};
}

int RunFolianto(App& app, const std::string& lockDir)
{
    auto* application = qobject_cast<FoliantoApplication*>(QCoreApplication::instance());
    app.traceLog.Start(app.platform.ProgramPath(), app.ui);
    InstallTraceSink(&app.traceLog);
    app.traceLog.WriteMasterAlways = 2;
    int exitCode = 0;
    {
        TraceScope trace("Folianto.Main");
        SingleInstanceLock lock(InstanceName, lockDir);
        if (!lock.tryAcquire()) {
            app.ui.message(MsgKind::Error, "Folianto darf nicht mehrfach geladen werden!", Buttons::Ok);
            InstallTraceSink(nullptr);
            app.traceLog.End();
            return 1;
        }
        if (application)
            application->SetApp(&app);
        TFoliantoMainWindow window(app);
        if (auto* qtUi = dynamic_cast<QtUserInteraction*>(&app.ui)) {
            qtUi->SetParentWidget(&window);
            qtUi->SetRepaintHandler([&window] { window.RefreshFromLogic(); });
        }
        {
            BusyCursor busy(app.ui);
            try {
                if (!Read_IniFile(app)) {
                    app.ui.setBusyCursor(false);
                    app.ui.message(MsgKind::Warning, "Konnte Folianto.INI nicht lesen!", Buttons::Ok);
                    app.ui.setBusyCursor(true);
                } else if (app.settings.SchlwLenght > 5) {
                    WriteTrace(Cp1252("Folianto.Main: zulässige Schlagwort-Länge wurde auf ") +
                               IntToStr(app.settings.SchlwLenght) + Cp1252(" verlängert! SICHERHEITSRISIKO!!!"));
                }
                window.InitBuchStringGrid();
            } catch (const std::exception& e) {
                // A failure while loading the last file: the program starts empty.
                AppException(app, e.what());
            }
        }
        window.setWindowTitle(QString::fromUtf8(MainWindowCaption));
        app.traceLog.WriteMasterAlways = 2;
        window.show();
        exitCode = QApplication::exec();
        if (auto* qtUi = dynamic_cast<QtUserInteraction*>(&app.ui)) {
            qtUi->SetParentWidget(nullptr);
            qtUi->SetRepaintHandler({});
        }
        if (application)
            application->SetApp(nullptr);
        if (!app.settings.OpenFileAtStart)
            app.DataFileName.clear();
        if (const auto error = Write_IniFile(app))
            app.ui.message(MsgKind::Warning, *error, Buttons::Ok);
    }
    InstallTraceSink(nullptr);
    app.traceLog.End();
    return exitCode;
}

} // namespace folianto
