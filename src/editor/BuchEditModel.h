#pragma once
// The title editor as a plain value model: every control of the dialog is a
// value here, and every rule the dialog follows is an operation on them.
//
// How a widget uses it: before an action (OK, leaving a field, a click that
// runs a rule) the widget writes the values of its controls into `Values`;
// it calls the operation; afterwards it reads everything back (texts, ticks,
// item lists, labels, the type panel, enabled controls) and moves the focus
// to `Focus` when that is set. One model exists for the whole run; the dialog
// holds a reference to it, the title commands drive it.

#include "core/Buch.h"
#include "editor/PictureSlots.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

struct Settings;
class UserInteraction;
struct Workspace;
class ColumnModel;
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

// Missing-field flags returned by SetValues.
enum MissingField : int { MissingAutor = 1, MissingTitel = 2, MissingKuerzel = 4 };

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

// Every value the dialog shows.
struct BuchEditValues {
    std::string Kuerzel;
    bool Kopieren = false;        // "Eintrag kopieren unter neuem Kürzel"
    bool KopierenEnabled = false;
    bool Wiederverwenden = false; // "Einstellungen vom letzten Titel wieder verwenden"

    MultiSelectBox Autor, Herausgeber;
    std::string Titel, AltTitel, OrigTitel;

    int32_t LiteraturTyp = TypUnklar; // radio index 0..8
    std::string Ausgabe, EditionYear, FirstEdition, Band, ISBN;
    ChoiceBox Serie, Verlag, Ort, Zeitschrift;
    std::string Jahrgang, Jahr, HeftNr;
    std::string Quelle, Medium, Laenge, Seiten;
    bool QuelleAlsLink = false;

    std::string Schlagworte, Inhalt, Bemerkung;
    std::vector<std::string> AlleSchlagworte; // sorted (DisplayOrder)
    int AlleSchlagworteSelected = -1;         // index into AlleSchlagworte, -1 = none
    bool UebernehmenEnabled = false;

    ChoiceBox Sprache, Typ, Owner, Standort, Kategorie;
    int32_t Verleihstatus = 0;   // radio index 0..3
    std::string VerliehenAn;
    std::string VerleihstatusLabel; // label beside EditVerleihstatus
    bool VerliehenAnVisible = false;
    std::string Preis;
    ChoiceBox Waehrung;           // at most 4 characters typed
    std::optional<double> Kaufdatum; // day count since 30.12.1899; nothing = blank box
};

// Where the dialog puts the focus after an operation.
struct FocusRequest {
    EditPage Page = PageNone;     // PageNone: keep the page
    std::optional<EditControl> Control;
};

// What the dialog does after its OK button.
enum class OkOutcome { Close, StayOnType, StayOnKuerzel };

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

class BuchEditModel {
public:
    explicit BuchEditModel(Workspace& ws);
    BuchEditModel(const BuchEditModel&) = delete;
    BuchEditModel& operator=(const BuchEditModel&) = delete;
    // The settings the picture page shows pictures by.
    const Settings& PictureSettings() const;
    // The channel the picture page and the document link ask and report through.
    UserInteraction& Ui() const;
    // The link chosen in a file dialog that starts at `quelle`; nothing on cancel.
    std::optional<std::string> ChooseDocument(const std::string& quelle) const;
    // Starts the document `quelle` names, as a double click on the field does.
    void StartLinkedDocument(const std::string& quelle);

    BuchEditValues Values;
    std::string Caption;
    FocusRequest Focus;                 // set by operations; the widget applies and clears it
    std::vector<EditControl> Disabled;  // controls currently disabled (view mode)
    bool IsDisabled(EditControl control) const;

    // Labels of the controls (group captions for groups, the check box's
    // caption for the link box); empty for controls without one.
    std::array<std::string, EditControlCount> Labels;
    const std::string& Label(EditControl control) const;
    TypePanel Panel;                    // the literature type panel in force

    // Dialog state beside the controls.
    TBuch OldBuch;
    // Page 5: the picture tabs with PicsChanged, PicTitlesChanged and PicFileSizes.
    PictureSlots Pictures;
    bool NoAutoComplete = false;

    // Resets the dialog before it is shown; `gridColumn` is the grid column
    // the user was in, -1 none.
    void InitForm(int gridColumn);
    // Fills the values from Buch[ActBuch]; false (message shown) when there is none.
    bool GetValues();
    // Writes the values into the current title (a new one for new titles and
    // copies); returns the MissingField flags.
    int SetValues();
    // "Angaben in die Datenbank übernehmen".
    OkOutcome OkClicked();
    // The short-key test of this dialog: the title being edited in place does
    // not count against its own key.
    bool KuerzelIsUnique(const std::string& key) const;

    void FillComboBoxes();
    void Fill_Waehrungen();
    // Applies the literature type panel for Values.LiteraturTyp.
    void ApplyTypePanel();
    // Header texts of the column model as labels, when AdjustLabels is on.
    void AdjustLabelsFromHeaders(const ColumnModel& columns);

    // Leaving the short key; `cancelling` when the dialog is being cancelled
    // (cancel result or the pointer on the cancel button). False when the key
    // was refused (message shown, Focus on the short key).
    bool LeaveKuerzel(bool cancelling);
    // The reuse box was ticked or unticked.
    void SetWiederverwenden(bool ticked);
    // The literature type radio was clicked.
    void SetLiteraturTyp(int32_t typ);
    // The lending-state radio was clicked.
    void SetVerleihstatus(int32_t index);

    // A key reached the dialog: Backspace, Delete and Clear stop completion
    // until another key is pressed.
    void NoteKey(bool deletingKey) { NoAutoComplete = deletingKey; }
    // The text of `box` changed to `typed` with the caret at `caret`; nothing
    // when the text stays as typed.
    std::optional<Completion> TypeAhead(EditControl box, const std::string& typed, int caret);
    // Leaving one of the eight single-value boxes: its search list is rebuilt
    // from the box's items. Leaving the author or editor box: trailing blanks
    // and one trailing semicolon go.
    void LeaveChoiceBox(EditControl box);

    // Typing in the keyword memo selects the matching keyword of the list.
    void SchlagworteTyped();
    // A click in the keyword list selected `index`.
    void SelectKeyword(int index);
    // The take-over button, a double click or Enter in the keyword list.
    void TakeOverKeyword();
    // Leaving the keyword memo; false when the keywords break the conventions
    // (message shown, Focus on the memo).
    bool LeaveSchlagworte();

    // Purchase date box: entered, cleared (Delete/Backspace), a date chosen, left.
    // `today` is today's day count.
    void EnterKaufdatum(double today);
    void ClearKaufdatum();
    void ChooseKaufdatum(double day);
    void LeaveKaufdatum();

    // The choice box of `control`; nullptr for other controls.
    ChoiceBox* ChoiceBoxOf(EditControl control);
    MultiSelectBox* MultiSelectOf(EditControl control);
    SearchList* SearchListOf(EditControl control);

private:
    Workspace& ws_;
    bool kaufdatumProposed_ = false; // the box shows a filled-in date not chosen yet
    // What GetValues found in the fields a type may not show: a type-6 title
    // keeps them (a copy takes them from its source), and an untouched journal
    // year box keeps the stored year text behind the number it shows.
    struct ShownFields {
        TBuchRec Reihe, Jahr;
        int32_t JahrNum = 0, Auflage = 0;
        std::optional<std::string> JournalYearShown;
    };
    std::optional<ShownFields> shown_;
    std::array<std::string, EditControlCount> designLabels_;
};

} // namespace folianto
