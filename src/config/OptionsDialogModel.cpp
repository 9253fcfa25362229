#include "config/OptionsDialogModel.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/UserInteraction.h"
#include "core/Trace.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace folianto {
namespace {

// Labels of the export slots 0..32, in slot order (Windows-1252).
const std::array<const char*, ExportSlotCount> kSlotLabels = {
    "K\xFC" "rzel", "Autor", "Herausgeber", "Titel", "(Original-)Titel", "Alternativer Titel", "Sprache",
    "Seiten", "Verlag", "ISBN", "Besitzer", "Reihe", "Jahr", "Heft-Nr", "Band", "Ort", "Typ", "Kategorie",
    "Inhalt", "Bemerkung", "Standort", "Schlagworte", "Quelle", "Medium", "L\xE4" "nge", "Verleihstatus",
    "W\xE4" "hrung", "Auflage", "verliehen", "Jahr (numerisch)", "Preis", "TypNum", "Kaufdatum",
};

// The export list's lines before any slot is placed.
const std::array<const char*, ExportSlotCount> kDefaultOrder = {
    "(Original-)Titel", "Alternativer Titel", "Auflage", "Autor", "Band", "Bemerkung", "Besitzer", "Heft-Nr",
    "Herausgeber", "Inhalt", "ISBN", "Jahr", "Jahr (numerisch)", "Kategorie", "Kaufdatum", "K\xFC" "rzel",
    "L\xE4" "nge", "Medium", "Ort", "Preis", "Quelle", "Reihe", "Schlagworte", "Seiten", "Sprache", "Standort",
    "Titel", "Typ", "TypNum", "Verlag", "Verleihstatus", "verliehen", "W\xE4" "hrung",
};

// The column the dialog never offers: "1. Auflage aus dem Jahr" repeats "Jahr".
bool Offered(int descriptor)
{
    return descriptor != 9;
}

// The decimal number of an edit's digits; nothing when it holds none.
bool ReadDigits(const std::string& text, int32_t& value)
{
    const std::string digits = RemoveAllBlanks(text);
    if (digits.empty())
        return false;
    long long v = 0;
    const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        value = INT32_MAX;
        return true;
    }
    if (res.ec != std::errc() || res.ptr != digits.data() + digits.size())
        return false;
    value = static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
    return true;
}

std::string RightAligned2(int value)
{
    std::string text = IntToStr(value);
    return text.size() < 2 ? std::string(2 - text.size(), ' ') + text : text;
}

std::string Preset(const std::string& text)
{
    return CutCp1252(text, OptionsDialogModel::PresetLength);
}

// The drop-down items, plus the typed text when it is new.
std::vector<std::string> WithTyped(std::vector<std::string> items, const std::string& typed)
{
    if (HasPrintable(typed) && std::find(items.begin(), items.end(), typed) == items.end())
        items.push_back(typed);
    return items;
}

} // namespace

const char* OptionsDialogModel::ExportSlotLabel(int slot)
{
    return slot >= 0 && slot < ExportSlotCount ? kSlotLabels[static_cast<std::size_t>(slot)] : "";
}

const std::array<const char*, ExportSlotCount>& OptionsDialogModel::ExportDefaultOrder()
{
    return kDefaultOrder;
}

OptionsDialogModel::OptionsDialogModel(const OptionsData& data) : data_(data)
{
    TraceScope trace("OptionenForm.FormShow");
    const Settings& s = data.settings;
    OpenFileAtStart = s.OpenFileAtStart;
    SaveDir = s.SaveDir;
    SaveOption = s.SaveOption;
    KuerzelZwang = s.KuerzelZwang;
    DefaultTyp = Preset(s.DefaultTyp);
    DefaultLanguage = Preset(s.DefaultLanguage);
    DefaultOwner = Preset(s.DefaultOwner);
    TypItems = data.TypItems;
    SpracheItems = data.SpracheItems;
    BesitzerItems = data.BesitzerItems;
    HistryLgthPrz = std::clamp(s.HistryLgthPrz, 0, 100);

    SortItem = s.SortByAE ? 1 : 0;
    SortLengthText = shownSortLength_ = RightAligned2(std::min<int>(s.SortLength, MaxSortLength));
    CaseSensitiveSort = s.CaseSensitiveSort;
    ShowAllMsg = s.ShowAllMsg;
    ShowOnlyFirstLine = s.ShowOnlyFirstLine;
    EditAutoFill = s.EditAutoFill;
    UseMaxColWidth = s.UseMaxColWidth;
    AutoOptColWidth = s.AutoOptColWidth;
    MaxColWidthText = IntToStr(std::clamp<int32_t>(s.MaxColWidth, MinColWidthLimit, MaxColWidthLimit));

    for (int d = 0; d < OptionTitleColumns; ++d) {
        if (!Offered(d))
            continue;
        const OptionColumn& c = data.columns[static_cast<std::size_t>(d)];
        ColumnItems.push_back({d, c.Info, c.ShowCol});
        HeaderDescriptors.push_back(d);
        InfoLines.push_back(c.Info);
        HeaderLines.push_back(c.Header);
    }
    std::stable_sort(ColumnItems.begin(), ColumnItems.end(),
                     [](const ColumnItem& a, const ColumnItem& b) { return a.Label < b.Label; });
    AdjustLabels = s.AdjustLabels;

    PicSizeOption = s.PicSizeOption == 1 ? 1 : 0;
    PicAutoShowOption = s.PicAutoShowOption == 1 ? 1 : 0;

    FillExportLines(s.ExportPos);
    VorgegExportAuswahl = s.VorgegExportAuswahl;
}

