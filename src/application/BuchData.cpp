#include "application/BuchData.h"

#include "application/App.h"
#include "application/Recovery.h"
#include "application/SemaphoreFile.h"
#include "core/AppError.h"
#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/ShortKeys.h"
#include "platform/FileSteps.h"
#include "platform/ReplacementFile.h"
#include "selection/Selection.h"
#include "selection/SearchLists.h"

#include <QFile>
#include <QFileInfo>

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

// How a file is to be read, decided before anything in memory changes.
struct FileLayout {
    bool header = false;
    int headerLen = 0;
    int32_t verMain = -1;
    int32_t verMinor = -1;
};

// A damaged file is told once: its first refusal, and what the load kept.
void ReportDamage(App& app, const std::string& path, int32_t nr, int32_t whole, const std::string& refusal)
{
    app.LoadReportedDamage = true;
    app.ui.message(MsgKind::Error,
                   (refusal.empty() ? std::string() : refusal + "\r\n") + "Fehler beim Lesen von Titel \"" +
                       IntToStr(nr) + "\"!\r\n\r\nDie Datei " + path + Cp1252(" ist beschädigt: ") +
                       IntToStr(whole) + Cp1252(" Titel vollständig gelesen, der Rest der Datei übergangen."),
                   Buttons::Ok);
}

void DropLast(TitleStore& store)
{
    const int32_t current = store.ActBuch;
    store.ActBuch = store.AnzBuch;
    store.DeleteActBuch();
    store.ActBuch = std::min(current, store.AnzBuch);
}

// The header's version, with the questions and refusals it causes. False:
// the file is refused (the user has been told).
bool ExamineHeader(App& app, ByteReader& in, const std::string& path, FileLayout& layout)
{
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
    layout.verMain = version[len - 3] - '0';
    layout.verMinor = version[len - 1] - '0';

    if (layout.verMain != ProgramVerMain) {
        app.ui.message(MsgKind::Error,
                       "Programm-Hauptversion entspricht nicht der Datenversion!\r\nDaten werden nicht geladen!",
                       Buttons::Ok);
        return false;
    }
    if (layout.verMinor != ProgramVerMinor) {
        const std::string data = IntToStr(layout.verMain) + "." + IntToStr(layout.verMinor);
        const std::string question =
            "Programmversion (" + IntToStr(ProgramVerMain) + "." + IntToStr(ProgramVerMinor) + ") " +
            "entspricht nicht der eingestellten Datenversion (" + data + ")!\r\n" + "Sollen die Daten aus " +
            path + Cp1252(" mit dem Daten-Filter für Daten der Version ") + data + " geladen werden?";
        if (app.ui.message(MsgKind::Confirmation, question, Buttons::YesNo) != Answer::Yes)
            return false;
    }
    return true;
}

// Decides how the file is read; nothing in memory changes. False: refused,
// with a message shown, or FehlerNr 22 for data that are no database at all.
bool ExamineFile(App& app, ByteReader& in, const std::string& path, FileLayout& layout)
{
    unsigned char first[OldRecordSize];
    const std::size_t got = in.peek(first, sizeof first);
    layout.header = IsHeaderFormat(reinterpret_cast<const char*>(first), got, layout.headerLen);
    if (layout.header)
        return ExamineHeader(app, in, path, layout);
    // A header of 20 bytes or fewer: an empty catalogue, or one whose first
    // title was cut off.
    const bool shortHeader = got <= 20 && got >= 8 && std::memcmp(first, "Folianto", 8) == 0;
    if (shortHeader || IsOldRecordStart(first, got))
        return true;
    app.store.FehlerNr = 22;
    return false;
}

