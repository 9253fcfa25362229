#include "application/BuchData.h"

#include "application/App.h"
#include "application/SemaphoreFile.h"
#include "core/AppError.h"
#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/ShortKeys.h"
#include "platform/FileSteps.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace folianto {
namespace {

constexpr int32_t kProgressEvents = 256; // titles between two event-loop turns

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

void AdvanceProgress(ProgressWindow* progress, int32_t position)
{
    if (!progress)
        return;
    progress->setPosition(position);
    if (position % kProgressEvents == 0)
        progress->processEvents();
}

bool ReadHeaderFormat(App& app, ByteReader& in, const std::string& path, int headerLen,
                      ProgressWindow* progress)
{
    TitleStore& store = app.store;
    app.DataVerMain = -1;
    char first[255];
    const std::string head(first, in.peek(first, sizeof first));
    if (UpperAscii(head.substr(0, 8)) != "FOLIANTO") {
        app.ui.message(MsgKind::Error, "Konnte Dateiformat NICHT erkennen!\r\nDaten werden nicht geladen!",
                       Buttons::Ok);
        return false;
    }
    const std::string version = head.substr(0, head.find('#'));
    const std::size_t len = version.size();
    if (len < 3 || !IsDigit(version[len - 3]) || !IsDigit(version[len - 1]))
        throw AppError(Cp1252("Ungültige Versionsangabe \"") + version + "\" in " + path + "!");
    app.DataVerMain = version[len - 3] - '0';
    app.DataVerMinor = version[len - 1] - '0';

    if (app.DataVerMain != ProgramVerMain) {
        app.ui.message(MsgKind::Error,
                       "Programm-Hauptversion entspricht nicht der Datenversion!\r\nDaten werden nicht geladen!",
                       Buttons::Ok);
        return false;
    }
    if (app.DataVerMinor != ProgramVerMinor) {
        const std::string data = IntToStr(app.DataVerMain) + "." + IntToStr(app.DataVerMinor);
        const std::string question =
            "Programmversion (" + IntToStr(ProgramVerMain) + "." + IntToStr(ProgramVerMinor) + ") " +
            "entspricht nicht der eingestellten Datenversion (" + data + ")!\r\n" + "Sollen die Daten aus " +
            path + Cp1252(" mit dem Daten-Filter für Daten der Version ") + data + " geladen werden?";
        if (app.ui.message(MsgKind::Confirmation, question, Buttons::YesNo) != Answer::Yes)
            return false;
    }

    in.skip(static_cast<std::size_t>(headerLen));
    const bool merge = app.EditMode == EditModeMerge;
    while (!in.atEnd()) {
        if (!store.NewBuch())
            return false;
        const int32_t nr = store.AnzBuch;
        TBuch& b = *store.at(nr);
        bool complete = true;
        try {
            // False, or cut off by the end of the file: incomplete.
            complete = ReadHeaderTitle(in, app.ui, nr, b, app.DataVerMinor) && !in.hitEnd();
        } catch (const std::bad_alloc&) {
            complete = false;
        }
        if (!complete) { // the partly read title stays; the next one starts here
            app.ui.message(MsgKind::Error, "Fehler beim Lesen von Titel \"" + IntToStr(nr) + "\"!", Buttons::Ok);
            continue;
        }
        const int32_t typ = b.TypNum & ~LinkFlag;
        if (typ < 0 || typ >= TypCount) {
            WriteTrace("FoliantoMainWindow.Load_Buch_Data\r\nTitel=" + b.Kuerzel.Text + "\r\nlfd.Nr=" +
                       IntToStr(nr) + "\r\nTypNum nicht im erlaubten Intervall [0..8]=" + IntToStr(b.TypNum) +
                       "\r\nSetze TypNum auf 8=unklar");
            b.TypNum = 8;
            store.Gesichert = false;
        }
        if (merge && app.settings.KuerzelZwang && nr > 1)
            b.Kuerzel.Text = MakeUniqueKuerzel(app, nr);
        AdvanceProgress(progress, nr);
    }
    return true;
}

bool ReadOldFormat(App& app, QIODevice& dev, ByteReader& in, ProgressWindow* progress)
{
    TitleStore& store = app.store;
    if (progress)
        progress->setRange(dev.isSequential() ? MaxBuch
                                              : static_cast<int>(std::min<qint64>(
                                                    dev.size() / static_cast<qint64>(OldRecordSize), MaxBuch)));
    int32_t count = 0;
    while (!in.atEnd()) {
        unsigned char rec[OldRecordSize] = {};
        const std::size_t got = in.read(rec, sizeof rec);
        if (got < sizeof rec && count == 0 && std::memcmp(rec, "Folianto", 8) == 0) {
            // A header of 20 bytes or fewer: an empty catalogue, or one whose
            // first title was cut off.
            if (rec[got - 1] != '#')
                app.ui.message(MsgKind::Error, "Fehler beim Lesen von Titel \"1\"!", Buttons::Ok);
            break;
        }
        if (!store.NewBuch())
            return false;
        TBuch& b = *store.at(store.AnzBuch);
        FillFromOldRecord(b, rec);
        store.UpdateBuchLengths(store.AnzBuch);
        AdvanceProgress(progress, ++count);
        if (got < sizeof rec) // the partly read record stays, as in the header format
            app.ui.message(MsgKind::Error, "Fehler beim Lesen von Titel \"" + IntToStr(store.AnzBuch) + "\"!",
                           Buttons::Ok);
    }
    return true;
}

} // namespace

