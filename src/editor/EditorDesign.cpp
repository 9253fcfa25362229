#include "editor/EditorDesign.h"

#include "core/Buch.h"
#include "core/Codec.h"
#include "core/Text.h"
#include "workspace/Lists.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace folianto {
namespace {

using C = EditControl;

constexpr std::size_t Idx(EditControl c) { return static_cast<std::size_t>(c); }

// Sort key of a display text: a..z as A..Z, umlauts and ß beside their base letters.
std::string DisplayKey(const std::string& s)
{
    std::string k;
    k.reserve(s.size());
    for (unsigned char c : s) {
        switch (c) {
        case 0xC4: case 0xE4: k += 'A'; break;
        case 0xD6: case 0xF6: k += 'O'; break;
        case 0xDC: case 0xFC: k += 'U'; break;
        case 0xDF: k += "SS"; break;
        default: k += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
    }
    return k;
}

const char* const kControlNames[EditControlCount] = {
    "EditKuerzel", "CheckBoxKopieren", "OkButton", "CancelButton", "CheckBoxWiederverwenden",
    "ComboBoxAutor", "ComboBoxHerausgeber", "TitelEdit", "AltTitelEdit", "OrgTitelEdit",
    "RadioGroup_LiteraturTyp", "MemoBeschreibung",
    "AusgabeEdit", "EditionYearEdit", "FirstEditionEdit", "ComboBoxSerie", "BandEdit", "ComboBoxVerlag", "ComboBoxOrt",
    "ISBN_Edit",
    "ComboBoxZeitschrift", "EditJahrgang", "EditJahr", "EditHeftNr",
    "EditQuelle", "CheckBoxQuelleAlsLinkBenutzen", "EditMedium", "EditLaenge",
    "EditSeiten",
    "MemoSchlagworte", "MemoInhalt", "MemoBemerkung", "ListBoxAlleSchlagworte", "SpeedButtonUebernehmen",
    "ComboBoxSprache", "ComboBoxTyp", "ComboBoxOwner", "RadioGroupVerleihstatus", "EditVerleihstatus",
    "ComboBoxStandort", "EditPreis", "ComboBoxWaehrung", "ComboBoxKategorie", "DateTimePickerKaufdatum",
    "ButtonBildHinzufuegen",
};

} // namespace

const char* ControlName(EditControl control)
{
    const int i = static_cast<int>(control);
    return i >= 0 && i < EditControlCount ? kControlNames[i] : "";
}

TypePanel LiteraturTypPanel(int32_t typ, bool alwaysShowAVM)
{
    TypePanel p;
    p.AudioVisual = alwaysShowAVM;
    p.SerieLabel = "Reihe";
    p.VerlagLabel = "Verlag";
    const auto books = [&p] { p.Pages = p.Books = true; };
    switch (typ) {
    case TypMonographie:
        books();
        p.Description = Cp1252("Selbständige Veröffentlichung (Buch, Broschüre) eines Autors/Autorenteams.");
        break;
    case TypHochschulschrift:
        books();
        p.Description = Cp1252("Dissertation/Habilitation (auch Diplom- oder MA-Arbeiten), die nicht in einem "
                               "Verlag veröffentlicht wurde und nicht über den Buchhandel zu beziehen ist.");
        p.SerieLabel = "Art";
        p.VerlagLabel = "an Uni.";
        break;
    case TypSammelwerk:
        books();
        p.Description = Cp1252("Buch (auch Lexikon) mit einzelnen (gesonderten) Beiträgen verschiedener Autoren, "
                               "das in der Regel von einem Herausgeber editiert wurde\r\nACHTUNG: Bücher, die einem "
                               "einzigen (!) Autor/enteam stammen und sich \"Handbuch ...\" nennen, gehören trotz "
                               "ihres Titels zur Gattung \"Monographie\"");
        break;
    case TypSammelwerkbeitrag:
        books();
        p.Description = "Einzelbeitrag eines Autor/Autorenteams aus einem Sammelwerk/Handwerk";
        break;
    case TypZeitschriftenaufsatz:
        p.Pages = p.Journals = true;
        p.Description = "Aufsatz eines Autors oder Autorenteams in einer wissenschaftlichen Zeitung";
        break;
    case TypZeitungsartikel:
        p.Pages = p.Journals = true;
        p.Description = Cp1252("Artikel aus Tages- oder Wochenzeitung, Nachrichtenmagazin, o.ä.");
        break;
    case TypAudiovisuell:
        p.AudioVisual = true;
        p.Description = Cp1252("Film, Videotape, Audiocassette, Computerprogramm, Web-Seite o.ä.");
        break;
    case TypGraueLiteratur:
        books();
        p.Description = Cp1252("Bücher oder Broschüren, die im Privatdruck erschienen und nicht über den "
                               "Buchhandel zu beziehen sind (z.B. Veröffentlichungen von Verbänden, Ministerien, "
                               "o.ä.)");
        break;
    case TypUnklar:
        p.Pages = p.Books = p.Journals = p.AudioVisual = true;
        p.Description = Cp1252("Zwischenlösung bis zur endgültigen Zuordnung");
        break;
    default:
        break;
    }
    return p;
}

KeyFilterResult DigitsOnlyKey(char key)
{
    if ((key >= '0' && key <= '9') || key == '\b')
        return {};
    return {KeyVerdict::Discard};
}

KeyFilterResult PriceKey(const std::string& text, int selStart, int selLength, char key)
{
    if ((key >= '0' && key <= '9') || key == '\b' || key == '\r')
        return {};
    if (key != ',' && key != '.')
        return {KeyVerdict::Discard};
    // The point the key would add must be the only one left.
    const auto size = static_cast<int>(text.size());
    const int from = std::clamp(selStart, 0, size);
    const int to = std::clamp(selStart + std::max(selLength, 0), from, size);
    const std::string rest = text.substr(0, static_cast<std::size_t>(from)) + text.substr(static_cast<std::size_t>(to));
    if (rest.find('.') != std::string::npos)
        return {KeyVerdict::DiscardBeep};
    return key == ',' ? KeyFilterResult{KeyVerdict::Replace, '.'} : KeyFilterResult{};
}

std::optional<Completion> CompleteText(const SearchList& list, const std::string& typed, int caret,
                                       bool selectOnlyAtEnd)
{
    if (typed.empty())
        return std::nullopt;
    const std::string prefix = UpperAscii(typed);
    for (auto it = list.entries.rbegin(); it != list.entries.rend(); ++it) {
        const std::string& text = it->Text;
        if (text.size() < prefix.size() || UpperAscii(text.substr(0, prefix.size())) != prefix)
            continue;
        Completion c;
        c.Text = text;
        const int typedLen = static_cast<int>(typed.size());
        if (selectOnlyAtEnd && caret < typedLen) {
            c.SelStart = std::max(caret, 0);
        } else {
            c.SelStart = typedLen;
            c.SelLength = static_cast<int>(text.size()) - typedLen;
        }
        return c;
    }
    return std::nullopt;
}

std::vector<std::string> DisplayOrder(std::vector<std::string> items)
{
    std::vector<std::pair<std::string, std::size_t>> keyed;
    keyed.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        keyed.emplace_back(DisplayKey(items[i]), i);
    std::sort(keyed.begin(), keyed.end(), [&items](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        return items[a.second] < items[b.second];
    });
    std::vector<std::string> out;
    out.reserve(items.size());
    for (const auto& k : keyed)
        out.push_back(std::move(items[k.second]));
    return out;
}

std::string JoinTicked(const MultiSelectBox& box)
{
    std::string text;
    for (std::size_t i = 0; i < box.Items.size() && i < box.Ticked.size(); ++i)
        if (box.Ticked[i])
            text += StripBlanks(box.Items[i]) + "; ";
    if (!text.empty())
        text.pop_back();
    return text;
}

void TickFromText(MultiSelectBox& box, const std::string& text)
{
    std::unordered_set<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(FindListSeparator(text, start), text.size());
        parts.insert(UpperAscii(StripBlanks(text.substr(start, end - start))));
        start = end + 1;
    }
    box.Ticked.assign(box.Items.size(), false);
    for (std::size_t i = 0; i < box.Items.size(); ++i)
        box.Ticked[i] = parts.count(UpperAscii(box.Items[i])) > 0;
}

