#include "application/Recovery.h"

#include "application/App.h"
#include "application/BuchData.h"
#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"

#include <QDateTime>

namespace folianto {
namespace {

const char* const kTitle = "Folianto: Sicherheitssystem\r\n\r\n";

std::string Named(const std::string& database)
{
    return database.empty() ? std::string("eines noch nie gesicherten Katalogs") : "von " + database;
}

QDateTime LocalTime(int64_t msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs).toLocalTime();
}

// "am 09.12.2026 um 14:05 Uhr", local time.
std::string When(int64_t msecs)
{
    const QDateTime t = LocalTime(msecs);
    return "am " + t.toString(QStringLiteral("dd.MM.yyyy")).toStdString() + " um " +
           t.toString(QStringLiteral("HH:mm")).toStdString() + " Uhr";
}

// Puts a recovery file aside; when that fails, says which name was tried.
bool SetAside(App& app, const std::string& file, std::string& aside)
{
    if (app.recovery.PutAside(file, aside))
        return true;
    app.ui.message(MsgKind::Warning,
                   kTitle + Cp1252("Die Wiederherstellungsdatei\r\n") + file +
                       Cp1252("\r\nließ sich nicht umbenennen in\r\n") + aside,
                   Buttons::Ok);
    return false;
}

// The changes were made to a database file that has changed since.
void TellChangedSince(App& app, const RecoveryInfo& info)
{
    std::string aside;
    if (!SetAside(app, info.file, aside))
        return;
    app.ui.message(MsgKind::Warning,
                   kTitle + Cp1252("Die Änderungen an den Buchdaten ") + Named(info.database) + ", zuletzt " +
                       When(info.lastChange) +
                       Cp1252(", wurden nicht gesichert.\r\nDie Datei wurde seitdem verändert; die Änderungen "
                              "werden daher nicht übernommen.\r\nSie bleiben bis zum nächsten Speichern in\r\n") +
                       aside,
                   Buttons::Ok);
}

void TellPartlyRecovered(App& app)
{
    app.ui.message(MsgKind::Warning,
                   kTitle + Cp1252("Nicht alle Änderungen konnten wiederhergestellt werden. Die "
                                   "Wiederherstellungsdatei bleibt bis zum nächsten Speichern im Ordner\r\n") +
                       app.recovery.Folder(),
                   Buttons::Ok);
}

// Replays the changes onto the store just loaded; the recording goes on in
// the same file.
void TakeOver(App& app, const RecoveryInfo& info)
{
    const bool whole = app.recovery.Recover(info);
    app.titleHistory.Clear();
    app.LoadRecovered = true;
    if (!whole)
        TellPartlyRecovered(app);
}

// The question at the start: which catalogue, when, and whether its file
// is still there.
std::string StartQuestion(const RecoveryInfo& info)
{
    std::string name = "unbenannt";
    std::string folder = "noch nie gesichert";
    if (!info.database.empty()) {
        name = ExtractFileName(info.database);
        folder = ExtractFilePath(info.database);
        if (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
            folder.pop_back();
    }
    const QDateTime t = LocalTime(info.lastChange);
    std::string text = Cp1252("Folianto wurde zuletzt nicht ordnungsgemäß beendet. Ungesicherte Änderungen an „") +
                       name + Cp1252("“ (") + folder + ") vom " +
                       t.toString(QStringLiteral("dd.MM.yyyy")).toStdString() + " um " +
                       t.toString(QStringLiteral("HH:mm")).toStdString() +
                       " Uhr. Sollen sie wiederhergestellt werden?";
    if (!info.database.empty() && !info.databaseExists)
        text += Cp1252("\r\n\r\nDie Datei gibt es dort nicht mehr. „Ja“ zeigt die wiederhergestellten Titel als "
                       "neuen, noch nicht gesicherten Katalog.");
    return text;
}

// Opens the database of `info` with its changes. True when it is open.
bool OpenRecovered(App& app, const RecoveryInfo& info)
{
    if (info.database.empty() || !info.databaseExists) {
        const bool whole = info.database.empty() ? app.recovery.Recover(info) : app.recovery.RecoverAlone(info);
        app.recovery.Flush(); // the recovered titles are on the disk again at once
        app.DataFileName.clear();
        app.titleHistory.Clear();
        app.LoadRecovered = true;
        if (!whole)
            TellPartlyRecovered(app);
        return true;
    }
    // The load of the database replays the changes unasked.
    struct Taken {
        App& app;
        ~Taken() { app.RecoveryTakenOver.clear(); }
    } taken{app};
    app.RecoveryTakenOver = info.file;
    std::string errParam;
    if (!Load_Buch_Data(app, info.database, errParam)) {
        app.ui.message(MsgKind::Error, "Fehler beim Laden: " + GetErrorText(app.store.FehlerNr, errParam),
                       Buttons::Ok);
        return false;
    }
    return app.LoadRecovered;
}

} // namespace

bool OfferRecovery(App& app, const std::string& database)
{
    TraceScope trace("Recovery.OfferRecovery", database);
    app.LoadRecovered = false;
    const bool taken = !app.RecoveryTakenOver.empty();
    std::optional<RecoveryInfo> info =
        taken ? app.recovery.Examine(app.RecoveryTakenOver) : app.recovery.Find(database);
    if (info && info->database != database)
        info->matches = false;
    if (info && info->changes > 0) {
        if (!info->matches) {
            TellChangedSince(app, *info);
        } else if (taken) {
            TakeOver(app, *info);
            return true;
        } else if (app.ui.message(MsgKind::Confirmation,
                                  kTitle + Cp1252("Die Änderungen an den Buchdaten ") + Named(database) +
                                      ", zuletzt " + When(info->lastChange) +
                                      Cp1252(", wurden nicht gesichert.\r\nSollen sie wiederhergestellt werden?\r\n"
                                             "(\"Nein\" legt sie bis zum nächsten Speichern beiseite.)"),
                                  Buttons::YesNo) == Answer::Yes) {
            TakeOver(app, *info);
            return true; // the recording goes on in the recovery file
        } else {
            std::string aside;
            SetAside(app, info->file, aside);
        }
    }
    app.recovery.Follow(database);
    return false;
}

bool OfferWaitingRecoveries(App& app)
{
    TraceScope trace("Recovery.OfferWaitingRecoveries");
    for (const RecoveryInfo& info : app.recovery.Waiting()) {
        if (info.databaseExists && !info.matches) {
            TellChangedSince(app, info);
            continue;
        }
        switch (app.ui.message(MsgKind::Confirmation, StartQuestion(info), Buttons::YesNoLater)) {
        case Answer::Yes:
            if (OpenRecovered(app, info))
                return true; // the others wait for the next start
            break;
        case Answer::No: {
            std::string aside;
            SetAside(app, info.file, aside);
            break;
        }
        default: break; // asked again at the next start
        }
    }
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
