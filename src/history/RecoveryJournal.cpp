#include "history/RecoveryJournal.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "history/TitleCoding.h"
#include "platform/AppendFile.h"
#include "platform/FileSteps.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace folianto {
namespace {

constexpr char kMark[8] = {'F', 'o', 'l', 'R', 'e', 'c', '0', '1'};
constexpr const char* kExtension = ".journal";
constexpr const char* kAsideInfix = ".aside-";
constexpr const char* kLaterInfix = ".later-"; // still to be offered

enum OpCode : uint8_t { OpPatch = 0, OpInsert = 1, OpRemove = 2, OpClear = 3 };

struct Stamp {
    int64_t size = -1;
    int64_t time = 0;
};

Stamp StampOf(const std::string& database)
{
    if (database.empty())
        return {};
    const QFileInfo info(PathFromCp1252(database));
    if (!info.exists())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

void AppendFrame(std::string& out, const std::string& payload)
{
    PutU32(out, static_cast<uint32_t>(payload.size()));
    PutU32(out, Crc32(payload.data(), payload.size()));
    out += payload;
}

// The frames of a recovery file's content, up to the first one cut short.
class FrameReader {
public:
    explicit FrameReader(const QByteArray& bytes) : bytes_(bytes) {}
    bool Next(ByteCursor& payload)
    {
        ByteCursor head(bytes_.constData() + pos_, static_cast<std::size_t>(bytes_.size() - pos_));
        const uint32_t size = head.U32();
        const uint32_t crc = head.U32();
        if (!head.ok() || size > static_cast<uint64_t>(bytes_.size() - pos_ - 8))
            return false;
        const char* data = bytes_.constData() + pos_ + 8;
        if (Crc32(data, size) != crc)
            return false;
        pos_ += 8 + static_cast<qint64>(size);
        payload = ByteCursor(data, size);
        return true;
    }
    qint64 pos() const { return pos_; }
    void skip(qint64 n) { pos_ += n; }

private:
    const QByteArray& bytes_;
    qint64 pos_ = 0;
};

// The readable part of a recovery file name: the database's name without
// its extension, in letters any file system takes.
std::string Stem(const std::string& database)
{
    if (database.empty())
        return "unbenannt";
    const QString base = QFileInfo(PathFromCp1252(database)).completeBaseName();
    std::string stem;
    for (const QChar c : base.left(40)) {
        const char16_t u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' ||
                           u == '_';
        stem += plain ? static_cast<char>(u) : '_';
    }
    return stem.empty() ? "_" : stem;
}

// One operation of a step, in the order the step was just applied.
struct AppliedOp {
    SlotChange kind;
    int32_t slot;
    const TBuch* held; // see SlotOp, in the direction applied
    bool picturesKept;
};

// The content slot `ops[i].slot` has right after ops[i]: the next operation
// on that slot keeps it (a Modify as its other content, a Remove as the
// removed title), or the store has it now. Removals and insertions before
// the slot move it on the way.
const TBuch* ContentAfter(const std::vector<AppliedOp>& ops, std::size_t i, const TitleStore& store)
{
    int32_t p = ops[i].slot;
    for (std::size_t j = i + 1; j < ops.size(); ++j) {
        const AppliedOp& op = ops[j];
        if (op.kind == SlotChange::Insert) {
            if (op.slot <= p)
                ++p;
        } else if (op.slot == p) {
            return op.held;
        } else if (op.kind == SlotChange::Remove && op.slot < p) {
            --p;
        }
    }
    return store.at(p);
}

} // namespace

RecoveryJournal::RecoveryJournal(TitleStore& store, std::string folder, std::unique_ptr<AppendFile> file)
    : store_(store), folder_(std::move(folder)), file_(file ? std::move(file) : std::make_unique<AppendFile>())
{
}

RecoveryJournal::~RecoveryJournal()
{
    {
        std::lock_guard<std::mutex> lock(syncMutex_);
        syncStop_ = true;
    }
    syncWake_.notify_all();
    if (syncer_.joinable())
        syncer_.join();
    file_->Close();
}

std::string RecoveryJournal::FileFor(const std::string& database) const
{
    const QString absolute = database.empty() ? QString() : QFileInfo(PathFromCp1252(database)).absoluteFilePath();
    const QByteArray hash = QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return folder_ + "/" + Stem(database) + "-" + hash.toStdString() + kExtension;
}

void RecoveryJournal::SetFolder(const std::string& folder)
{
    Stop();
    folder_ = folder;
}

void RecoveryJournal::Follow(const std::string& database)
{
    Stop();
    if (folder_.empty())
        return;
    database_ = database;
    const Stamp stamp = StampOf(database);
    databaseSize_ = stamp.size;
    databaseTime_ = stamp.time;
    baseCount_ = store_.AnzBuch;
    brokenFile_ = false;
    following_ = true;
    wholeDue_ = false;
    failing_ = false;
    failureTold_ = false;
}

bool RecoveryJournal::TakeNewFailure()
{
    if (!failing_ || failureTold_)
        return false;
    failureTold_ = true;
    return true;
}

void RecoveryJournal::Stop()
{
    WaitForSync();
    file_->Close();
    following_ = false;
    wholeDue_ = false;
}

void RecoveryJournal::Saved(const std::string& database)
{
    TraceScope trace("RecoveryJournal.Saved");
    if (folder_.empty())
        return;
    const std::string previous = following_ ? FileFor(database_) : std::string();
    Stop();
    if (!previous.empty())
        QFile::remove(PathFromCp1252(previous));
    QFile::remove(PathFromCp1252(FileFor(database)));
    RemoveAsides(database);
    Follow(database);
}

void RecoveryJournal::Leave(bool saved)
{
    TraceScope trace("RecoveryJournal.Leave");
    if (!following_)
        return;
    const std::string file = FileFor(database_);
    Stop();
    if (!QFileInfo::exists(PathFromCp1252(file)))
        return;
    if (saved)
        QFile::remove(PathFromCp1252(file));
    else
        PutAside(file);
}

void RecoveryJournal::RemoveAsides(const std::string& database) const
{
    const QFileInfo journal(PathFromCp1252(FileFor(database)));
    QString prefix = journal.fileName();
    prefix.chop(static_cast<int>(std::strlen(kExtension)));
    prefix += QLatin1String(kAsideInfix);
    const QDir dir(journal.absolutePath());
    for (const QString& name : dir.entryList({prefix + QLatin1Char('*')}, QDir::Files))
        QFile::remove(dir.filePath(name));
}

bool RecoveryJournal::PutAside(const std::string& file, std::string& aside)
{
    TraceScope trace("RecoveryJournal.PutAside");
    return Move(file, kAsideInfix, aside);
}

bool RecoveryJournal::Move(const std::string& file, const char* infix, std::string& to)
{
    if (following_ && file == FileFor(database_))
        Stop(); // what follows would start from a state no file holds
    QString base = PathFromCp1252(file);
    if (base.endsWith(QLatin1String(kExtension)))
        base.chop(static_cast<int>(std::strlen(kExtension)));
    for (const char* other : {kAsideInfix, kLaterInfix}) // moved before: keep one stamp
        if (const auto at = base.indexOf(QLatin1String(other)); at >= 0)
            base.truncate(at);
    const QString when = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name;
    for (int n = 1; n < 1000; ++n) {
        name = base + QLatin1String(infix) + when;
        if (n > 1)
            name += QLatin1Char('-') + QString::number(n);
        name += QLatin1String(kExtension);
        if (!QFileInfo::exists(name))
            break;
    }
    to = PathToCp1252(name);
    return QFile::rename(PathFromCp1252(file), name);
}

std::optional<RecoveryInfo> RecoveryJournal::Examine(const std::string& file) const
{
    RecoveryInfo info;
    info.file = file;
    QFile in(PathFromCp1252(info.file));
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = in.readAll();
    if (bytes.size() < static_cast<qint64>(sizeof kMark) || std::memcmp(bytes.constData(), kMark, sizeof kMark) != 0)
        return info; // begun but cut short before its header: holds no change
    FrameReader frames(bytes);
    frames.skip(sizeof kMark);
    ByteCursor header(nullptr, 0);
    if (!frames.Next(header))
        return info;
    info.database = header.Bytes();
    const int64_t size = header.I64();
    const int64_t time = header.I64();
    if (!header.atEnd()) // files of earlier versions end the header here
        info.baseCount = header.I32();
    const Stamp now = StampOf(info.database);
    info.databaseExists = now.size >= 0;
    info.matches = header.ok() && size == now.size && time == now.time;
    info.wholeBytes = frames.pos();
    for (ByteCursor change(nullptr, 0); frames.Next(change);) {
        ++info.changes;
        info.lastChange = change.I64();
        info.wholeBytes = frames.pos();
    }
    return info;
}

std::optional<RecoveryInfo> RecoveryJournal::Find(const std::string& database) const
{
    TraceScope trace("RecoveryJournal.Find");
    if (folder_.empty())
        return std::nullopt;
    std::optional<RecoveryInfo> info = Examine(FileFor(database));
    if (info)
        info->matches = info->matches && info->database == database;
    return info;
}

std::vector<RecoveryInfo> RecoveryJournal::Waiting() const
{
    TraceScope trace("RecoveryJournal.Waiting");
    std::vector<RecoveryInfo> waiting;
    if (folder_.empty())
        return waiting;
    const QDir dir(PathFromCp1252(folder_));
    for (const QString& name : dir.entryList({QLatin1Char('*') + QLatin1String(kExtension)}, QDir::Files)) {
        if (name.contains(QLatin1String(kAsideInfix)))
            continue;
        const std::optional<RecoveryInfo> info = Examine(PathToCp1252(dir.filePath(name)));
        if (info && info->changes > 0)
            waiting.push_back(*info);
    }
    std::stable_sort(waiting.begin(), waiting.end(),
                     [](const RecoveryInfo& a, const RecoveryInfo& b) { return a.lastChange > b.lastChange; });
    return waiting;
}

bool RecoveryJournal::Replay(const RecoveryInfo& info, bool alone, int64_t& end)
{
    QFile in(PathFromCp1252(info.file));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.read(info.wholeBytes);
    in.close();
    FrameReader frames(bytes);
    frames.skip(sizeof kMark);
    ByteCursor header(nullptr, 0);
    if (!frames.Next(header))
        return false;
    if (alone) {
        // The database's own titles are unknown: empty slots stand for them.
        store_.Clear();
        store_.AnzBuch = std::clamp(info.baseCount, 0, MaxBuch);
    }
    bool whole = true;
    for (ByteCursor change(nullptr, 0); whole && frames.Next(change);) {
        change.I64(); // the time
        const int32_t act = change.I32();
        const int32_t counter = change.I32();
        const uint32_t count = change.U32();
        for (uint32_t k = 0; k < count && whole; ++k) {
            const uint8_t code = change.U8();
            const int32_t slot = change.I32();
            switch (code) {
            case OpPatch:
                if (TBuch* b = store_.at(slot); b && slot <= store_.AnzBuch) {
                    whole = ApplyTitlePatch(change, *b);
                } else if (alone && slot >= 1 && slot <= store_.AnzBuch) {
                    TBuch unknown; // a change to a title whose rest is unknown
                    whole = ApplyTitlePatch(change, unknown);
                } else {
                    whole = false;
                }
                break;
            case OpInsert: {
                auto title = std::make_unique<TBuch>();
                whole = DecodeTitle(change, *title) && store_.InsertAt(slot, std::move(title));
                break;
            }
            case OpRemove:
                whole = slot >= 1 && slot <= store_.AnzBuch && (store_.TakeAt(slot) != nullptr || alone);
                break;
            case OpClear:
                while (store_.AnzBuch > 0)
                    store_.TakeAt(store_.AnzBuch);
                break;
            default: whole = false; break;
            }
            whole = whole && change.ok();
        }
        if (whole) {
            store_.ActBuch = act;
            store_.SetBuchNrCounter(counter);
        }
    }
    if (alone) {
        // The known titles move together; the current one stays current, or
        // the next known one.
        int32_t kept = 0;
        int32_t act = 0;
        for (int32_t i = 1; i <= store_.AnzBuch; ++i) {
            if (i == store_.ActBuch)
                act = kept + 1;
            if (store_.Buch[static_cast<std::size_t>(i)])
                store_.Buch[static_cast<std::size_t>(++kept)] = std::move(store_.Buch[static_cast<std::size_t>(i)]);
        }
        store_.AnzBuch = kept;
        store_.ActBuch = act;
    }
    store_.ActBuch = std::clamp(store_.ActBuch, std::min(1, store_.AnzBuch), store_.AnzBuch);
    store_.MarkChanged();
    end = frames.pos();
    return whole;
}

bool RecoveryJournal::Recover(const RecoveryInfo& info)
{
    TraceScope trace("RecoveryJournal.Recover");
    int64_t end = 0;
    const bool whole = Replay(info, false, end);
    if (end == 0)
        return false;
    database_ = info.database;
    following_ = true;
    if (!whole) {
        // The file stays as it is; a new one starts from what was recovered.
        PutAside(info.file);
        wholeDue_ = true;
        return false;
    }
    // Later changes follow the whole ones in the same file, under the name
    // of its database.
    const std::string file = FileFor(database_);
    if (info.file != file) {
        std::string moved;
        const QFileInfo present(PathFromCp1252(file));
        const bool free = !present.exists() || (present.size() == 0 ? QFile::remove(present.filePath())
                                                                    : Move(file, kLaterInfix, moved));
        if (!free || !QFile::rename(PathFromCp1252(info.file), PathFromCp1252(file))) {
            PutAside(info.file); // taken over: never offered again
            wholeDue_ = true;
            return true;
        }
    }
    failing_ = !file_->Open(PathFromCp1252(file), end);
    return true;
}

bool RecoveryJournal::RecoverAlone(const RecoveryInfo& info)
{
    TraceScope trace("RecoveryJournal.RecoverAlone");
    Stop();
    int64_t end = 0;
    const bool whole = Replay(info, true, end);
    if (end == 0)
        return false;
    PutAside(info.file);
    // A catalogue without a file: its recovery file starts with all of it.
    Follow({});
    wholeDue_ = true;
    return whole;
}

void RecoveryJournal::StepApplied(const HistoryStep& step, bool undone)
{
    if (!following_)
        return;
    if (wholeDue_)
        WriteWhole();
    else
        WriteStep(step, undone);
}

void RecoveryJournal::HistoryLost()
{
    if (following_)
        wholeDue_ = true;
}

void RecoveryJournal::Flush()
{
    if (following_ && wholeDue_)
        WriteWhole();
}

namespace {

void BeginChange(std::string& out, const TitleStore& store, uint32_t ops)
{
    PutI64(out, QDateTime::currentMSecsSinceEpoch());
    PutI32(out, store.ActBuch);
    PutI32(out, store.BuchNrCounter());
    PutU32(out, ops);
}

} // namespace

void RecoveryJournal::WriteStep(const HistoryStep& step, bool undone)
{
    // The operations in the order just applied: taking a step back applies
    // the reverse of each, last first.
    std::vector<AppliedOp> ops;
    ops.reserve(step.ops.size());
    bool removes = false;
    for (std::size_t k = 0; k < step.ops.size(); ++k) {
        const SlotOp& op = step.ops[undone ? step.ops.size() - 1 - k : k];
        SlotChange kind = op.kind;
        if (undone && kind != SlotChange::Modify)
            kind = kind == SlotChange::Insert ? SlotChange::Remove : SlotChange::Insert;
        ops.push_back({kind, op.slot, op.title.get(), op.picturesKept});
        removes = removes || op.kind == SlotChange::Remove;
    }
    std::string payload;
    BeginChange(payload, store_, static_cast<uint32_t>(ops.size()));
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const AppliedOp& op = ops[i];
        // Without removals no slot moves, and each is changed once.
        const TBuch* after = op.kind == SlotChange::Remove ? nullptr
                             : removes                     ? ContentAfter(ops, i, store_)
                                                           : store_.at(op.slot);
        if (op.kind != SlotChange::Remove && (!after || (op.kind == SlotChange::Modify && !op.held))) {
            WriteWhole(); // cannot happen while every change is recorded; stay safe if one was not
            return;
        }
        PutU8(payload, op.kind == SlotChange::Modify ? OpPatch : op.kind == SlotChange::Insert ? OpInsert : OpRemove);
        PutI32(payload, op.slot);
        if (op.kind == SlotChange::Modify)
            EncodeTitlePatch(payload, *op.held, *after, op.picturesKept);
        else if (op.kind == SlotChange::Insert)
            EncodeTitle(payload, *after);
    }
    Write(payload);
}

