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

// A load replaces the titles in memory; a merge appends the file's titles
// to them.
enum class LoadMode { Replace, Merge };

// Reads a whole database file from `dev` (at its start) into the store: the
// steps of a load after the file checks. `path` names the file in messages.
bool ReadBuchData(App& app, QIODevice& dev, const std::string& path, ProgressWindow* progress = nullptr,
                  LoadMode mode = LoadMode::Replace);
// Writes the header and every title in the data version of `app`.
void WriteBuchData(const App& app, QIODevice& dev, const std::string& path,
                   ProgressWindow* progress = nullptr);

// Loads (or merges) the file at `path`. False: FehlerNr and
// errParam say why (FehlerNr 0 when a message was shown already). A file that
// is refused (no database, a version declined) leaves the titles in memory
// and DataFileName as they were. A damaged file is told in one message; the
// titles read whole stay, and App::LoadReportedDamage is set.
// Throws AppError when the file cannot be read or its version is unreadable.
bool Load_Buch_Data(App& app, const std::string& path, std::string& errParam,
                    LoadMode mode = LoadMode::Replace);

// Saves the store to `path`. The new content is written completely and put
// on the disk under another name; the backup generations move up by one
// while the file keeps its name, the newest becoming a second name of the
// file; then the new content takes the name. Whenever the process ends, the
// file and every backup there is are whole databases. True (and Gesichert)
// when the save completed; throws AppError, with the system's reason, when it
// failed, leaving the old file and its backups in place.
bool Save_Buch_Data(App& app, const std::string& path, std::string& errParam);
// The same with the file-system calls made through `steps` (for tests).
bool Save_Buch_Data(App& app, const std::string& path, std::string& errParam, FileSteps& steps);

} // namespace folianto