bool ReadHeaderTitles(App& app, ByteReader& in, const std::string& path, int headerLen, ProgressWindow* progress,
                      LoadMode mode)
{
    TitleStore& store = app.store;
    in.skip(static_cast<std::size_t>(headerLen));
    const bool merge = mode == LoadMode::Merge;
    int32_t whole = 0;
    while (!in.atEnd()) {
        if (!store.NewBuch())
            return false;
        const int32_t nr = store.AnzBuch;
        TBuch& b = *store.at(nr);
        std::string refusal;
        bool complete = true;
        try {
            // False, or cut off by the end of the file: incomplete.
            complete = ReadHeaderTitle(in, refusal, nr, b, app.DataVerMinor) && !in.hitEnd();
        } catch (const std::bad_alloc&) {
            complete = false;
        }
        if (!complete) {
            // Only whole titles are kept, so that the count told is the count
            // shown; the rest stays in the file, which becomes the backup at
            // the next save. Nothing after it can be trusted: without markers
            // in the file, the next title would start at a guess.
            DropLast(store);
            ReportDamage(app, path, nr, whole, refusal);
            break;
        }
        ++whole;
        const int32_t typ = b.TypNum & ~LinkFlag;
        if (typ < 0 || typ >= TypCount) {
            WriteTrace("FoliantoMainWindow.Load_Buch_Data\r\nTitel=" + b.Kuerzel.Text + "\r\nlfd.Nr=" +
                       IntToStr(nr) + "\r\nTypNum nicht im erlaubten Intervall [0..8]=" + IntToStr(b.TypNum) +
                       "\r\nSetze TypNum auf 8=unklar");
            b.TypNum = 8;
            store.MarkChanged();
        }
        if (merge && app.settings.KuerzelZwang && nr > 1)
            b.Kuerzel.Text = MakeUniqueKuerzel(app.store, app.settings, nr);
        AdvanceProgress(progress, nr);
    }
    return true;
}

bool ReadOldFormat(App& app, QIODevice& dev, ByteReader& in, const std::string& path, ProgressWindow* progress)
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
            if (rec[got - 1] != '#')
                ReportDamage(app, path, 1, 0, {});
            break;
        }
        if (got < sizeof rec) { // a record cut short goes, as in the header format
            ReportDamage(app, path, store.AnzBuch + 1, count, {});
            break;
        }
        if (!store.NewBuch())
            return false;
        TBuch& b = *store.at(store.AnzBuch);
        FillFromOldRecord(b, rec);
        store.UpdateBuchLengths(store.AnzBuch);
        AdvanceProgress(progress, ++count);
    }
    return true;
}

// Reads the titles of an examined file into the store.
bool ReadTitles(App& app, QIODevice& dev, ByteReader& in, const std::string& path, const FileLayout& layout,
                ProgressWindow* progress, LoadMode mode)
{
    app.LoadReportedDamage = false;
    if (!layout.header)
        return ReadOldFormat(app, dev, in, path, progress);
    app.DataVerMain = layout.verMain;
    app.DataVerMinor = layout.verMinor;
    if (progress)
        progress->setRange(MaxBuch); // the file carries no title count
    return ReadHeaderTitles(app, in, path, layout.headerLen, progress, mode);
}

} // namespace

bool ReadBuchData(App& app, QIODevice& dev, const std::string& path, ProgressWindow* progress, LoadMode mode)
{
    TraceScope trace("BuchData.ReadBuchData");
    ByteReader in(dev, GetErrorText(3, path));
    FileLayout layout;
    if (!ExamineFile(app, in, path, layout))
        return false;
    return ReadTitles(app, dev, in, path, layout, progress, mode);
}

