#include "ui/shell/Startup.h"

#include "application/App.h"
#include "application/SettingsFile.h"
#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/TitleEditorModel.h"
#include "platform/SingleInstanceLock.h"
#include "platform/StandardLocations.h"
#include "application/OpenFromDesktop.h"
#include "ui/QtUserInteraction.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/shell/InstanceChannel.h"
#include "ui/shell/MainWindow.h"

#include <QFile>
#include <QLibraryInfo>
#include <QTimer>

#include <cstdlib>
#include <deque>
#include <exception>

namespace folianto {

FoliantoApplication::FoliantoApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The toolkit's own texts (file dialogs, standard buttons) in German.
    if (LoadToolkitTranslations(toolkitTexts_))
        installTranslator(&toolkitTexts_);
    setApplicationName(QString::fromUtf8(ApplicationTitle));
}

bool LoadToolkitTranslations(QTranslator& translator)
{
    return translator.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
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

namespace {

// Files handed over by later starts. Each opens when the program is idle, one
// after the other; until then they wait in arrival order.
class HandedOverFiles {
public:
    HandedOverFiles(App& app, TFoliantoMainWindow& window) : app_(app), window_(window)
    {
        for (QTimer* timer : {&soon_, &retry_}) {
            timer->setSingleShot(true);
            QObject::connect(timer, &QTimer::timeout, [this] { OpenWaiting(); });
        }
        soon_.setInterval(0);
        retry_.setInterval(250);
    }

    void Add(const std::string& path)
    {
        waiting_.push_back(path);
        // Not inside the socket's handler: the second start gets its answer first.
        soon_.start();
    }

private:
    void OpenWaiting()
    {
        if (opening_)
            return; // the loop below takes it
        // A dialog is open (the title editor, a question), or a command runs
        // and lets events through at its fixed points: it shows the hourglass.
        if (QApplication::activeModalWidget() || QApplication::overrideCursor()) {
            retry_.start();
            return;
        }
        opening_ = true;
        while (!waiting_.empty()) {
            const std::string path = waiting_.front();
            waiting_.pop_front();
            BringToFront();
            try {
                OpenHandedOverFile(app_, path);
            } catch (const std::exception& e) {
                AppException(app_, e.what());
            }
            window_.RefreshFromLogic();
        }
        opening_ = false;
    }

    void BringToFront()
    {
        window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
        window_.show();
        window_.raise();
        window_.activateWindow();
    }

    App& app_;
    TFoliantoMainWindow& window_;
    std::deque<std::string> waiting_;
    QTimer soon_;
    QTimer retry_;
    bool opening_ = false;
};

} // namespace

int RunFolianto(App& app, const std::string& lockDir, const std::string& startFile)
{
    auto* application = qobject_cast<FoliantoApplication*>(QCoreApplication::instance());
    app.traceLog.Start(TraceLogPath(app.platform.ProgramPath()), app.ui);
    InstallTraceSink(&app.traceLog);
    app.traceLog.WriteMasterAlways = 2;
    int exitCode = 0;
    {
        TraceScope trace("Startup.Main");
        SingleInstanceLock lock(InstanceName, QFile::encodeName(PathFromCp1252(lockDir)).toStdString());
        const QString channel = QFile::decodeName(QByteArray::fromStdString(lock.channelPath()));
        if (!lock.tryAcquire()) {
            const bool handedOver = !startFile.empty() && HandOverFile(channel, PathFromCp1252(startFile));
            if (!handedOver)
                app.ui.message(MsgKind::Error, "Folianto darf nicht mehrfach geladen werden!", Buttons::Ok);
            InstallTraceSink(nullptr);
            app.traceLog.End();
            return handedOver ? 0 : 1;
        }
        if (application)
            application->SetApp(&app);
        TFoliantoMainWindow window(app);
        window.TitleEditor();
        HandedOverFiles handedOver(app, window);
        InstanceServer server;
        QObject::connect(&server, &InstanceServer::FileHandedOver, &window,
                         [&handedOver](const QString& path) { handedOver.Add(PathToCp1252(path)); });
        if (!server.Listen(channel))
            WriteTrace("Folianto.Main: keine Annahme von Dateien weiterer Starts");
        if (auto* qtUi = dynamic_cast<QtUserInteraction*>(&app.ui)) {
            qtUi->SetParentWidget(&window);
            qtUi->SetRepaintHandler([&window] { window.RefreshFromLogic(); });
            qtUi->SetCurrentFileSource([&app] { return app.DataFileName; });
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
                app.recovery.SetFolder(RecoveryFolderPath(app.platform.ProgramPath()));
                window.InitBuchStringGrid(startFile);
                window.TitleEditor().Model().FillComboBoxes();
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
            qtUi->SetCurrentFileSource({});
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
