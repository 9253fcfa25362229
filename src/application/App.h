#pragma once
// The application object: all program-wide state of one run, owned in one
// place so a test builds a fresh one in one line.

#include "config/Settings.h"
#include "core/NetworkLock.h"
#include "core/TitleStore.h"
#include "core/UserInteraction.h"
#include "diag/TraceLog.h"
#include "history/RecoveryJournal.h"
#include "history/TitleHistory.h"
#include "platform/Platform.h"
#include "selection/KeywordSets.h"
#include "selection/SearchLists.h"
#include "selection/Selection.h"
#include "shell/ColumnModel.h"
#include "shell/FileHistory.h"
#include "shell/GridModel.h"

#include <cstdint>
#include <string>

namespace folianto {

// Program data version written into database files.
constexpr int32_t ProgramVerMain = 1;
constexpr int32_t ProgramVerMinor = 4;

// Modes of the title commands.
enum EditModes : int32_t { EditModeNone = 0, EditModeEdit = 1, EditModeNew = 2, EditModeView = 3, EditModeMerge = 4 };

struct App {
    App(UserInteraction& ui, Platform& platform) : ui(ui), platform(platform) { titleHistory.SetListener(&recovery); }
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    UserInteraction& ui;
    Platform& platform;

    TraceLog traceLog;
    TitleStore store;
    // Undo and redo of the changes to the titles, and the recovery file that
    // keeps them on the disk until they are saved (no folder: none).
    TitleHistory titleHistory{store};
    RecoveryJournal recovery{store, {}};
    std::string DataFileName;
    int32_t DataVerMain = -1;
    int32_t DataVerMinor = -1;
    int32_t EditMode = EditModeNone;
    // The last load told the user that its file is damaged.
    bool LoadReportedDamage = false;

    Settings settings;
    ColumnModel columns;
    GridModel grid;
    SearchLists lists;
    KeywordSets keywordSets;
    SelectionState selection;
    FileHistory history;
    NetworkLock netLock;
    // A linked document was started since the grid cursor last moved.
    bool DocStarted = false;

    // Purely informative messages show only while ShowAllMsg is on.
    void Inform(MsgKind kind, const std::string& text)
    {
        if (settings.ShowAllMsg)
            ui.message(kind, text, Buttons::Ok);
    }
};

} // namespace folianto
