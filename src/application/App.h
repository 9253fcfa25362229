#pragma once
// The application object: all program-wide state of one run, owned in one
// place so a test builds a fresh one in one line. The subsystems work on its
// Workspace part; the file, its version, the lock and the history are the
// program's own.

#include "application/FileHistory.h"
#include "application/NetworkLock.h"
#include "diag/TraceLog.h"
#include "platform/Platform.h"
#include "workspace/Workspace.h"

#include <cstdint>
#include <string>

namespace folianto {

// Program data version written into database files.
constexpr int32_t ProgramVerMain = 1;
constexpr int32_t ProgramVerMinor = 4;

struct App : Workspace {
    App(UserInteraction& ui, Platform& platform) : Workspace(ui), platform(platform) {}

    Platform& platform;

    TraceLog traceLog;
    std::string DataFileName;
    int32_t DataVerMain = -1;
    int32_t DataVerMinor = -1;
    // The last load told the user that its file is damaged.
    bool LoadReportedDamage = false;

    FileHistory history;
    NetworkLock netLock;
};

} // namespace folianto