int FindPrefix(const std::vector<std::string>& items, const std::string& prefix)
{
    const std::string p = UpperAscii(prefix);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].size() >= p.size() && UpperAscii(items[i].substr(0, p.size())) == p)
            return static_cast<int>(i);
    return -1;
}

std::string KaufdatumText(double days)
{
    if (!(std::fabs(days) < 1e9))
        return {};
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(days)));
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")).toStdString() : std::string();
}

const std::string& ControlHint(EditControl control)
{
    static const std::string none;
    static const std::string kopieren = Cp1252(
        "erstellt einen weiteren Eintrag bzw. Titel\r\n\r\nWICHTIG: das neue Kürzel MUSS eingegeben sein\r\n\r\n"
        "Möglicher Grund für eine Deaktivierung:\r\n * der Titel wird nicht bearbeitet, sondern neu erstellt");
    static const std::string kaufdatum = Cp1252("Kaufdatum des Titels (ENTF und <- löschen die Eingabe)");
    static const std::string alle = "alle bisher verwendeten Schlagworte";
    static const std::string uebernehmen = Cp1252("markiertes Schlagwort übernehmen");
    switch (control) {
    case C::CheckBoxKopieren: return kopieren;
    case C::DateTimePickerKaufdatum: return kaufdatum;
    case C::ListBoxAlleSchlagworte: return alle;
    case C::SpeedButtonUebernehmen: return uebernehmen;
    default: return none;
    }
}

