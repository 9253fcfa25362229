#pragma once
// The title editor's design: its controls and pages, their captions, hints
// and focus walk, the literature type panels, and the pure rules of its
// fields (key filters, completion, list order, the author box's ticks).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

class SearchList;

// The dialog's controls; ControlName gives each one's object name.
enum class EditControl : int {
    // top and bottom panels
    EditKuerzel, CheckBoxKopieren, OkButton, CancelButton, CheckBoxWiederverwenden,
    // page 1 "Autor / Titel"
    ComboBoxAutor, ComboBoxHerausgeber, TitelEdit, AltTitelEdit, OrgTitelEdit,
    // page 2 "bibliothekarisches"
    RadioGroup_LiteraturTyp, MemoBeschreibung,
    AusgabeEdit, EditionYearEdit, FirstEditionEdit, ComboBoxSerie, BandEdit, ComboBoxVerlag, ComboBoxOrt, ISBN_Edit,
    ComboBoxZeitschrift, EditJahrgang, EditJahr, EditHeftNr,
    EditQuelle, CheckBoxQuelleAlsLinkBenutzen, EditMedium, EditLaenge,
    EditSeiten,
    // page 3 "Schlagworte, Inhalt, Bemerkungen"
    MemoSchlagworte, MemoInhalt, MemoBemerkung, ListBoxAlleSchlagworte, SpeedButtonUebernehmen,
    // page 4 "interne Zuordnung und anderes"
    ComboBoxSprache, ComboBoxTyp, ComboBoxOwner, RadioGroupVerleihstatus, EditVerleihstatus,
    ComboBoxStandort, EditPreis, ComboBoxWaehrung, ComboBoxKategorie, DateTimePickerKaufdatum,
    // page 5 "Bilder"
    ButtonBildHinzufuegen,
    Count
};
constexpr int EditControlCount = static_cast<int>(EditControl::Count);
const char* ControlName(EditControl control);

// Pages, numbered as the dialog shows them (the widget's tab index is one less).
enum EditPage : int { PageNone = 0, PageAutorTitel = 1, PageBibliothek = 2, PageSchlagworte = 3,
                      PageIntern = 4, PageBilder = 5 };

// Literature types (TypNum low bits).
enum LiteraturTyp : int32_t { TypMonographie = 0, TypHochschulschrift = 1, TypSammelwerk = 2,
                              TypSammelwerkbeitrag = 3, TypZeitschriftenaufsatz = 4, TypZeitungsartikel = 5,
                              TypAudiovisuell = 6, TypGraueLiteratur = 7, TypUnklar = 8 };
// The literature type of a stored TypNum: the link bit off, anything outside
// 0..8 counts as "unklar".
int32_t TypOf(int32_t typNum);
// Types that show the book fields (series, edition, years) and the journal fields.
bool IsBookType(int32_t typ);
bool IsJournalType(int32_t typ);

// A single-value choice box: its text and its items (in list order; the box
// shows them in DisplayOrder).
struct ChoiceBox {
    std::string Text;
    std::vector<std::string> Items;
};

// The author or editor box: typed/joined text plus the tick of each item.
struct MultiSelectBox {
    std::string Text;
    std::vector<std::string> Items;
    std::vector<bool> Ticked; // same length as Items
};

// What the literature type panel shows for one type.
struct TypePanel {
    bool Books = false;       // " Bücher "
    bool Journals = false;    // " Zeitschriften o.ä. "
    bool AudioVisual = false; // " Audio-Visuelles Material "
    bool Pages = false;       // the page-count group
    std::string Description;
    std::string SerieLabel;   // "Reihe" or "Art"
    std::string VerlagLabel;  // "Verlag" or "an Uni."
};
TypePanel LiteraturTypPanel(int32_t typ, bool alwaysShowAVM);

// Where the dialog puts the focus after an operation.
struct FocusRequest {
    EditPage Page = PageNone;     // PageNone: keep the page
    std::optional<EditControl> Control;
};

// Key filters of single-line fields. Keys are Windows-1252 characters;
// '\b' is Backspace, '\r' Enter.
enum class KeyVerdict { Accept, Replace, Discard, DiscardBeep };
struct KeyFilterResult {
    KeyVerdict Verdict = KeyVerdict::Accept;
    char Replacement = 0; // with Replace: the character to insert instead
};
// AusgabeEdit, FirstEditionEdit, EditionYearEdit: digits and Backspace.
KeyFilterResult DigitsOnlyKey(char key);
// EditPreis: digits, comma (becomes a point), point, Backspace, Enter; a second
// point beeps. The selection [selStart, selStart+selLength) is what the key replaces.
KeyFilterResult PriceKey(const std::string& text, int selStart, int selLength, char key);

// Type-ahead completion of a combo box: the search list from its last entry to
// its first, the first whose upper-cased text starts with the typed text.
struct Completion {
    std::string Text;     // the box's new text
    int SelStart = 0;     // caret after the typed characters
    int SelLength = 0;    // the completed rest, selected
};
// `selectOnlyAtEnd` (author and editor): the rest is selected only when the
// caret stood at the end. Nothing when no entry matches.
std::optional<Completion> CompleteText(const SearchList& list, const std::string& typed, int caret,
                                       bool selectOnlyAtEnd);

// The order a sorted box or list shows its items in.
std::vector<std::string> DisplayOrder(std::vector<std::string> items);

// Multi-select box helpers: the box text from the ticked items ("a; b;"),
// the ticks from a text, and the prefix search of the pop-up list (-1: none).
std::string JoinTicked(const MultiSelectBox& box);
void TickFromText(MultiSelectBox& box, const std::string& text);
int FindPrefix(const std::vector<std::string>& items, const std::string& prefix);

// Purchase dates as the box shows them ("dd.MM.yyyy"); empty when no date.
std::string KaufdatumText(double days);

// Hints of the controls that have one (empty otherwise); the keyword list
// shows the entry under the pointer instead, when there is one.
const std::string& ControlHint(EditControl control);
std::string KeywordListHint(const std::vector<std::string>& keywords, int indexUnderPointer);

// Enter or Tab (no modifier) left `from`: the page and control the focus
// jumps to, or nothing when it simply moves to the next control.
std::optional<FocusRequest> FocusWalk(EditControl from, EditPage currentPage, int32_t literaturTyp);

// The controls view mode disables (and enables again afterwards).
const std::vector<EditControl>& ViewModeDisabledControls();

// Captions as the dialog is designed (Windows-1252).
std::array<std::string, EditControlCount> DesignLabels();
// The editor control whose caption a column descriptor's header replaces
// when the labels follow the grid headers.
struct HeaderLabel {
    int descriptor;
    EditControl control;
};
const std::vector<HeaderLabel>& HeaderLabels();

} // namespace folianto
