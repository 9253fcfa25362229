#pragma once
// The import dialog ("Folianto: Import-Filter") as a logic object: the values
// of its controls, the checks of OK and what reaches the settings and the
// column descriptors. The widgets only show and edit these members.

#include "exchange/TextImport.h"
#include "workspace/ColumnModel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

struct Workspace;

class ImportDialogModel {
public:
    enum Mode { TextMode = 1, WorkbookMode = 2 };
    static constexpr int RowCount = ColumnCount; // one row per descriptor 0..33

    // Fills the controls from the settings and the column descriptors.
    ImportDialogModel(Workspace& ws, Mode mode);

    Mode mode() const { return mode_; }
    static const char* Caption() { return "Folianto: Import-Filter"; }
    std::string HintText() const;
    bool HeaderLinesEnabled() const { return mode_ == TextMode; }
    bool WorkbookPageVisible() const { return mode_ == WorkbookMode; }

    // The table: "Eintrag" is the column's header, "Position" the edited text.
    const std::string& EntryText(int row) const;
    static bool RowEditable(int row) { return row != 18 && row != 33; }
    // Whether typing `key` into a position cell holding `cellText` is allowed:
    // digits, one minus sign, Backspace (8) and Escape (27).
    static bool AcceptsKey(const std::string& cellText, char key);

    // Control values (the spin boxes keep their own ranges).
    std::array<std::string, RowCount> Positions;
    int32_t Kopfzeilen = 1;    // 0..100
    std::string Delimiter;     // one character, or "Tab"
    // Choices of the delimiter box besides what the user types.
    static std::vector<std::string> DelimiterChoices() { return {"Tab", ";", ",", "$", "|"}; }
    int32_t FirstRow = 1;      // 1..2000
    int32_t FirstCol = 1;      // 1..2000
    int32_t AnzRows = 0;       // 0..2000
    int32_t AnzCols = 0;       // 0..2000

    // Text mode: the chosen file, read before the dialog shows. Its encoding is
    // detected, and when its first line names the columns, that assignment is
    // taken (UseHeaderLine).
    void SetTextFile(const std::string& path, std::string bytes);
    bool HasTextFile() const { return !fileName_.empty(); }
    const std::string& FileName() const { return fileName_; }
    // The encoding the file is read in; the user may switch it.
    TextEncoding Encoding = TextEncoding::Windows1252;
    void SetEncoding(TextEncoding encoding);
    // What was detected, e.g. "erkannt: UTF-8 mit Byte-Order-Mark".
    std::string EncodingNote() const;
    // The first lines of the file as read in Encoding.
    std::vector<std::string> PreviewLines(std::size_t count) const;
    // The first line names the columns: its assignment can replace the positions.
    bool HeaderLineOffered() const { return header_.has_value(); }
    bool UseHeaderLine() const { return useHeader_; }
    void SetUseHeaderLine(bool on);

    // When the dialog becomes active: in workbook mode the hint on the
    // workbook import's limits is shown once per installation.
    void Activate();
    // "&Reset": positions 1..34 by row (the two fixed rows 0), both counts 0.
    void Reset();

    // The message that OK would show, or empty when OK would close.
    std::string Validate() const;
    // "&OK": true when the dialog closes with its values stored; false when it
    // stays open (the check's message has been shown).
    bool Ok();
    // "&Abbrechen": the spin boxes and the delimiter reach the settings, the
    // positions do not.
    void Cancel();

private:
    std::string RangeError() const;
    void StoreControlValues();

    void FindHeaderLine();

    Workspace& ws_;
    Mode mode_;
    std::array<std::string, RowCount> entries_;
    std::string fileName_;
    std::string bytes_;
    DetectedEncoding detected_;
    std::optional<HeaderAssignment> header_;
    bool useHeader_ = false;
    // The controls as they were before the header line's assignment.
    std::array<std::string, RowCount> ownPositions_;
    std::string ownDelimiter_;
    int32_t ownKopfzeilen_ = 1;
};

} // namespace folianto