std::string KeywordListHint(const std::vector<std::string>& keywords, int indexUnderPointer)
{
    if (indexUnderPointer >= 0 && indexUnderPointer < static_cast<int>(keywords.size()))
        return keywords[static_cast<std::size_t>(indexUnderPointer)];
    return ControlHint(C::ListBoxAlleSchlagworte);
}

std::optional<FocusRequest> FocusWalk(EditControl from, EditPage currentPage, int32_t literaturTyp)
{
    const int32_t typ = TypOf(literaturTyp);
    switch (from) {
    case C::EditKuerzel:
        switch (currentPage) {
        case PageAutorTitel: return FocusRequest{PageAutorTitel, C::ComboBoxAutor};
        case PageBibliothek: return FocusRequest{PageBibliothek, C::RadioGroup_LiteraturTyp};
        case PageSchlagworte: return FocusRequest{PageSchlagworte, C::MemoSchlagworte};
        case PageIntern: return FocusRequest{PageIntern, C::ComboBoxTyp};
        case PageBilder: return FocusRequest{PageBilder, C::ButtonBildHinzufuegen};
        default: return std::nullopt;
        }
    case C::OrgTitelEdit:
        if (IsJournalType(typ))
            return FocusRequest{PageBibliothek, C::ComboBoxZeitschrift};
        return FocusRequest{PageBibliothek, typ == TypAudiovisuell ? C::EditQuelle : C::AusgabeEdit};
    case C::EditSeiten:
        if (typ == TypAudiovisuell || typ == TypUnklar)
            return std::nullopt;
        return FocusRequest{PageSchlagworte, C::MemoSchlagworte};
    case C::EditLaenge:
        if (typ != TypAudiovisuell && typ != TypUnklar)
            return std::nullopt;
        return FocusRequest{PageSchlagworte, C::MemoSchlagworte};
    case C::MemoBemerkung: return FocusRequest{PageIntern, C::ComboBoxTyp};
    case C::DateTimePickerKaufdatum: return FocusRequest{PageBilder, C::ButtonBildHinzufuegen};
    default: return std::nullopt;
    }
}

const std::vector<EditControl>& ViewModeDisabledControls()
{
    static const std::vector<EditControl> controls = {
        C::OkButton, C::EditKuerzel, C::MemoBeschreibung, C::RadioGroup_LiteraturTyp, C::ComboBoxAutor,
        C::ComboBoxHerausgeber, C::TitelEdit, C::OrgTitelEdit, C::AltTitelEdit, C::ComboBoxZeitschrift,
        C::EditJahrgang, C::EditHeftNr, C::EditJahr, C::ISBN_Edit, C::ComboBoxVerlag, C::ComboBoxOrt, C::ComboBoxSerie,
        C::EditQuelle, C::EditMedium, C::EditLaenge, C::EditSeiten, C::AusgabeEdit, C::FirstEditionEdit,
        C::BandEdit, C::EditionYearEdit, C::ComboBoxSprache, C::ComboBoxTyp, C::ComboBoxOwner,
        C::RadioGroupVerleihstatus, C::EditVerleihstatus, C::ComboBoxStandort, C::EditPreis,
        C::ComboBoxWaehrung, C::ComboBoxKategorie, C::ListBoxAlleSchlagworte, C::MemoSchlagworte,
        C::MemoInhalt, C::MemoBemerkung, C::SpeedButtonUebernehmen,
        C::ButtonBildHinzufuegen, // with it every control that changes the pictures
    };
    return controls;
}

bool IsBookType(int32_t typ) { return typ <= 3 || typ == TypGraueLiteratur || typ == TypUnklar; }
bool IsJournalType(int32_t typ) { return typ == TypZeitschriftenaufsatz || typ == TypZeitungsartikel; }

