#pragma once
// Program-wide settings with their built-in defaults (Folianto.INI).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace folianto {

struct ImpExpSettings {
    char Trennzeichen = '$';
    int32_t FirstRow = 1;
    int32_t FirstCol = 1;
    int32_t AnzRows = 0;
    int32_t AnzCols = 0;
    int32_t Kopfzeilen = 1;
};

constexpr int ExportSlotCount = 33;

struct Settings {
    // Section COMMON, in the order of writing.
    uint8_t SortLength = 25;
    bool SaveDir = true;
    // LastFile is App::DataFileName.
    std::string DefaultTyp = "Taschenbuch";
    std::string DefaultOwner;  // neutral default: empty
    std::string DefaultLanguage = "deutsch";
    bool SaveOption = true;
    bool OpenFileAtStart = false;
    uint8_t BuchSort = 0;
    int32_t MaxColWidth = 250;
    bool UseMaxColWidth = false;
    bool AutoOptColWidth = true;
    int32_t FSDialogOpenDef = 0;
    int32_t FSDialogSearchIn = 511;
    bool ShowAllMsg = false;
    bool ShowOnlyFirstLine = false;
    bool SortByAE = false;
    bool EditAutoFill = false;
    bool KuerzelZwang = true;
    int32_t SchlwLenght = 5;
    bool UseLastSettings = false;
    bool CaseSensitiveSort = true;
    int32_t LZerzwK = 3;
    int32_t HistryLgth = 40;
    int32_t HistryLgthPrz = 20;
    bool ImportHinweis = false;
    bool AdjustLabels = false;
    bool AlwaysShowAVM = false;

    // Section ImpExp; ImportKopfzeilen/ImportTrennz of COMMON are the same values.
    ImpExpSettings ImpExp;

    // Section ExportPos: 33 signed slots of the export selection.
    std::array<int32_t, ExportSlotCount> ExportPos{};
    // Entries follow the fixed pattern per literature type (not stored).
    bool VorgegExportAuswahl = false;

    // Section Nachschlagen as it stands (key, value); nothing when the file
    // has no such section. Read only: the program never writes it.
    std::optional<std::vector<std::pair<std::string, std::string>>> Nachschlagen;
    // Time limit of one look-up request in milliseconds (COMMON key
    // LookupTimeoutMs, never written).
    int32_t LookupTimeoutMs = 15000;

    // Picture display of the title editor (not stored): 0 fit into the tab,
    // 1 natural size; 0 full size after a double click, 1 automatically.
    int32_t PicSizeOption = 0;
    int32_t PicAutoShowOption = 0;
};

} // namespace folianto