bool ReadBuchData(App& app, QIODevice& dev, const std::string& path, ProgressWindow* progress)
{
    TraceScope trace("DatabaseFile.ReadBuchData");
    ByteReader in(dev, GetErrorText(3, path));
    char first[21];
    const std::size_t got = in.peek(first, sizeof first);
    int headerLen = 0;
    if (!IsHeaderFormat(first, got, headerLen))
        return ReadOldFormat(app, dev, in, progress);
    if (progress)
        progress->setRange(MaxBuch); // the file carries no title count
    return ReadHeaderFormat(app, in, path, headerLen, progress);
}

namespace {

// Steps 3..15 of a load; the caller does the network lock and the clean-up.
bool LoadFile(App& app, const std::string& path, std::string& errParam, std::unique_ptr<ProgressWindow>& wait)
{
    if (!path.empty()) {
        wait = app.ui.showWait("Buchdaten werden geladen!");
        const QString qpath = PathFromCp1252(path);
        if (!QFileInfo::exists(qpath)) {
            app.store.FehlerNr = 1;
            errParam = path;
            return false;
        }
        app.DataFileName = path;
        if (app.EditMode != EditModeMerge) {
            app.store.Clear();
            ResetSelection(app);
            app.grid.ResetToHeader();
            app.store.Gesichert = true;
        }
        QFile file(qpath);
        if (!file.open(QIODevice::ReadOnly))
            throw AppError(GetErrorText(3, path));
        if (!ReadBuchData(app, file, path, wait.get()))
            return false;
    }
    if (!app.DataFileName.empty())
        app.history.Add2History(app.DataFileName);
    return true;
}

} // namespace

bool Load_Buch_Data(App& app, const std::string& path, std::string& errParam)
{
    TraceScope trace("FoliantoMainWindow.Load_Buch_Data");
    errParam.clear();
    app.store.FehlerNr = 0;
    BusyCursor cursor(app.ui);
    if (!Networking_OK(app, path)) {
        app.store.FehlerNr = 21;
        errParam = ExtractFileName(path);
        app.ui.repaint();
        return false;
    }
    std::unique_ptr<ProgressWindow> wait;
    bool ok = false;
    try {
        ok = LoadFile(app, path, errParam, wait);
    } catch (...) {
        wait.reset();
        Fill_AllLists(app);
        throw;
    }
    wait.reset();
    Fill_AllLists(app);
    return ok;
}

void WriteBuchData(const App& app, QIODevice& dev, const std::string& path, ProgressWindow* progress)
{
    TraceScope trace("DatabaseFile.WriteBuchData");
    ByteWriter out(dev, GetErrorText(9, path));
    WriteHeader(out, app.DataVerMain, app.DataVerMinor);
    const TitleStore& store = app.store;
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        if (const TBuch* b = store.at(i))
            WriteTitle(out, *b, app.DataVerMinor);
        AdvanceProgress(progress, i);
    }
    out.flush();
}

