#pragma once
// Reading and writing Folianto.INI: the settings, the column model, the
// import/export settings, the export slots, the file history and the keyword
// sets of an App.

#include <optional>
#include <string>

namespace folianto {

struct App;
class IniFile;

// The program path with ".INI".
std::string IniFilePath(App& app);

// Reads every setting from `ini`; a missing key leaves the current value.
// Values out of range are clamped or left at their current value.
void ReadSettings(App& app, const IniFile& ini);
// Writes every setting into `ini`, keeping what else it holds.
void WriteSettings(App& app, IniFile& ini);

// The settings reader: false when the file exists but cannot be read (the
// defaults then stay). A missing file is no error.
bool Read_IniFile(App& app, const std::string& path);
bool Read_IniFile(App& app);
// The settings writer: nothing when SaveOption is off; otherwise the file is
// edited in place and replaced atomically. Returns the error text when it
// could not be written (the old file then stays intact).
std::optional<std::string> Write_IniFile(App& app, const std::string& path);
std::optional<std::string> Write_IniFile(App& app);

} // namespace folianto
