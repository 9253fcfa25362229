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
#include "editor/EditorDesign.h"
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
enum EditModes : int32_t;

// Missing-field flags returned by WriteToStore.
enum MissingField : int { MissingAutor = 1, MissingTitel = 2, MissingKuerzel = 4 };

// Every value the dialog shows.
struct TitleEditorValues {
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

// What the dialog does after its OK button.
enum class OkOutcome { Close, StayOnType, StayOnKuerzel };

class TitleEditorModel {
public:
    explicit TitleEditorModel(Workspace& ws);
    TitleEditorModel(const TitleEditorModel&) = delete;
    TitleEditorModel& operator=(const TitleEditorModel&) = delete;
    // The settings the picture page shows pictures by.
    const Settings& PictureSettings() const;
    // The channel the picture page and the document link ask and report through.
    UserInteraction& Ui() const;
    // The link chosen in a file dialog that starts at `quelle`; nothing on cancel.
    std::optional<std::string> ChooseDocument(const std::string& quelle) const;
    // Starts the document `quelle` names, as a double click on the field does.
    void StartLinkedDocument(const std::string& quelle);

    TitleEditorValues Values;
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

    // Resets the dialog before it is shown for a new title, editing or
    // viewing (`mode`); `gridColumn` is the grid column the user was in, -1 none.
    void InitForm(EditModes mode, int gridColumn);
    // The mode of the last InitForm.
    EditModes Mode() const { return mode_; }
    // Fills the values from Buch[ActBuch]; false (message shown) when there is none.
    bool LoadFromStore();
    // Writes the values into the current title (a new one for new titles and
    // copies) and records the change; returns the MissingField flags.
    int WriteToStore();
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
    // The steps of WriteToStore: the title written to (appended for new
    // titles and copies), its fields, and the search lists it feeds.
    TBuch* TargetTitle(bool append);
    void WriteTextFields(TBuch& b, bool append) const;
    void WriteTypeFields(TBuch& b, bool append);
    void WritePriceAndDate(TBuch& b, bool append) const;
    int MissingFields(const TBuch& b) const;
    void FeedSearchLists(const TBuch& b);

    Workspace& ws_;
    EditModes mode_{}; // EditModeNone until InitForm
    bool kaufdatumProposed_ = false; // the box shows a filled-in date not chosen yet
    // What LoadFromStore found in the fields a type may not show: a type-6 title
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
