#include "application/SettingsFile.h"

#include "config/IniFile.h"
#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "exchange/TextImport.h"
#include "application/App.h"
#include "platform/StandardLocations.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace folianto {
namespace {

const char* const kCommon = "COMMON";
const char* const kImpExp = "ImpExp";
const char* const kExportPos = "ExportPos";
const char* const kHistory = "History";
const char* const kSelSchlW = "SelSchlW";
const char* const kShowCol = "ShowCol";
const char* const kPos = "Zellenanordnung";
const char* const kWidth = "Zellenbreite";
const char* const kImportPos = "ImportPos";
const char* const kHeader = "HeaderBez";
const char* const kNachschlagen = "Nachschlagen";

constexpr std::size_t kPresetLength = 20; // DefaultTyp, DefaultOwner, DefaultLanguage
constexpr int32_t kMaxLZerzwK = 10;
constexpr int32_t kSearchInBits = 0x3FF;  // ten search switches

std::string Key(int i)
{
    return std::to_string(i);
}

// `value` when it lies in lo..hi, else `fallback`.
int32_t InRange(int32_t value, int32_t lo, int32_t hi, int32_t fallback)
{
    return value >= lo && value <= hi ? value : fallback;
}

// The delimiter as the file holds it: one character, or "Tab".
std::string DelimiterText(char c)
{
    return DelimiterName(c);
}

// A text naming no delimiter keeps the current one.
char DelimiterFrom(const std::string& text, char current)
{
    const char c = DelimiterOfText(text);
    return c != '\0' && c != '\x7F' ? c : current;
}

void ReadCommon(App& app, const IniFile& ini)
{
    Settings& s = app.settings;
    ImpExpSettings& ie = s.ImpExp;
    auto readInt = [&ini](const char* key, int32_t current) { return ini.ReadInteger(kCommon, key, current); };
    auto readBool = [&ini](const char* key, bool current) { return ini.ReadBool(kCommon, key, current); };
    auto readPreset = [&ini](const char* key, const std::string& current) {
        return CutCp1252(ini.ReadString(kCommon, key, current), kPresetLength);
    };

    s.SortLength = static_cast<uint8_t>(std::clamp(readInt("SortLength", s.SortLength), 0, 255));
    s.SaveDir = readBool("SaveDir", s.SaveDir);
    s.SaveOption = readBool("SaveOption", s.SaveOption);
    const std::string lastFile = ini.ReadString(kCommon, "LastFile", app.DataFileName);
    s.OpenFileAtStart = readBool("OpenFileAtStart", s.OpenFileAtStart);
    // A remembered file that is not opened must not become the save target
    // of the empty store.
    if (s.OpenFileAtStart)
        app.DataFileName = lastFile;
    s.DefaultTyp = readPreset("DefaultTyp", s.DefaultTyp);
    s.DefaultOwner = readPreset("DefaultOwner", s.DefaultOwner);
    s.DefaultLanguage = readPreset("DefaultLanguage", s.DefaultLanguage);
    // Only the eight sort orders exist.
    s.BuchSort = static_cast<uint8_t>(InRange(readInt("BuchSort", s.BuchSort), 0, SortOrderCount - 1, s.BuchSort));
    s.MaxColWidth = InRange(readInt("MaxColWidth", s.MaxColWidth), 1, INT32_MAX, s.MaxColWidth);
    s.UseMaxColWidth = readBool("UseMaxColWidth", s.UseMaxColWidth);
    s.AutoOptColWidth = readBool("AutoOptColWidth", s.AutoOptColWidth);
    s.FSDialogOpenDef = InRange(readInt("FSDialogOpenDef", s.FSDialogOpenDef), 0, 3, s.FSDialogOpenDef);
    s.FSDialogSearchIn = readInt("FSDialogSearchIn", s.FSDialogSearchIn) & kSearchInBits;
    ie.Kopfzeilen = std::max(0, readInt("ImportKopfzeilen", ie.Kopfzeilen));
    const std::string trennz = ini.ReadString(kCommon, "ImportTrennz", DelimiterText(ie.Trennzeichen));
    s.SortByAE = readBool("SortByAE", s.SortByAE);
    ie.Trennzeichen = DelimiterFrom(trennz, ie.Trennzeichen);
    s.ShowAllMsg = readBool("ShowAllMsg", s.ShowAllMsg);
    s.ShowOnlyFirstLine = readBool("ShowOnlyFirstLine", s.ShowOnlyFirstLine);
    s.EditAutoFill = readBool("EditAutoFill", s.EditAutoFill);
    s.KuerzelZwang = readBool("KuerzelZwang", s.KuerzelZwang);
    s.SchlwLenght = InRange(readInt("SchlwLenght", s.SchlwLenght), 0, INT32_MAX, s.SchlwLenght);
    s.UseLastSettings = readBool("UseLastSettings", s.UseLastSettings);
    s.CaseSensitiveSort = readBool("CaseSensitiveSort", s.CaseSensitiveSort);
    s.LZerzwK = std::clamp(readInt("LZerzwK", s.LZerzwK), 0, kMaxLZerzwK);
    s.ImportHinweis = readBool("ImportHinweis", s.ImportHinweis);
    s.HistryLgth = std::max(0, readInt("HistryLgth", s.HistryLgth));
    s.HistryLgthPrz = std::clamp(readInt("HistryLgthPrz", s.HistryLgthPrz), 0, 100);
    s.AdjustLabels = readBool("AdjustLabels", s.AdjustLabels);
    s.AlwaysShowAVM = readBool("AlwaysShowAVM", s.AlwaysShowAVM);
    s.LookupTimeoutMs = InRange(readInt("LookupTimeoutMs", s.LookupTimeoutMs), 1, 600000, s.LookupTimeoutMs);
    if (ini.SectionExists(kNachschlagen))
        s.Nachschlagen = ini.ReadSectionEntries(kNachschlagen);
}

// "ImpExp" wins over the same values read from "COMMON".
void ReadImpExp(App& app, const IniFile& ini)
{
    ImpExpSettings& ie = app.settings.ImpExp;
    ie.FirstCol = std::max(1, ini.ReadInteger(kImpExp, "FirstCol", ie.FirstCol));
    ie.AnzCols = std::max(0, ini.ReadInteger(kImpExp, "AnzCols", ie.AnzCols));
    ie.FirstRow = std::max(1, ini.ReadInteger(kImpExp, "FirstRow", ie.FirstRow));
    ie.AnzRows = std::max(0, ini.ReadInteger(kImpExp, "AnzRows", ie.AnzRows));
    const std::string trennz = ini.ReadString(kImpExp, "Trennzeichen", DelimiterText(ie.Trennzeichen));
    ie.Kopfzeilen = std::max(0, ini.ReadInteger(kImpExp, "Kopfzeilen", ie.Kopfzeilen));
    ie.Trennzeichen = DelimiterFrom(trennz, ie.Trennzeichen);
}

void ReadColumns(App& app, const IniFile& ini)
{
    auto& cells = app.columns.CellArray;
    for (int i = 0; i < ColumnCount; ++i)
        cells[i].ShowCol = ini.ReadBool(kShowCol, Key(i), cells[i].ShowCol);
    // A position no grid column can have counts as "not placed".
    for (int i = 0; i < ColumnCount; ++i)
        cells[i].Pos = InRange(ini.ReadInteger(kPos, Key(i), cells[i].Pos), -1, ColumnCount - 1, -1);
    for (int i = 0; i < ColumnCount; ++i)
        cells[i].Width = InRange(ini.ReadInteger(kWidth, Key(i), cells[i].Width), -1, INT32_MAX, -1);
    for (int i = 0; i < ColumnCount; ++i)
        cells[i].ImportPos = ini.ReadInteger(kImportPos, Key(i), cells[i].ImportPos);
    // A blank header could not be told from others; the current one stays.
    for (int i = 0; i < ColumnCount; ++i) {
        const std::string header = ini.ReadString(kHeader, Key(i), cells[i].Header);
        if (HasPrintable(header))
            cells[i].Header = header;
    }
}

void ReadExportPos(App& app, const IniFile& ini)
{
    for (int i = 0; i < ExportSlotCount; ++i) {
        const int32_t v = ini.ReadInteger(kExportPos, Key(i), 0);
        app.settings.ExportPos[i] = v >= -ExportSlotCount && v <= ExportSlotCount ? v : 0;
    }
}

void ReadHistory(App& app, const IniFile& ini)
{
    auto& paths = app.history.Paths;
    for (int i = 0; i < MaxHistory; ++i) {
        const std::string path = ini.ReadString(kHistory, Key(i), "");
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(path);
    }
}

// Every line of the section is one set; its value split at each semicolon.
void ReadKeywordSets(App& app, const IniFile& ini)
{
    if (!ini.SectionExists(kSelSchlW))
        return;
    auto& rows = app.keywordSets.Rows;
    rows.clear();
    for (const std::string& value : ini.ReadSectionValues(kSelSchlW)) {
        std::vector<std::string> row;
        std::size_t pos = 0;
        for (;;) {
            const std::size_t semi = FindListSeparator(value, pos);
            row.push_back(value.substr(pos, semi == std::string::npos ? std::string::npos : semi - pos));
            if (semi == std::string::npos)
                break;
            pos = semi + 1;
        }
        rows.push_back(std::move(row));
    }
}

// A free position below a taken one: every shown column gets the next
// position, every other column none.
void CheckPositionHoles(App& app)
{
    auto& cells = app.columns.CellArray;
    constexpr int kPositions = ColumnCount - 1; // positions 0..32
    bool taken[kPositions] = {};
    for (int i = 0; i < ColumnCount; ++i)
        if (cells[i].Pos >= 0 && cells[i].Pos < kPositions)
            taken[cells[i].Pos] = true;
    int holes = 0;
    bool renumber = false;
    for (int p = 0; p < kPositions && !renumber; ++p) {
        if (!taken[p])
            ++holes;
        else if (holes > 0)
            renumber = true;
    }
    if (!renumber)
        return;
    int32_t next = 0;
    for (int i = 0; i < ColumnCount; ++i)
        cells[i].Pos = cells[i].ShowCol ? next++ : -1;
}

} // namespace

