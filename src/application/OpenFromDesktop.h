#pragma once
// Database files that reach the program from outside: the file named when it
// starts (`Folianto FILE`, a double click in a file manager) and a file that a
// second start hands over to the running instance.

#include <QStringList>

#include <string>

namespace folianto {

struct App;

// The database file of the program's arguments (without the program name):
// the first one, as an absolute path; a file: URL gives its local path.
// Empty when none is named.
std::string StartFileFromArguments(const QStringList& arguments);

// Opens a file handed over by a second start as "Öffnen..." would, after the
// question about unsaved data. False when the user kept the data or the load
// failed (the user has been told).
bool OpenHandedOverFile(App& app, const std::string& path);

} // namespace folianto
