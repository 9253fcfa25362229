#pragma once
// The recovery file of a catalogue: every change to its titles since it was
// loaded or saved, appended as it happens, so that after the program was
// killed a new one loads the database and replays the changes.
//
// Layout: an 8-byte mark, then frames of (length, CRC-32, payload). The
// first frame names the database (path, size, modification time as they
// were before the first change); each further frame is one change: the slot
// operations that take the store from the state before it to the state after
// it. A frame cut short by a kill fails its length or CRC check, and it and
// everything after it are left out.

#include "history/TitleHistory.h"
#include "platform/AppendFile.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace folianto {

// What a recovery file holds.
struct RecoveryInfo {
    std::string file;     // Windows-1252 path, as all paths here
    std::string database; // as the file names it; empty: never saved
    bool matches = false; // the database file is still the one the changes start from
    std::size_t changes = 0;
    int64_t lastChange = 0; // milliseconds since 1970 (UTC) of the last whole change
    int64_t wholeBytes = 0; // length of the mark, the header and the whole changes
    int32_t baseCount = 0;  // titles the database held when the changes began
    bool databaseExists = false;
};

class RecoveryJournal : public HistoryListener {
public:
    // `folder` holds the recovery files; it is made when the first one is.
    // Without a folder nothing is recorded or found. A test may hand in its
    // own file writer.
    RecoveryJournal(TitleStore& store, std::string folder, std::unique_ptr<AppendFile> file = nullptr);
    ~RecoveryJournal() override;
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    void SetFolder(const std::string& folder);
    const std::string& Folder() const { return folder_; }

    // The recovery file of `database`, named after it so that two
    // catalogues never share one.
    std::string FileFor(const std::string& database) const;

    // The changes from now on start from `database` as its file is now; the
    // recovery file is begun with the first of them.
    void Follow(const std::string& database);
    // No more recording; the recovery file stays.
    void Stop();
    // The store now equals the file `database`: its recovery file and the
    // ones put aside for it go, and the recording follows it.
    void Saved(const std::string& database);
    // The catalogue is left (another opened, the program ends): its recovery
    // file goes when nothing was left unsaved, else it is put aside.
    void Leave(bool saved);

    // The recovery file of `database`, when there is one.
    std::optional<RecoveryInfo> Find(const std::string& database) const;
    // What the recovery file `file` holds (nothing when it cannot be read).
    std::optional<RecoveryInfo> Examine(const std::string& file) const;
    // Every recovery file in the folder that holds changes, newest change
    // first; those put aside are not among them, those that waited while
    // their database was changed anew are.
    std::vector<RecoveryInfo> Waiting() const;
    // Replays the changes onto the store just loaded from the database, and
    // records the following changes in the same file. False when a change
    // could not be applied; those before it stay.
    bool Recover(const RecoveryInfo& info);
    // For changes whose database is gone: the store becomes the titles the
    // changes hold whole (added ones, and every later state of them), as a
    // catalogue never saved; the file is put aside. False as for Recover.
    bool RecoverAlone(const RecoveryInfo& info);
    // Renames a recovery file so that no start asks for it again; it stays
    // until the next save of its database; recording into it stops. False
    // on failure; `aside` is the name tried either way.
    bool PutAside(const std::string& file, std::string& aside);
    std::string PutAside(const std::string& file)
    {
        std::string aside;
        return PutAside(file, aside) ? aside : std::string();
    }
    // Writes what a change outside the recorded steps made due.
    void Flush();

    bool Following() const { return following_; }
    // The last write failed: changes since are not recoverable.
    bool Failing() const { return failing_; }
    // True once after writing began to fail, until the next Follow.
    bool TakeNewFailure();

    void StepApplied(const HistoryStep& step, bool undone) override;
    void HistoryLost() override;

private:
    void WriteStep(const HistoryStep& step, bool undone);
    void WriteWhole();
    void Write(const std::string& payload);
    void SyncLoop();
    void SyncSoon();
    void WaitForSync();
    void RemoveAsides(const std::string& database) const;
    bool Move(const std::string& file, const char* infix, std::string& to);
    bool Replay(const RecoveryInfo& info, bool alone, int64_t& end);

    TitleStore& store_;
    std::string folder_;
    std::unique_ptr<AppendFile> file_;
    bool following_ = false;
    std::string database_;
    int64_t databaseSize_ = -1;
    int64_t databaseTime_ = 0;
    int32_t baseCount_ = 0;
    bool wholeDue_ = false;
    bool brokenFile_ = false; // this run's file, closed after a failed write
    bool failing_ = false;
    bool failureTold_ = false;

    // Putting the file on the disk runs on its own thread, so a change costs
    // the user-interface thread only the write.
    std::thread syncer_;
    std::mutex syncMutex_;
    std::condition_variable syncWake_;
    bool syncDue_ = false;
    bool syncing_ = false;
    bool syncStop_ = false;
    bool folderSyncDue_ = false; // a new file or folder: its name goes on the disk too
};

} // namespace folianto