namespace {

// Steps 3..15 of a load; the caller does the network lock and the clean-up.
// The file is examined before the titles in memory go: a file that is
// refused leaves them, and the current file, as they were.
bool LoadFile(App& app, const std::string& path, std::string& errParam, std::unique_ptr<ProgressWindow>& wait,
              LoadMode mode)
{
    if (!path.empty()) {
        wait = app.ui.showWait("Buchdaten werden geladen!");
        const QString qpath = PathFromCp1252(path);
        if (!QFileInfo::exists(qpath)) {
            app.store.FehlerNr = 1;
            errParam = path;
            return false;
        }
        QFile file(qpath);
        if (!file.open(QIODevice::ReadOnly))
            throw AppError(GetErrorText(3, path));
        ByteReader in(file, GetErrorText(3, path));
        FileLayout layout;
        if (!ExamineFile(app, in, path, layout)) {
            if (app.store.FehlerNr != 0)
                errParam = path;
            return false;
        }
        app.DataFileName = path;
        const bool replace = mode == LoadMode::Replace;
        if (replace) {
            app.recovery.Leave(app.store.Gesichert());
            app.store.Clear();
            ResetSelection(app);
            app.grid.ResetToHeader();
            app.store.MarkSaved();
        }
        const bool read = ReadTitles(app, file, in, path, layout, wait.get(), mode);
        if (replace) {
            app.titleHistory.Clear();
            wait.reset();
            OfferRecovery(app, path);
        }
        if (!read)
            return false;
    }
    if (!app.DataFileName.empty())
        app.history.Add2History(app.DataFileName);
    return true;
}

} // namespace

bool Load_Buch_Data(App& app, const std::string& path, std::string& errParam, LoadMode mode)
{
    TraceScope trace("BuchData.Load_Buch_Data");
    errParam.clear();
    app.store.FehlerNr = 0;
    app.LoadRecovered = false;
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
        ok = LoadFile(app, path, errParam, wait, mode);
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
    TraceScope trace("BuchData.WriteBuchData");
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

// Makes room for the newest backup generation and gives it the content of
// the file, by a second name: the file keeps its name throughout. Each step
// is undone when the save fails before the new content has taken the name.
// A gap an interrupted save left among the generations is closed first, so
// that only a full set loses its oldest generation.
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
        if (!QFileInfo::exists(file_))
            return true; // a new file: nothing to keep
        // What an interrupted save parked is stale.
        if (QFileInfo::exists(parked_))
            steps_.Remove(parked_);
        int free = 0;
        while (free <= generations_ && QFileInfo::exists(Generation(free)))
            ++free;
        if (free > generations_) { // the oldest waits aside until the save succeeded
            if (!Move(Generation(generations_), parked_))
                return false;
            free = generations_;
        }
        for (int k = free - 1; k >= 0; --k)
            if (!Move(Generation(k), Generation(k + 1)))
                return false;
        if (!steps_.Link(file_, backup_))
            return false;
        linked_ = true;
        return true;
    }
    // The new content has the file's name: the parked generation goes.
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
        if (!steps_.Rename(from, to))
            return false;
        moves_.emplace_back(from, to);
        parkedOldest_ = parkedOldest_ || to == parked_;
        return true;
    }
    void Undo()
    {
        if (linked_)
            steps_.Remove(backup_);
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
    bool linked_ = false;
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
    TraceScope trace("BuchData.Save_Buch_Data");
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
    const std::string failure = GetErrorText(9, path);
    const auto fail = [&failure](const FileError& why) { return AppError(WithReason(failure, why)); };
    // In order: the new content complete on the disk under another name; the
    // generations shifted and the file's content linked in as the newest
    // while the file keeps its name; the new content renamed over the file.
    ReplacementFile file(PathFromCp1252(path), &steps);
    if (!file.open(QIODevice::WriteOnly))
        throw fail(file.failure());
    {
        std::unique_ptr<ProgressWindow> wait = app.ui.showWait("Buchdaten werden gesichert!");
        wait->setRange(app.store.AnzBuch);
        try {
            WriteBuchData(app, file, path, wait.get());
        } catch (const AppError&) {
            throw fail(file.failure());
        }
    }
    if (!file.finish())
        throw fail(file.failure());
    BackupRotation backups(steps, path, 2);
    if (!backups.Rotate() || !file.replace())
        throw fail(steps.error()); // the rotation is undone on the way out
    backups.Finish();
    app.store.MarkSaved();
    app.titleHistory.MarkSaved();
    app.recovery.Saved(path);
    return true;
}

} // namespace folianto