std::string OptionsDialogModel::InfoLine() const
{
    const long long entries = static_cast<long long>(data_.TitleCount) * HistryLgthPrz / 100;
    return "=> beim aktuellen Datenstand von " + IntToStr(data_.TitleCount) +
           " Titeln werden die Listen je nach Listeninhalt mit ca. " + IntToStr(entries) +
           Cp1252(" Einträgen gefüllt");
}

void OptionsDialogModel::FillExportLines(const std::array<int32_t, ExportSlotCount>& slots)
{
    // Each label stands on exactly one line: a slot takes its place unless an
    // earlier slot holds it already; the labels left over fill the free lines
    // in the default order.
    std::array<int, ExportSlotCount> slotAtLine;
    slotAtLine.fill(-1);
    std::array<bool, ExportSlotCount> placed{};
    for (int slot = 0; slot < ExportSlotCount; ++slot) {
        const int32_t v = slots[static_cast<std::size_t>(slot)];
        const int32_t place = std::abs(v);
        if (v == 0 || place > ExportSlotCount || slotAtLine[static_cast<std::size_t>(place - 1)] >= 0)
            continue;
        slotAtLine[static_cast<std::size_t>(place - 1)] = slot;
        placed[static_cast<std::size_t>(slot)] = true;
    }
    std::vector<std::string> leftOver;
    for (const char* label : kDefaultOrder)
        for (int slot = 0; slot < ExportSlotCount; ++slot)
            if (!placed[static_cast<std::size_t>(slot)] && std::string(label) == kSlotLabels[static_cast<std::size_t>(slot)])
                leftOver.push_back(label);
    std::size_t next = 0;
    ExportLines.clear();
    for (int line = 0; line < ExportSlotCount; ++line) {
        const int slot = slotAtLine[static_cast<std::size_t>(line)];
        if (slot >= 0)
            ExportLines.push_back({kSlotLabels[static_cast<std::size_t>(slot)], slots[static_cast<std::size_t>(slot)] > 0});
        else
            ExportLines.push_back({leftOver[next++], false});
    }
    ExportIndex = 0;
}

bool OptionsDialogModel::MoveExportLine(int delta)
{
    const int target = ExportIndex + delta;
    if (ExportIndex < 0 || ExportIndex >= static_cast<int>(ExportLines.size()) || target < 0 ||
        target >= static_cast<int>(ExportLines.size()))
        return false;
    std::swap(ExportLines[static_cast<std::size_t>(ExportIndex)], ExportLines[static_cast<std::size_t>(target)]);
    ExportIndex = target;
    return true;
}

void OptionsDialogModel::SelectHeaderLine(int line)
{
    if (HeaderLines.empty())
        return;
    HeaderIndex = std::clamp(line, 0, static_cast<int>(HeaderLines.size()) - 1);
    headerEdit_ = HeaderLines[static_cast<std::size_t>(HeaderIndex)];
}

void OptionsDialogModel::MoveHeaderSelection(int delta)
{
    SelectHeaderLine(HeaderIndex < 0 ? 0 : HeaderIndex + delta);
}

void OptionsDialogModel::SetHeaderEditText(const std::string& text)
{
    headerEdit_ = text;
    if (HeaderIndex >= 0 && HeaderIndex < static_cast<int>(HeaderLines.size()))
        HeaderLines[static_cast<std::size_t>(HeaderIndex)] = text;
}

