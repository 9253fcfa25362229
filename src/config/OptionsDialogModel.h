#pragma once
// The options dialog ("Folianto: Optionen") as a logic object: the values of
// its six pages, the list editing of the column, header and export pages, and
// what OK writes back. The widgets only show and edit these members.

#include "config/Settings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace folianto {

class UserInteraction;

// One column descriptor of the grid as the dialog edits it.
struct OptionColumn {
    std::string Info;   // fixed identifying name
    std::string Header; // user-renamable header text
    bool ShowCol = true;
    int32_t Pos = -1;
    int32_t Width = -1;
    int32_t WidthOk = -1;
};

constexpr int OptionTitleColumns = 34;      // descriptors 0..33 are title columns
constexpr int OptionDescriptorCount = 35;   // plus the spare 34

// Everything the dialog reads and writes, copied in and out by its caller.
struct OptionsData {
    Settings settings;
    std::array<OptionColumn, OptionDescriptorCount> columns;
    // Texts of the search lists of types, languages and owners.
    std::vector<std::string> TypItems, SpracheItems, BesitzerItems;
    int32_t TitleCount = 0;
};

class OptionsDialogModel {
public:
    enum Page { GeneralPage, DisplayPage, ColumnsPage, HeadersPage, PicturesPage, ExportPage };
    static constexpr int PresetLength = 20;    // the combo texts are stored cut to this
    static constexpr int MinColWidthLimit = 20; // a narrower column shows nothing readable
    static constexpr int MaxColWidthLimit = 9999;
    static constexpr int MaxSortLength = 99;   // the sort length is edited as two digits

    explicit OptionsDialogModel(const OptionsData& data);

    static const char* Caption() { return "Folianto: Optionen"; }
    // The dialog always opens on its first page.
    static Page StartPage() { return GeneralPage; }
    // The label of export slot `slot` (0..32) and the list's default order.
    static const char* ExportSlotLabel(int slot);
    static const std::array<const char*, ExportSlotCount>& ExportDefaultOrder();

    // "allgemeine Optionen"
    bool OpenFileAtStart, SaveDir, SaveOption, KuerzelZwang;
    std::string DefaultTyp, DefaultLanguage, DefaultOwner;
    std::vector<std::string> TypItems, SpracheItems, BesitzerItems;
    int32_t HistryLgthPrz; // 0..100
    // The information line of the percentage group for the current HistryLgthPrz.
    std::string InfoLine() const;

    // "Anzeige-Optionen"
    int SortItem; // 1: Ä as AE (SortByAE)
    std::string SortLengthText; // two places, right-aligned
    bool CaseSensitiveSort, ShowAllMsg, ShowOnlyFirstLine, EditAutoFill;
    bool UseMaxColWidth, AutoOptColWidth;
    std::string MaxColWidthText; // digits only

    // "Spalten-Anzeige": descriptors 0..33 without 9 and 30, sorted by Info.
    struct ColumnItem {
        int Descriptor;
        std::string Label;
        bool Checked;
    };
    std::vector<ColumnItem> ColumnItems;

    // "Header festlegen": the same descriptors in index order.
    std::vector<int> HeaderDescriptors;
    std::vector<std::string> InfoLines, HeaderLines;
    int HeaderIndex = -1; // selected line of both lists
    // Selects line `line` of both lists (clamped); the edit shows its header.
    void SelectHeaderLine(int line);
    // Up (-1) and Down (+1) keys: one line within the lists' bounds.
    void MoveHeaderSelection(int delta);
    const std::string& HeaderEditText() const { return headerEdit_; }
    // A change in the edit replaces the selected header line at once.
    void SetHeaderEditText(const std::string& text);
    bool AdjustLabels;

    // "Bilder": the two picture display options (item 0 or 1).
    int32_t PicSizeOption, PicAutoShowOption;

    // "Export-Auswahl"
    struct ExportLine {
        std::string Label;
        bool Checked;
    };
    std::vector<ExportLine> ExportLines;
    int ExportIndex = 0; // selected line
    // Swaps the selected line with its neighbour (-1 up, +1 down); the
    // selection follows the moved line. Nothing at the list's ends.
    bool MoveExportLine(int delta);
    bool VorgegExportAuswahl;

    // OK: false (after the message, with the offending header line selected)
    // when a value cannot be taken; otherwise writes every control back into
    // Result().
    bool Ok(UserInteraction& ui);
    const OptionsData& Result() const { return data_; }

private:
    // The first header that cannot be taken, with its line.
    std::string HeaderProblem(int& badLine) const;
    void FillExportLines(const std::array<int32_t, ExportSlotCount>& slots);

    OptionsData data_;
    std::string headerEdit_;
    std::string shownSortLength_; // a longer sort length than two digits shows as 99
};

} // namespace folianto