int32_t TypOf(int32_t typNum)
{
    const int32_t typ = typNum & ~LinkFlag;
    return typ >= 0 && typ < TypCount ? typ : TypUnklar;
}

std::array<std::string, EditControlCount> DesignLabels()
{
    std::array<std::string, EditControlCount> l;
    const auto set = [&l](C c, const char* utf8) { l[Idx(c)] = Cp1252(utf8); };
    set(C::EditKuerzel, " Kürzel ");
    set(C::CheckBoxKopieren, "Eintrag kopieren unter neuem Kürzel");
    set(C::OkButton, "Angaben in die Datenbank über&nehmen");
    set(C::CancelButton, "&Abbrechen");
    set(C::CheckBoxWiederverwenden, "Einstellungen vom letzten Titel wieder verwenden");
    set(C::ComboBoxAutor, "Autor:");
    set(C::ComboBoxHerausgeber, "Herausgeber:");
    set(C::TitelEdit, "Titel:");
    set(C::AltTitelEdit, "Untertitel:");
    set(C::OrgTitelEdit, "Original-Titel:");
    set(C::RadioGroup_LiteraturTyp, " Literatur-Typ ");
    set(C::AusgabeEdit, "Auflage:");
    set(C::EditionYearEdit, "aus dem Jahr:");
    set(C::FirstEditionEdit, "1. Auflage aus dem Jahr:");
    set(C::ComboBoxSerie, "Reihe:");
    set(C::BandEdit, "Band:");
    set(C::ComboBoxVerlag, "Verlag:");
    set(C::ComboBoxOrt, "Ort:");
    set(C::ISBN_Edit, "ISBN:");
    set(C::ComboBoxZeitschrift, "Zeitschrift:");
    set(C::EditJahrgang, "Jahrgang:");
    set(C::EditJahr, "Jahr:");
    set(C::EditHeftNr, "Heft-Nr.:");
    set(C::EditQuelle, "Quelle: ");
    set(C::CheckBoxQuelleAlsLinkBenutzen, "als Link benutzen");
    set(C::EditMedium, "Medium: ");
    set(C::EditLaenge, "Länge / Größe: ");
    set(C::EditSeiten, "Seite(n):");
    set(C::MemoSchlagworte, "Schlagworte:");
    set(C::MemoInhalt, "Inhalt:");
    set(C::MemoBemerkung, "Bemerkung:");
    set(C::ComboBoxSprache, "Sprache:");
    set(C::ComboBoxTyp, "Typ (2):");
    set(C::ComboBoxOwner, "Eigentümer:");
    set(C::RadioGroupVerleihstatus, " Verleihstatus ");
    set(C::ComboBoxStandort, "Standort: ");
    set(C::EditPreis, "Preis:");
    set(C::ComboBoxKategorie, "Kategorie:");
    set(C::DateTimePickerKaufdatum, "Kaufdatum:");
    set(C::ButtonBildHinzufuegen, "Bild &hinzufügen");
    return l;
}

const std::vector<HeaderLabel>& HeaderLabels()
{
    static const std::vector<HeaderLabel> labels = {
        {0, C::EditKuerzel}, {1, C::TitelEdit}, {2, C::ComboBoxAutor}, {3, C::ComboBoxKategorie},
        {4, C::ComboBoxSprache}, {5, C::RadioGroup_LiteraturTyp}, {6, C::ComboBoxTyp}, {7, C::ComboBoxSerie},
        {8, C::AusgabeEdit}, {9, C::FirstEditionEdit}, {10, C::ComboBoxVerlag}, {11, C::MemoInhalt},
        {12, C::MemoBemerkung}, {13, C::MemoSchlagworte}, {14, C::ComboBoxStandort}, {15, C::EditPreis},
        {16, C::RadioGroupVerleihstatus}, {17, C::AltTitelEdit}, {19, C::BandEdit}, {20, C::ComboBoxOwner},
        {21, C::EditHeftNr}, {22, C::ComboBoxHerausgeber}, {23, C::ISBN_Edit}, {24, C::EditJahr},
        {24, C::EditionYearEdit}, {25, C::EditJahrgang}, {26, C::DateTimePickerKaufdatum}, {27, C::EditLaenge},
        {28, C::EditMedium}, {29, C::OrgTitelEdit}, {30, C::ComboBoxOrt}, {31, C::EditQuelle}, {32, C::EditSeiten},
        {33, C::CheckBoxQuelleAlsLinkBenutzen},
    };
    return labels;
}

} // namespace folianto