std::string OptionsDialogModel::HeaderProblem(int& badLine) const
{
    // The grid finds a column by its header, so a header must be visible and
    // belong to one column only.
    auto headerOf = [this](int d) -> const std::string& {
        const auto it = std::find(HeaderDescriptors.begin(), HeaderDescriptors.end(), d);
        return it == HeaderDescriptors.end() ? data_.columns[static_cast<std::size_t>(d)].Header
                                             : HeaderLines[static_cast<std::size_t>(it - HeaderDescriptors.begin())];
    };
    // Renamed headers are looked at first: the clash is theirs.
    std::vector<std::size_t> order;
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t line = 0; line < HeaderLines.size(); ++line)
            if ((HeaderLines[line] != data_.columns[static_cast<std::size_t>(HeaderDescriptors[line])].Header) == (pass == 0))
                order.push_back(line);
    for (std::size_t line : order) {
        const std::string& header = HeaderLines[line];
        badLine = static_cast<int>(line);
        if (!HasPrintable(header))
            return Cp1252("Bitte einen Header für \"") + InfoLines[line] + "\" eingeben!";
        for (int d = 0; d < OptionTitleColumns; ++d)
            if (d != HeaderDescriptors[line] && headerOf(d) == header)
                return "Der Header \"" + header + "\" ist schon an \"" +
                       data_.columns[static_cast<std::size_t>(d)].Info + "\" vergeben!";
    }
    badLine = -1;
    return {};
}

bool OptionsDialogModel::Ok(UserInteraction& ui)
{
    TraceScope trace("OptionenForm.OKBtnClick");
    int badLine = -1;
    const std::string problem = HeaderProblem(badLine);
    if (!problem.empty()) {
        SelectHeaderLine(badLine);
        ui.message(MsgKind::Error, problem, Buttons::Ok);
        return false;
    }

    // 1. Check boxes, combo texts, radio choices, spin box and the two edits.
    Settings& s = data_.settings;
    s.OpenFileAtStart = OpenFileAtStart;
    s.SaveDir = SaveDir;
    s.SaveOption = SaveOption;
    s.KuerzelZwang = KuerzelZwang;
    s.DefaultTyp = Preset(DefaultTyp);
    s.DefaultLanguage = Preset(DefaultLanguage);
    s.DefaultOwner = Preset(DefaultOwner);
    s.HistryLgthPrz = std::clamp(HistryLgthPrz, 0, 100);
    s.SortByAE = SortItem == 1;
    s.CaseSensitiveSort = CaseSensitiveSort;
    s.ShowAllMsg = ShowAllMsg;
    s.ShowOnlyFirstLine = ShowOnlyFirstLine;
    s.EditAutoFill = EditAutoFill;
    s.UseMaxColWidth = UseMaxColWidth;
    s.AutoOptColWidth = AutoOptColWidth;
    s.AdjustLabels = AdjustLabels;
    s.VorgegExportAuswahl = VorgegExportAuswahl;
    // An emptied or untouched edit keeps the value in force.
    int32_t number = 0;
    if (SortLengthText != shownSortLength_ && ReadDigits(SortLengthText, number))
        s.SortLength = static_cast<uint8_t>(std::clamp<int32_t>(number, 0, MaxSortLength));
    if (ReadDigits(MaxColWidthText, number))
        s.MaxColWidth = std::clamp<int32_t>(number, MinColWidthLimit, MaxColWidthLimit);

    // 2. The preset lists: the drop-down items and a newly typed preset.
    data_.TypItems = WithTyped(TypItems, s.DefaultTyp);
    data_.SpracheItems = WithTyped(SpracheItems, s.DefaultLanguage);
    data_.BesitzerItems = WithTyped(BesitzerItems, s.DefaultOwner);

    // 3. Column visibility; every width is measured anew.
    for (const ColumnItem& item : ColumnItems) {
        OptionColumn& c = data_.columns[static_cast<std::size_t>(item.Descriptor)];
        c.ShowCol = item.Checked;
        c.WidthOk = -1;
    }
    // 4. Headers; a hidden column loses its width and place.
    for (std::size_t line = 0; line < HeaderDescriptors.size(); ++line) {
        OptionColumn& c = data_.columns[static_cast<std::size_t>(HeaderDescriptors[line])];
        c.Header = HeaderLines[line];
        if (!c.ShowCol) {
            c.Width = -1;
            c.Pos = -1;
        }
    }
    // 5. Picture display.
    s.PicSizeOption = PicSizeOption == 1 ? 1 : 0;
    s.PicAutoShowOption = PicAutoShowOption == 1 ? 1 : 0;
    // 6. Export slots: the 1-based line of the slot's label, negative when unchecked.
    for (int slot = 0; slot < ExportSlotCount; ++slot) {
        int32_t value = 0;
        for (std::size_t line = 0; line < ExportLines.size(); ++line)
            if (ExportLines[line].Label == kSlotLabels[static_cast<std::size_t>(slot)]) {
                value = static_cast<int32_t>(line + 1) * (ExportLines[line].Checked ? 1 : -1);
                break;
            }
        s.ExportPos[static_cast<std::size_t>(slot)] = value;
    }
    return true;
}

} // namespace folianto