std::string IniFilePath(App& app)
{
    return SettingsFilePath(app.platform.ProgramPath());
}

void ReadSettings(App& app, const IniFile& ini)
{
    ReadCommon(app, ini);
    ReadImpExp(app, ini);
    app.lists.KategorieSearchList.Clear();
    ReadColumns(app, ini);
    for (int i = 0; i <= 8; ++i)
        app.selection.SuchenIn[i + 1] = (app.settings.FSDialogSearchIn >> i) & 1;
    ReadExportPos(app, ini);
    ReadHistory(app, ini);
    ReadKeywordSets(app, ini);
    // "1. Auflage aus dem Jahr" repeats "Jahr".
    app.columns.CellArray[9].ShowCol = false;
    CheckPositionHoles(app);
}

void WriteSettings(App& app, IniFile& ini)
{
    const Settings& s = app.settings;
    const ImpExpSettings& ie = s.ImpExp;
    auto writeInt = [&ini](const char* key, int64_t v) { ini.WriteInteger(kCommon, key, v); };
    auto writeBool = [&ini](const char* key, bool v) { ini.WriteBool(kCommon, key, v); };

    writeInt("SortLength", s.SortLength);
    writeBool("SaveDir", s.SaveDir);
    ini.WriteString(kCommon, "LastFile", s.OpenFileAtStart ? app.DataFileName : std::string());
    ini.WriteString(kCommon, "DefaultTyp", s.DefaultTyp);
    ini.WriteString(kCommon, "DefaultOwner", s.DefaultOwner);
    ini.WriteString(kCommon, "DefaultLanguage", s.DefaultLanguage);
    writeBool("SaveOption", s.SaveOption);
    writeBool("OpenFileAtStart", s.OpenFileAtStart);
    writeInt("AnzKats", 0);
    writeInt("BuchSort", s.BuchSort);
    writeInt("MaxColWidth", s.MaxColWidth);
    writeBool("UseMaxColWidth", s.UseMaxColWidth);
    writeBool("AutoOptColWidth", s.AutoOptColWidth);
    writeInt("FSDialogOpenDef", s.FSDialogOpenDef);
    writeInt("FSDialogSearchIn", s.FSDialogSearchIn);
    writeInt("ImportKopfzeilen", ie.Kopfzeilen);
    ini.WriteString(kCommon, "ImportTrennz", DelimiterText(ie.Trennzeichen));
    writeBool("ShowAllMsg", s.ShowAllMsg);
    writeBool("ShowOnlyFirstLine", s.ShowOnlyFirstLine);
    writeBool("SortByAE", s.SortByAE);
    writeBool("EditAutoFill", s.EditAutoFill);
    writeBool("KuerzelZwang", s.KuerzelZwang);
    writeInt("SchlwLenght", s.SchlwLenght);
    writeBool("UseLastSettings", s.UseLastSettings);
    writeBool("CaseSensitiveSort", s.CaseSensitiveSort);
    writeInt("LZerzwK", s.LZerzwK);
    writeInt("HistryLgth", s.HistryLgth);
    writeInt("HistryLgthPrz", s.HistryLgthPrz);
    writeBool("ImportHinweis", s.ImportHinweis);
    writeBool("AdjustLabels", s.AdjustLabels);
    writeBool("AlwaysShowAVM", s.AlwaysShowAVM);

    ini.WriteInteger(kImpExp, "FirstCol", ie.FirstCol);
    ini.WriteInteger(kImpExp, "AnzCols", ie.AnzCols);
    ini.WriteInteger(kImpExp, "FirstRow", ie.FirstRow);
    ini.WriteInteger(kImpExp, "AnzRows", ie.AnzRows);
    ini.WriteString(kImpExp, "Trennzeichen", DelimiterText(ie.Trennzeichen));
    ini.WriteInteger(kImpExp, "Kopfzeilen", ie.Kopfzeilen);

    const auto& cells = app.columns.CellArray;
    for (int i = 0; i < ColumnCount; ++i)
        ini.WriteBool(kShowCol, Key(i), cells[i].ShowCol);
    for (int i = 0; i < ColumnCount; ++i)
        ini.WriteInteger(kPos, Key(i), cells[i].Pos);
    for (int i = 0; i < ColumnCount; ++i)
        ini.WriteInteger(kWidth, Key(i), cells[i].Width);
    for (int i = 0; i < ColumnCount; ++i)
        ini.WriteInteger(kImportPos, Key(i), cells[i].ImportPos);
    for (int i = 0; i < ColumnCount; ++i)
        ini.WriteString(kHeader, Key(i), cells[i].Header);

    for (int i = 0; i < ExportSlotCount; ++i)
        ini.WriteInteger(kExportPos, Key(i), s.ExportPos[i]);

    const auto& paths = app.history.Paths;
    for (std::size_t i = 0; i < paths.size() && i < static_cast<std::size_t>(MaxHistory); ++i)
        ini.WriteString(kHistory, Key(static_cast<int>(i)), paths[i]);

    // The reader takes every line of the section as a set, so the section
    // holds the sets alone; lines under other keys would come back twice.
    ini.EraseSectionKeys(kSelSchlW);
    const auto& rows = app.keywordSets.Rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].empty())
            continue;
        std::string value;
        for (std::size_t k = 0; k < rows[i].size(); ++k)
            value += (k ? ";" : "") + rows[i][k];
        ini.WriteString(kSelSchlW, kSelSchlW + std::to_string(i), value);
    }
}

bool Read_IniFile(App& app, const std::string& path)
{
    TraceScope trace("Read_IniFile", path);
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        return false;
    ReadSettings(app, IniFile(bytes));
    return true;
}

bool Read_IniFile(App& app)
{
    return Read_IniFile(app, IniFilePath(app));
}

std::optional<std::string> Write_IniFile(App& app, const std::string& path)
{
    TraceScope trace("Write_IniFile");
    if (!app.settings.SaveOption)
        return std::nullopt;
    const std::string error = "nach " + path + " kann nicht geschrieben werden";
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        return error; // the keys the program does not write would be lost
    IniFile ini(bytes);
    WriteSettings(app, ini);
    // The user's configuration folder may not exist before the first run.
    const QString folder = QFileInfo(PathFromCp1252(path)).absolutePath();
    if (!QDir().mkpath(folder) || !WriteFileAtomically(path, ini.Serialize()))
        return error;
    return std::nullopt;
}

std::optional<std::string> Write_IniFile(App& app)
{
    return Write_IniFile(app, IniFilePath(app));
}

} // namespace folianto
