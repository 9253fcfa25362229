#include "application/Recovery.h"

#include "application/App.h"
#include "core/Codec.h"
#include "core/Trace.h"

#include <QDateTime>

namespace folianto {
namespace {

const char* const kTitle = "Folianto: Sicherheitssystem\r\n\r\n";

std::string Named(const std::string& database)
{
    return database.empty() ? std::string("eines noch nie gesicherten Katalogs") : "von " + database;
}

// "am 09.12.2026 um 14:05 Uhr", local time.
std::string When(int64_t msecs)
{
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(msecs).toLocalTime();
    return "am " + t.toString(QStringLiteral("dd.MM.yyyy")).toStdString() + " um " +
           t.toString(QStringLiteral("HH:mm")).toStdString() + " Uhr";
}

} // namespace

bool OfferRecovery(App& app, const std::string& database)
{
    TraceScope trace("Recovery.OfferRecovery", database);
    const std::optional<RecoveryInfo> info = app.recovery.Find(database);
    if (info && info->changes > 0) {
        const std::string changes = Cp1252("Die Änderungen an den Buchdaten ") + Named(database) + ", zuletzt " +
                                    When(info->lastChange) + ", wurden nicht gesichert.";
        if (!info->matches) {
            const std::string aside = app.recovery.PutAside(info->file);
            app.ui.message(MsgKind::Warning,
                           kTitle + changes + Cp1252("\r\nDie Datei wurde seitdem verändert; die Änderungen "
                                                     "werden daher nicht übernommen.\r\nSie bleiben bis zum "
                                                     "nächsten Speichern in\r\n") +
                               aside,
                           Buttons::Ok);
        } else if (app.ui.message(MsgKind::Confirmation,
                                  kTitle + changes + Cp1252("\r\nSollen sie wiederhergestellt werden?\r\n"
                                                            "(\"Nein\" legt sie bis zum nächsten Speichern "
                                                            "beiseite.)"),
                                  Buttons::YesNo) == Answer::Yes) {
            const bool whole = app.recovery.Recover(*info);
            app.titleHistory.Clear();
            if (!whole)
                app.ui.message(MsgKind::Warning,
                               kTitle + Cp1252("Nicht alle Änderungen konnten wiederhergestellt werden. Die "
                                               "Wiederherstellungsdatei bleibt bis zum nächsten Speichern "
                                               "im Ordner\r\n") +
                                   app.recovery.Folder(),
                               Buttons::Ok);
            return true; // the recording goes on in the recovery file
        } else {
            app.recovery.PutAside(info->file);
        }
    }
    app.recovery.Follow(database);
    return false;
}

void WarnOfRecoveryFailure(App& app)
{
    if (app.recovery.TakeNewFailure())
        app.ui.message(MsgKind::Warning,
                       kTitle + Cp1252("Die Wiederherstellungsdatei im Ordner\r\n") + app.recovery.Folder() +
                           Cp1252("\r\nkann nicht geschrieben werden. Ungesicherte Änderungen lassen sich nach "
                                  "einem Absturz nicht wiederherstellen; speichern Sie bitte öfter."),
                       Buttons::Ok);
}

} // namespace folianto
