#pragma once
// Loading a database file into an App's title store (or merging it there)
// and saving the store, with the messages, the wait window, the semaphore
// file and the backup generations.

#include <string>

class QIODevice;

namespace folianto {

struct App;
class FileSteps;
class ProgressWindow;

// Reads a whole database file from `dev` (at its start) into the store: the
// steps of a load after the file checks. `path` names the file in messages.
bool ReadBuchData(App& app, QIODevice& dev, const std::string& path, ProgressWindow* progress = nullptr);
// Writes the header and every title in the data version of `app`.
void WriteBuchData(const App& app, QIODevice& dev, const std::string& path,
                   ProgressWindow* progress = nullptr);

// Loads (or, with EditMode 4, merges) the file at `path`. False: FehlerNr and
// errParam say why (FehlerNr 0 when a message was shown already).
// Throws AppError when the file cannot be read or its version is unreadable.
bool Load_Buch_Data(App& app, const std::string& path, std::string& errParam);

// Saves the store to `path`. The new file is written completely under a
// temporary name and only then, after the backup generations have moved,
// takes the name. True (and Gesichert) when the save completed; throws
// AppError when the file cannot be written or the generations cannot move,
// leaving the old file and its backups in place.
bool Save_Buch_Data(App& app, const std::string& path, std::string& errParam);
// The same with the file-system calls made through `steps` (for tests).
bool Save_Buch_Data(App& app, const std::string& path, std::string& errParam, FileSteps& steps);

} // namespace folianto