void RecoveryJournal::WriteWhole()
{
    TraceScope trace("RecoveryJournal.WriteWhole");
    wholeDue_ = false;
    std::string payload;
    BeginChange(payload, store_, static_cast<uint32_t>(store_.AnzBuch) + 1);
    PutU8(payload, OpClear);
    PutI32(payload, 0);
    for (int32_t i = 1; i <= store_.AnzBuch; ++i) {
        PutU8(payload, OpInsert);
        PutI32(payload, i);
        const TBuch* b = store_.at(i);
        EncodeTitle(payload, b ? *b : TBuch{});
    }
    Write(payload);
}

void RecoveryJournal::Write(const std::string& payload)
{
    std::string bytes;
    if (!file_->IsOpen()) {
        const std::string path = FileFor(database_);
        const QString folder = QFileInfo(PathFromCp1252(path)).absolutePath();
        if (!QFileInfo::exists(folder)) {
            QDir().mkpath(folder);
            FileSteps().SyncFolder(QFileInfo(folder).absolutePath()); // the new folder's own name
        }
        // Changes of an earlier run nobody has decided about are never
        // overwritten: they wait under another name.
        std::string moved;
        if (QFileInfo(PathFromCp1252(path)).size() > 0)
            Move(path, brokenFile_ ? kAsideInfix : kLaterInfix, moved);
        brokenFile_ = false;
        if (!file_->Open(PathFromCp1252(path), 0)) {
            failing_ = true;
            wholeDue_ = true; // what is lost now must not be missing from the next file
            return;
        }
        {
            std::lock_guard<std::mutex> lock(syncMutex_);
            folderSyncDue_ = true;
        }
        std::string header;
        PutBytes(header, database_);
        PutI64(header, databaseSize_);
        PutI64(header, databaseTime_);
        PutI32(header, baseCount_);
        bytes.append(kMark, sizeof kMark);
        AppendFrame(bytes, header);
    }
    AppendFrame(bytes, payload);
    if (!file_->Append(bytes.data(), bytes.size())) {
        // Nothing after a broken change is replayed: the next change starts
        // a new file (this one is put aside) with the whole store.
        failing_ = true;
        wholeDue_ = true;
        brokenFile_ = true;
        WaitForSync();
        file_->Close();
        return;
    }
    failing_ = false;
    SyncSoon();
}

void RecoveryJournal::SyncSoon()
{
    {
        std::lock_guard<std::mutex> lock(syncMutex_);
        syncDue_ = true;
        if (!syncer_.joinable())
            syncer_ = std::thread([this] { SyncLoop(); });
    }
    syncWake_.notify_all();
}

void RecoveryJournal::SyncLoop()
{
    std::unique_lock<std::mutex> lock(syncMutex_);
    for (;;) {
        syncWake_.wait(lock, [this] { return syncDue_ || syncStop_; });
        if (syncStop_)
            return;
        syncDue_ = false;
        syncing_ = true;
        const bool folder = std::exchange(folderSyncDue_, false);
        lock.unlock();
        file_->Sync();
        if (folder) // the new file's name
            FileSteps().SyncFolder(PathFromCp1252(folder_));
        lock.lock();
        syncing_ = false;
        syncWake_.notify_all();
    }
}

void RecoveryJournal::WaitForSync()
{
    std::unique_lock<std::mutex> lock(syncMutex_);
    syncWake_.wait(lock, [this] { return !syncing_; });
    syncDue_ = false;
}

} // namespace folianto
