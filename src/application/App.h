#pragma once
// The application object: all program-wide state of one run, owned in one
// place so a test builds a fresh one in one line. The subsystems work on its
// Workspace part; the file, its version, the lock and the history are the
// program's own.

#include "application/FileHistory.h"
#include "application/NetworkLock.h"
#include "diag/TraceLog.h"
#include "history/RecoveryJournal.h"
#include "platform/Platform.h"
#include "workspace/Workspace.h"

#include <cstdint>
#include <string>

namespace folianto {

// Program data version written into database files.
constexpr int32_t ProgramVerMain = 1;
constexpr int32_t ProgramVerMinor = 4;

struct App : Workspace {
    App(UserInteraction& ui, Platform& platform) : Workspace(ui), platform(platform)
    {
        titleHistory.SetListener(&recovery);
    }

    Platform& platform;

    TraceLog traceLog;
    // Keeps the changes to the titles on the disk until they are saved (no
    // folder: none).
    RecoveryJournal recovery{store, {}};
    std::string DataFileName;
    int32_t DataVerMain = -1;
    int32_t DataVerMinor = -1;
    // The last load told the user that its file is damaged.
    bool LoadReportedDamage = false;
    // The last load took the changes of a recovery file over.
    bool LoadRecovered = false;
    // A recovery file the user took over at the start: the load of its
    // database replays it without asking again.
    std::string RecoveryTakenOver;

    FileHistory history;
    NetworkLock netLock;
};

} // namespace folianto
