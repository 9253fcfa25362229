#pragma once
// The import dialog ("Folianto: Import-Filter") as a logic object: the values
// of its controls, the checks of OK and what reaches the settings and the
// column descriptors. The widgets only show and edit these members.

#include "shell/ColumnModel.h"

#include <array>
#include <cstdint>
#include <string>

namespace folianto {

struct App;

class ImportDialogModel {
public:
    enum Mode { TextMode = 1, WorkbookMode = 2 };
    static constexpr int RowCount = ColumnCount; // one row per descriptor 0..33

    // Fills the controls from the settings and the column descriptors.
    ImportDialogModel(App& app, Mode mode);

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
    std::string Delimiter;     // one-character edit
    int32_t FirstRow = 1;      // 1..2000
    int32_t FirstCol = 1;      // 1..2000
    int32_t AnzRows = 0;       // 0..2000
    int32_t AnzCols = 0;       // 0..2000

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

    App& app_;
    Mode mode_;
    std::array<std::string, RowCount> entries_;
};

} // namespace folianto
