#pragma once
// The state that every subsystem works on: the titles, the settings, what
// the grid shows and the lists built from the titles. The application object
// builds on it with what only the program as a whole owns.

#include "config/Settings.h"
#include "core/TitleStore.h"
#include "core/UserInteraction.h"
#include "history/TitleHistory.h"
#include "workspace/ColumnModel.h"
#include "workspace/GridModel.h"
#include "workspace/Lists.h"
#include "workspace/SelectionState.h"

#include <cstdint>
#include <optional>
#include <string>

namespace folianto {

// The two file dialogs a command asks in.
enum class FileQuestion { Open, Save };

// Modes of the title commands.
enum EditModes : int32_t { EditModeNone = 0, EditModeEdit = 1, EditModeNew = 2, EditModeView = 3 };

struct Workspace {
    explicit Workspace(UserInteraction& ui) : ui(ui) {}
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    UserInteraction& ui;
    TitleStore store;
    // Undo and redo of the changes to the titles.
    TitleHistory titleHistory{store};

    Settings settings;
    ColumnModel columns;
    GridModel grid;
    SearchLists lists;
    KeywordSets keywordSets;
    SelectionState selection;
    // A linked document was started since the grid cursor last moved.
    bool DocStarted = false;

    // Purely informative messages show only while ShowAllMsg is on.
    void Inform(MsgKind kind, const std::string& text)
    {
        if (settings.ShowAllMsg)
            ui.message(kind, text, Buttons::Ok);
    }

    // The file the user picks in the dialog; nothing on cancel, after the
    // informative note that no file was chosen.
    std::optional<std::string> ChooseFile(FileQuestion question, const FileDialogSpec& dialog);
};

} // namespace folianto