namespace {

// Moves the backup generations up by one and the file to the first of them,
// each step undoable until the new file has taken the name: a save that fails
// leaves the file and every generation as they were.
class BackupRotation {
public:
    BackupRotation(FileSteps& steps, const std::string& path, int generations)
        : steps_(steps), file_(PathFromCp1252(path)), backup_(PathFromCp1252(ChangeFileExt(path, ".BAK_FOL"))),
          parked_(backup_ + QStringLiteral(".alt")), generations_(generations)
    {
    }
    ~BackupRotation()
    {
        if (!done_)
            Undo();
    }

    bool Rotate()
    {
        // The oldest generation is only parked until the save has succeeded
        // (what an interrupted save parked is stale).
        if (QFileInfo::exists(parked_))
            steps_.Remove(parked_);
        if (!Move(Generation(generations_), parked_))
            return false;
        for (int k = generations_ - 1; k >= 0; --k)
            if (!Move(Generation(k), Generation(k + 1)))
                return false;
        return Move(file_, backup_);
    }
    // The new file has its name: the parked generation goes.
    void Finish()
    {
        done_ = true;
        if (parkedOldest_)
            steps_.Remove(parked_);
    }

private:
    QString Generation(int k) const { return k == 0 ? backup_ : backup_ + QString::number(k); }
    bool Move(const QString& from, const QString& to)
    {
        if (!QFileInfo::exists(from))
            return true;
        if (QFileInfo::exists(to) || !steps_.Rename(from, to))
            return false;
        moves_.emplace_back(from, to);
        parkedOldest_ = parkedOldest_ || to == parked_;
        return true;
    }
    void Undo()
    {
        for (auto m = moves_.rbegin(); m != moves_.rend(); ++m)
            steps_.Rename(m->second, m->first);
        moves_.clear();
    }

    FileSteps& steps_;
    const QString file_;
    const QString backup_;
    const QString parked_;
    const int generations_;
    std::vector<std::pair<QString, QString>> moves_;
    bool parkedOldest_ = false;
    bool done_ = false;
};

} // namespace

bool Save_Buch_Data(App& app, const std::string& path, std::string& errParam)
{
    FileSteps steps;
    return Save_Buch_Data(app, path, errParam, steps);
}

bool Save_Buch_Data(App& app, const std::string& path, std::string& errParam, FileSteps& steps)
{
    TraceScope trace("FoliantoMainWindow.Save_Buch_Data");
    if (app.DataVerMain == -1)
        app.DataVerMain = ProgramVerMain;
    if (app.DataVerMain != ProgramVerMain) {
        app.ui.message(MsgKind::Error,
                       Cp1252("Programm-Hauptversion stimmt nicht mit Daten-Hauptversion über ein!\r\n"
                              "Daten können NICHT gespeichert werden !"),
                       Buttons::Ok);
        return false;
    }
    if (app.DataVerMinor == -1)
        app.DataVerMinor = ProgramVerMinor;
    if (app.DataVerMinor != ProgramVerMinor) {
        const Answer a = app.ui.message(
            MsgKind::Confirmation,
            Cp1252("Programm-Version stimmt nicht mit Daten-Version über ein!\r\n"
                   "Sollen die Daten gemäß der Daten-Version [JA]\r\n"
                   "oder gemäß der Programm-Version [NEIN] gespeichert werden?"),
            Buttons::YesNoAbort);
        if (a == Answer::No)
            app.DataVerMinor = ProgramVerMinor;
        else if (a != Answer::Yes)
            return false;
    }

    BusyCursor cursor(app.ui);
    if (path.empty()) {
        app.store.FehlerNr = 16;
        errParam = "Sichern";
        return false;
    }
    app.store.FehlerNr = 0;
    const QString qpath = PathFromCp1252(path);
    const std::string failure = GetErrorText(9, path);
    // Written completely beside the target before it takes the name.
    QSaveFile file(qpath);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(failure);
    {
        std::unique_ptr<QIODevice> through = steps.WriteThrough(file);
        std::unique_ptr<ProgressWindow> wait = app.ui.showWait("Buchdaten werden gesichert!");
        wait->setRange(app.store.AnzBuch);
        WriteBuchData(app, through ? *through : file, path, wait.get());
        if (!file.flush() || file.error() != QFileDevice::NoError)
            throw AppError(failure);
    }
    BackupRotation backups(steps, path, 2);
    if (!backups.Rotate() || !steps.Commit(file))
        throw AppError(failure); // the rotation is undone on the way out
    backups.Finish();
    app.store.Gesichert = true;
    return true;
}

} // namespace folianto
