#include "editor/TitleEditorModel.h"

#include "core/ErrorText.h"
#include "selection/SearchLists.h"
#include "support/Fakes.h"

#include <limits>

using namespace folianto;
using folianto::test::TestApp;
using C = EditControl;

namespace {

// An application with a title editor, both fresh.
struct Editor {
    TestApp t;
    TitleEditorModel m{t.app};
    App& app = t.app;
    TitleEditorValues& v = m.Values;

    TBuch& Add(const std::string& kuerzel, const std::string& titel = "Titel", const std::string& autor = "Autor")
    {
        EXPECT_TRUE(app.store.NewBuch());
        TBuch& b = *app.store.at(app.store.AnzBuch);
        b.Kuerzel.Text = kuerzel;
        b.Titel.Text = titel;
        b.Autor.Text = autor;
        b.TypNum = 0;
        return b;
    }
    // Opens title `index` as the edit command does.
    void Open(int32_t index, EditModes mode = EditModeEdit)
    {
        app.store.ActBuch = index;
        app.store.MarkSaved(); // as after loading
        m.InitForm(mode, -1);
        ASSERT_TRUE(m.LoadFromStore());
    }
    // A new-title form.
    void OpenNew()
    {
        m.InitForm(EditModeNew, -1);
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> out;
        for (const auto& msg : t.ui.messages)
            out.push_back(msg.text);
        return out;
    }
};

// A title with series, year, first edition and edition filled.
void MakeTitled(TBuch& b, int32_t typNum)
{
    b.TypNum = typNum;
    b.Reihe.Text = "Reihe";
    b.Jahr.Text = "1999";
    b.JahrNum = 1987;
    b.Auflage = 3;
}

} // namespace

// Which controls show series, year, first edition and edition, and which
// ones are written back, per literature type; a type-6 title keeps them.
TEST(TitleEditorModel, SeriesAndYearsFollowTheType)
{
    struct Case {
        std::vector<int32_t> types;
        const char *serie, *editionYear, *firstEdition, *ausgabe; // book controls shown
        const char *zeitschrift, *jahr, *jahrgang;                 // journal controls shown
        const char *storedReihe, *storedJahr;                      // after the edit
        int32_t storedJahrNum, storedAuflage;
    };
    const Case cases[] = {
        {{0, 1, 3, 7, 8}, "Reihe", "1999", "1987", "3", "", "", "", "Buchreihe", "2001", 1950, 5},
        {{4, 5}, "", "", "", "", "Reihe", "1987", "3", "Blatt", "2010", 2010, 2},
        {{6}, "", "", "", "", "", "", "", "Reihe", "1999", 1987, 3},
    };
    for (const Case& c : cases)
        for (const int32_t typ : c.types) {
            SCOPED_TRACE(typ);
            Editor e;
            MakeTitled(e.Add("K1"), typ);
            e.Open(1);
            EXPECT_EQ(std::tuple(e.v.LiteraturTyp, e.v.Serie.Text, e.v.EditionYear, e.v.FirstEdition, e.v.Ausgabe,
                                 e.v.Zeitschrift.Text, e.v.Jahr, e.v.Jahrgang),
                      std::tuple(typ, c.serie, c.editionYear, c.firstEdition, c.ausgabe, c.zeitschrift, c.jahr, c.jahrgang));
            // A copy carries the fields its type does not show, as an edit keeps them.
            e.v.Kopieren = true;
            e.v.Kuerzel = "K2";
            e.m.WriteToStore();
            ASSERT_EQ(e.app.store.AnzBuch, 2);
            const TBuch& copy = *e.app.store.at(2);
            EXPECT_EQ(std::tuple(copy.Reihe.Text, copy.Jahr.Text, copy.JahrNum, copy.Auflage),
                      std::tuple("Reihe", "1999", 1987, 3));

            // The user fills both groups; only the type's group is stored.
            e.Open(1);
            e.v.Serie.Text = "Buchreihe";
            e.v.EditionYear = "2001";
            e.v.FirstEdition = "1950";
            e.v.Ausgabe = "5";
            e.v.Zeitschrift.Text = "Blatt";
            e.v.Jahr = "2010";
            e.v.Jahrgang = "2,7";
            e.m.WriteToStore();
            const TBuch& b = *e.app.store.at(1);
            EXPECT_EQ(std::tuple(b.Reihe.Text, b.Jahr.Text, b.JahrNum, b.Auflage, b.TypNum),
                      std::tuple(c.storedReihe, c.storedJahr, c.storedJahrNum, c.storedAuflage, typ));
        }
}

// Values at the edges as the editor shows them, and what an OK that changes
// nothing leaves: the title and Gesichert as they were, also for values the
// dialog does not show (every value of a generated catalogue is in the
// editor's approved file).
TEST(TitleEditorModel, ShownValuesAndOnlyAChangeMarksTheTitleUnsaved)
{
    using Shown = bool (*)(const TitleEditorValues&);
    const Shown noPrice = [](const TitleEditorValues& v) { return v.Preis.empty(); };
    const Shown any = [](const TitleEditorValues&) { return true; };
    const Shown unclear = [](const TitleEditorValues& v) { return v.LiteraturTyp == TypUnklar; };
    struct Case {
        const char* what;
        void (*set)(TBuch&);
        Shown check;
        bool kept; // an OK without edits keeps every value
    };
    const Case cases[] = {
        {"price 0 shows empty", [](TBuch& b) { b.Preis = 0; }, noPrice, true},
        {"price below a cent", [](TBuch& b) { b.Preis = 0.004f; }, noPrice, true},
        {"infinite price", [](TBuch& b) { b.Preis = INFINITY; }, noPrice, false},
        {"HeftNr 0 hidden", [](TBuch& b) { b.HeftNr.Text = "0"; },
         [](const TitleEditorValues& v) { return v.HeftNr.empty(); }, true},
        {"no purchase date", [](TBuch& b) { b.Kaufdatum = 0.5; }, [](const TitleEditorValues& v) { return !v.Kaufdatum; },
         true},
        {"type out of range", [](TBuch& b) { b.TypNum = 42; },
         [](const TitleEditorValues& v) { return v.LiteraturTyp == TypUnklar && !v.QuelleAlsLink; }, false},
        {"negative type", [](TBuch& b) { b.TypNum = -5; }, unclear, false},
        {"type just past the known ones", [](TBuch& b) { MakeTitled(b, TypCount); }, unclear, false},
        {"lending state out of range", [](TBuch& b) { b.Verleihstatus = 9; },
         [](const TitleEditorValues& v) { return v.Verleihstatus == 0 && !v.VerliehenAnVisible; }, false},
        {"authors ticked", [](TBuch& b) { b.Autor.Text = "eco, umberto ;Kafka, Franz"; },
         [](const TitleEditorValues& v) { return v.Autor.Ticked == std::vector<bool>{true, false, true}; }, true},
        {"book", [](TBuch& b) { MakeTitled(b, 0); }, any, true},
        {"journal as link", [](TBuch& b) { MakeTitled(b, 4 | LinkFlag); }, any, true},
        {"type 6", [](TBuch& b) { MakeTitled(b, 6); }, any, true},
        {"negative numbers", [](TBuch& b) { b.Auflage = -1; b.JahrNum = -1; b.Preis = -1.0f; b.HeftNr.Text = "0"; }, any,
         true},
        {"zeros, half a cent", [](TBuch& b) { b.Auflage = 0; b.JahrNum = 0; b.Preis = 0.005f; }, noPrice, true},
        {"price and date", [](TBuch& b) { b.Preis = 12.5f; b.Kaufdatum = 45000.75; b.Waehrung.Text = "DM"; }, any, true},
        {"lent", [](TBuch& b) { b.Kaufdatum = 0.5; b.Verleihstatus = 2; b.VerliehenAn.Text = "Bibliothek"; }, any, true},
        {"lists and pictures",
         [](TBuch& b) { b.Autor.Text = "A; B"; b.Schlagworte.Text = "x; y"; b.Pics.resize(2); b.AnzPics = 2; }, any, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Editor e;
        for (const char* a : {"Eco, Umberto", "Mann, Thomas", "Kafka, Franz"})
            e.app.lists.AutorSearchList.AddEntry(a);
        c.set(e.Add("K1"));
        e.app.store.UpdateBuchLengths(1);
        const TBuch before = *e.app.store.at(1);
        e.Open(1);
        EXPECT_TRUE(c.check(e.v));
        if (!c.kept)
            continue;
        EXPECT_EQ(e.m.OkClicked(), OkOutcome::Close);
        EXPECT_TRUE(e.app.store.Gesichert());
        const TBuch& after = *e.app.store.at(1);
        for (int f = 1; f <= TextFieldCount; ++f)
            EXPECT_EQ(after.TextField(f).Text, before.TextField(f).Text) << TextFieldNames[f - 1];
        const auto numbers = [](const TBuch& b) {
            return std::tuple(b.Auflage, b.JahrNum, b.Preis, b.Kaufdatum, b.TypNum, b.AnzPics, b.Pics.size());
        };
        EXPECT_EQ(numbers(after), numbers(before));
    }
    // Any change marks the title unsaved; a type past the known ones is stored as unclear.
    struct Edit {
        void (*edit)(TitleEditorModel&);
        int32_t typNum;
    };
    const Edit edits[] = {
        {[](TitleEditorModel& m) { m.Values.Titel += "!"; }, 0},
        {[](TitleEditorModel& m) { m.Values.Preis = "1.5"; }, 0},
        {[](TitleEditorModel& m) { m.Values.QuelleAlsLink = true; }, LinkFlag},
        {[](TitleEditorModel& m) { m.ClearKaufdatum(); }, 0},
        {[](TitleEditorModel& m) { m.Pictures.PicTitlesChanged = true; }, 0},
        {[](TitleEditorModel& m) { m.Pictures.PicsChanged = true; }, 0},
        {[](TitleEditorModel& m) { m.Values.LiteraturTyp = 12; }, TypUnklar},
        {[](TitleEditorModel& m) { m.Values.Verleihstatus = 2; }, 0},
    };
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        SCOPED_TRACE(i);
        Editor e;
        e.Add("K1").Kaufdatum = 45000;
        e.Open(1);
        edits[i].edit(e.m);
        e.m.WriteToStore();
        EXPECT_EQ(std::tuple(e.app.store.Gesichert(), e.app.store.at(1)->TypNum), std::tuple(false, edits[i].typNum));
    }
}

// Numbers and prices as typed, and input no field can hold.
TEST(TitleEditorModel, NumbersAndPricesRead)
{
    struct Case {
        const char *ausgabe, *firstEdition, *preis;
        int32_t auflage, jahrNum;
        float price;
    };
    const Case cases[] = {
        {"2", "1987", "12,5", 2, 1987, 12.5f},
        {"2,7", " 19 87 ", "3.", 2, 1987, 3.0f},
        {"-3.9", "abc", "x", -3, 0, 0.0f},
        {"99999999999", "1e12", "1e40", 0, 0, 0.0f},
        {"", "", "", 0, 0, 0.0f},
        {"7", "2000", "1e38", 7, 2000, 1e38f},
        {"7", "2000", "3.4028234663852886e38", 7, 2000, std::numeric_limits<float>::max()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ausgabe);
        Editor e;
        e.OpenNew();
        e.v.Kuerzel = "K";
        e.v.LiteraturTyp = 0;
        e.v.Ausgabe = c.ausgabe;
        e.v.FirstEdition = c.firstEdition;
        e.v.Preis = c.preis;
        e.m.WriteToStore();
        const TBuch& b = *e.app.store.current();
        EXPECT_EQ(std::tuple(b.Auflage, b.JahrNum, b.Preis), std::tuple(c.auflage, c.jahrNum, c.price));
    }
}

TEST(TitleEditorModel, HugeMemoIsStoredWhole)
{
    Editor e;
    e.Add("K1").Bemerkung.Text = "alt";
    e.Open(1);
    const std::string huge(1000000, 'x');
    e.v.Inhalt = huge;
    e.m.WriteToStore();
    const TBuch& b = *e.app.store.at(1);
    EXPECT_EQ(std::tuple(b.Inhalt.Text, b.Inhalt.Len, b.Bemerkung.Text, b.Titel.Text),
              std::tuple(huge, 1000000, "alt", "Titel"));
}

// The OK button's checks and the missing-field report (order 4, 2, 1; the
// author counts only when the editor is blank too; the title is stored anyway).
TEST(TitleEditorModel, OkMessages)
{
    const std::string typWarning = Cp1252(
        "Warnung!\r\n\r\nSie haben keinen Literatur-Typ festgelegt!\r\n\r\nZur Zeit können nicht alle Datenfelder "
        "gleichzeitig gespeichert werden.\r\nWählen Sie daher bitte einen Literatur-Typ aus, um Ihre\r\n"
        "Informationen vollständig speichern zu können.\r\n\r\nZurück [Wiederholen] oder fortfahren [Ignorieren]?");
    const std::string noKey = Cp1252("Es wurde kein Kürzel eingegeben!\r\nGeben Sie bitte ein Kürzel ein!");
    const std::string taken = Cp1252("Das eingegebene Kürzel existiert bereits!\r\nGeben Sie ein anderes Kürzel ein!");
    struct Case {
        const char* what;
        EditModes mode;
        bool copy, zwang;
        const char *kuerzel, *autor, *hrsg, *titel;
        int32_t typ;
        Answer typAnswer;
        std::vector<std::string> messages;
        OkOutcome outcome;
        int32_t titlesAfter;
    };
    const Case cases[] = {
        {"all blank", EditModeNew, false, true, "N1", "", "", " ", 0, Answer::Ok,
         {"Titel wurde nicht angegeben. Autor wurde nicht angegeben. "}, OkOutcome::Close, 3},
        {"editor given", EditModeNew, false, true, "N1", "", "Hg", "T", 0, Answer::Ok, {}, OkOutcome::Close, 3},
        {"key blank without force", EditModeNew, false, false, "  ", "", "", "T", 0, Answer::Ok,
         {"Autor wurde nicht angegeben. "}, OkOutcome::Close, 3},
        {"key blank", EditModeNew, false, true, "  ", "A", "", "T", 0, Answer::Ok, {noKey}, OkOutcome::StayOnKuerzel, 2},
        {"key taken other case", EditModeNew, false, true, "k2", "A", "", "T", 0, Answer::Ok, {taken},
         OkOutcome::StayOnKuerzel, 2},
        {"copy keeps source key", EditModeEdit, true, true, "K1", "A", "", "T", 0, Answer::Ok, {taken},
         OkOutcome::StayOnKuerzel, 2},
        {"copy source key unforced", EditModeEdit, true, false, "K1", "A", "", "T", 0, Answer::Ok, {},
         OkOutcome::Close, 3},
        {"edit keeps own key", EditModeEdit, false, true, "k1", "A", "", "T", 0, Answer::Ok, {}, OkOutcome::Close, 2},
        {"edit takes other key", EditModeEdit, false, true, "K2", "A", "", "T", 0, Answer::Ok, {taken},
         OkOutcome::StayOnKuerzel, 2},
        {"type unclear, retry", EditModeNew, false, true, "N1", "A", "", "T", 8, Answer::Retry, {typWarning},
         OkOutcome::StayOnType, 2},
        {"type unclear, ignore", EditModeNew, false, true, "N1", "A", "", "T", 8, Answer::Ignore, {typWarning},
         OkOutcome::Close, 3},
        {"view stores nothing", EditModeView, false, true, "", "", "", "", 8, Answer::Ok, {}, OkOutcome::Close, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Editor e;
        e.Add("K1");
        e.Add("K2");
        e.app.settings.KuerzelZwang = c.zwang;
        if (c.mode == EditModeNew)
            e.OpenNew();
        else
            e.Open(1, c.mode);
        e.v.Kopieren = c.copy;
        e.v.Kuerzel = c.kuerzel;
        e.v.Autor.Text = c.autor;
        e.v.Herausgeber.Text = c.hrsg;
        e.v.Titel = c.titel;
        e.v.LiteraturTyp = c.typ;
        e.t.ui.answers = {c.typAnswer};
        e.m.Focus = {PageIntern, C::ComboBoxTyp}; // a refusal moves it
        const bool saved = e.app.store.Gesichert();
        EXPECT_EQ(e.m.OkClicked(), c.outcome);
        if (c.outcome == OkOutcome::StayOnType) {
            EXPECT_EQ(std::tuple(e.m.Focus.Page, e.m.Focus.Control), std::tuple(PageBibliothek, C::RadioGroup_LiteraturTyp));
        } else if (c.outcome == OkOutcome::StayOnKuerzel) {
            EXPECT_EQ(e.m.Focus.Control, C::EditKuerzel);
        }
        EXPECT_EQ(std::tuple(e.Texts(), e.app.store.AnzBuch), std::tuple(c.messages, c.titlesAfter));
        if (c.outcome != OkOutcome::Close || c.mode == EditModeView) {
            EXPECT_EQ(e.app.store.Gesichert(), saved);
        } else {
            EXPECT_EQ(e.app.store.current()->Titel.Text, c.titel);
        }
    }
}

TEST(TitleEditorModel, LeavingTheShortKey)
{
    struct Case { EditModes mode; bool cancelling, zwang; const char* key; bool accepted; };
    const Case cases[] = {
        {EditModeNew, false, true, "K1", false}, {EditModeNew, true, true, "K1", true},
        {EditModeView, false, true, "K1", true}, {EditModeNew, false, false, "", true},
        {EditModeNew, false, true, "neu", true}, {EditModeNew, false, true, " ", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Editor e;
        e.Add("K1");
        e.m.InitForm(c.mode, -1);
        e.app.settings.KuerzelZwang = c.zwang;
        e.v.Kuerzel = c.key;
        EXPECT_EQ(e.m.LeaveKuerzel(c.cancelling), c.accepted);
        EXPECT_EQ(e.t.ui.messages.size(), c.accepted ? 0u : 1u);
    }
}

TEST(TitleEditorModel, WriteToStoreFeedsTheSearchLists)
{
    Editor e;
    MakeTitled(e.Add("K1"), 6);
    e.Open(1);
    e.v.Autor.Text = "Eco, Umberto; ;Mann, Thomas ";
    e.v.Schlagworte = "Politik; Geschichte ;";
    e.v.Sprache.Text = "englisch";
    e.m.WriteToStore();
    const SearchLists& l = e.app.lists;
    EXPECT_EQ(SearchListTexts(l.AutorSearchList), (std::vector<std::string>{"Eco, Umberto", "Mann, Thomas"}));
    EXPECT_EQ(SearchListTexts(l.SchlagworteSearchList), (std::vector<std::string>{"Politik", "Geschichte"}));
    // The stored series of a type-6 title goes to both lists.
    using Texts = std::vector<std::string>;
    EXPECT_EQ(std::tuple(SearchListTexts(l.ZeitschriftSearchList), SearchListTexts(l.ReiheSearchList),
                         SearchListTexts(l.SpracheSearchList)),
              std::tuple(Texts{"Reihe"}, Texts{"Reihe"}, Texts{"englisch"}));
    EXPECT_FALSE(l.AllKeywordsListUpToDate);
    // So does a book's series, which loading a file leaves out of the journal list.
    MakeTitled(e.Add("K2"), TypMonographie);
    e.app.store.at(2)->Reihe.Text = "Reclam";
    e.Open(2);
    e.m.WriteToStore();
    EXPECT_EQ(SearchListTexts(l.ZeitschriftSearchList), (std::vector<std::string>{"Reihe", "Reclam"}));
}

// The place of publication beside the publisher: shown, stored and offered
// again for every type, fed into its own list and completed from it.
TEST(TitleEditorModel, PlaceBesideThePublisher)
{
    for (int32_t typ : {TypMonographie, TypHochschulschrift, TypZeitschriftenaufsatz, TypAudiovisuell}) {
        SCOPED_TRACE(typ);
        Editor e;
        TBuch& stored = e.Add("K1");
        stored.TypNum = typ;
        stored.Ort.Text = "K\xF6ln";
        stored.Verlag.Text = "Kiepenheuer & Witsch";
        Generate_SearchList_Entries_From_Data(e.app.store, e.app.lists);
        e.Open(1);
        EXPECT_EQ(std::tuple(e.v.Ort.Text, e.v.Ort.Items), std::tuple("K\xF6ln", std::vector<std::string>{"K\xF6ln"}));
        EXPECT_EQ(e.m.TypeAhead(C::ComboBoxOrt, "k", 1)->Text, "K\xF6ln");
        e.v.Ort.Text = "Berlin";
        e.m.WriteToStore();
        EXPECT_EQ(std::tuple(e.app.store.at(1)->Ort.Text, e.app.store.at(1)->Verlag.Text, e.app.store.Gesichert()),
                  std::tuple("Berlin", "Kiepenheuer & Witsch", false));
        EXPECT_EQ(SearchListTexts(e.app.lists.OrtSearchList), (std::vector<std::string>{"K\xF6ln", "Berlin"}));
        // A new title that reuses the last one's settings takes the place with the publisher.
        e.OpenNew();
        EXPECT_TRUE(e.v.Ort.Text.empty());
        e.m.SetWiederverwenden(true);
        EXPECT_EQ(e.v.Ort.Text, "Berlin");
    }
    Editor e;
    EXPECT_EQ(e.m.Label(C::ComboBoxOrt), "Ort:");
    EXPECT_NE(std::find(ViewModeDisabledControls().begin(), ViewModeDisabledControls().end(), C::ComboBoxOrt),
              ViewModeDisabledControls().end());
}

// A new title; no current title to load; a full store.
TEST(TitleEditorModel, NewTitleNoCurrentTitleAndFullStore)
{
    Editor e;
    e.app.store.ActBuch = 1;
    EXPECT_FALSE(e.m.LoadFromStore());
    e.OpenNew();
    e.v.Kuerzel = "N";
    e.v.Titel = "Neu";
    e.v.LiteraturTyp = 2;
    e.m.WriteToStore();
    ASSERT_EQ(e.app.store.AnzBuch, 1);
    EXPECT_EQ(std::tuple(e.app.store.ActBuch, e.app.store.at(1)->Auflage, e.app.store.Gesichert()), std::tuple(1, 0, false));
    e.app.store.ActBuch = 2;
    EXPECT_FALSE(e.m.LoadFromStore());
    EXPECT_EQ(e.Texts(), (std::vector<std::string>{GetErrorText(17), GetErrorText(17)}));
    EXPECT_EQ(e.t.ui.messages[0].kind, MsgKind::Error);
    e.t.ui.messages.clear();

    while (e.app.store.AnzBuch < MaxBuch)
        e.app.store.NewBuch();
    e.app.store.MarkSaved();
    e.OpenNew();
    e.v.Titel = "zu viel";
    EXPECT_EQ(e.m.WriteToStore(), 0);
    EXPECT_EQ(e.Texts(), std::vector<std::string>{"Konnte neuen Bucheintrag nicht anlegen."});
    EXPECT_EQ(std::tuple(e.app.store.AnzBuch, e.app.store.Gesichert()), std::tuple(MaxBuch, true));
}

TEST(TitleEditorModel, InitFormDefaults)
{
    Editor e;
    for (const char* waehrung : {"usd", "USD", "  ", "CHF"})
        e.Add("K").Waehrung.Text = waehrung;
    e.app.lists.TypSearchList.AddEntry("gebundenes Buch");
    e.app.lists.TypSearchList.AddEntry("Artikel", false);
    e.app.lists.AutorSearchList.AddEntry("Eco, Umberto");
    e.app.settings.DefaultOwner = "ich";
    e.OpenNew();
    EXPECT_EQ(std::tuple(e.v.KopierenEnabled, e.v.Typ.Text, e.v.Sprache.Text, e.v.Owner.Text, e.v.LiteraturTyp, e.v.Waehrung.Text),
              std::tuple(false, "Taschenbuch", "deutsch", "ich", TypUnklar, "EUR"));
    EXPECT_EQ(e.v.Autor.Ticked, std::vector<bool>{false});
    EXPECT_EQ(e.v.Waehrung.Items, (std::vector<std::string>{"EUR", "DM", "usd", "CHF"}));
    // The type list comes back in the box's order; a filter's choice stays.
    EXPECT_EQ(SearchListTexts(e.app.lists.TypSearchList), (std::vector<std::string>{"Artikel", "gebundenes Buch"}));
    EXPECT_FALSE(e.app.lists.TypSearchList.entries[0].Active);
    EXPECT_EQ(std::tuple(e.m.Pictures.PicFileSizes[9], e.m.Focus.Control), std::tuple(-1, C::EditKuerzel));

    e.m.InitForm(EditModeEdit, -1);
    EXPECT_TRUE(e.v.KopierenEnabled);
    EXPECT_FALSE(e.v.Kopieren);
}

TEST(TitleEditorModel, FocusFromGridColumn)
{
    struct Case { int descriptor; EditPage page; EditControl control; };
    const Case cases[] = {{0, PageAutorTitel, C::EditKuerzel}, {1, PageAutorTitel, C::TitelEdit},
                          {2, PageAutorTitel, C::ComboBoxAutor}, {3, PageIntern, C::ComboBoxKategorie},
                          {4, PageIntern, C::ComboBoxSprache}, {12, PageAutorTitel, C::EditKuerzel}};
    for (const Case& c : cases) {
        Editor e;
        e.app.grid.SetColCount(3);
        e.app.grid.SetCell(2, 0, e.app.columns.CellArray[static_cast<std::size_t>(c.descriptor)].Header);
        e.m.InitForm(EditModeNew, 2);
        EXPECT_EQ(e.m.Focus.Page, c.page) << c.descriptor;
        EXPECT_EQ(e.m.Focus.Control, c.control) << c.descriptor;
    }
}

TEST(TitleEditorModel, ReuseLastSettings)
{
    const std::string question = Cp1252(
        "Hinweis:\r\n\r\nDurch das Setzen des \"Wiederverwenden\"-Schalters werden\r\nbereits getätigte Eingaben "
        "überschrieben!\r\n\r\nWollen Sie Ihre bisherigen Eingaben überschreiben und\r\ndie Einstellungen des "
        "zuletzt eingegebenen Titels verwenden?");
    struct Case { const char* what; void (*touch)(TitleEditorValues&); Answer answer; bool asked, copied; };
    const Case cases[] = {
        {"untouched", [](TitleEditorValues&) {}, Answer::No, false, true},
        {"title typed only", [](TitleEditorValues& v) { v.Titel = "x"; }, Answer::No, false, true},
        {"author typed, yes", [](TitleEditorValues& v) { v.Autor.Text = "x"; }, Answer::Yes, true, true},
        {"location typed, no", [](TitleEditorValues& v) { v.Standort.Text = "x"; }, Answer::No, true, false},
        {"type chosen, no", [](TitleEditorValues& v) { v.LiteraturTyp = 0; }, Answer::No, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Editor e;
        e.Add("K1");
        TBuch& last = e.Add("K2", "T", "Eco, Umberto");
        last.TypNum = 3 | LinkFlag;
        last.Reihe.Text = "Reihe";
        last.Standort.Text = "Regal";
        last.Typ.Text = "Kopie";
        e.app.lists.AutorSearchList.AddEntry("Eco, Umberto");
        e.OpenNew();
        c.touch(e.v);
        e.t.ui.answers = {c.answer};
        e.m.SetWiederverwenden(true);
        EXPECT_EQ(e.Texts(), c.asked ? std::vector<std::string>{question} : std::vector<std::string>{});
        EXPECT_EQ(e.app.settings.UseLastSettings, c.copied);
        if (c.copied) {
            EXPECT_EQ(std::tuple(e.v.Autor.Text, e.v.Serie.Text, e.v.Zeitschrift.Text, e.v.Standort.Text, e.v.Typ.Text),
                      std::tuple("Eco, Umberto", "Reihe", "Reihe", "Regal", "Kopie"));
            EXPECT_EQ(std::tuple(e.v.Autor.Ticked, e.v.LiteraturTyp, e.m.Panel.Books),
                      std::tuple(std::vector<bool>{true}, 3, true));
        } else {
            EXPECT_NE(e.v.Serie.Text, "Reihe");
        }
    }
}

TEST(TitleEditorModel, CompletionTakesTheLastMatchingEntryWhenSwitchedOn)
{
    SearchList list;
    for (const char* s : {"Berlin", "Bern", "bergen", "M\xFCnchen"})
        list.AddEntry(s);
    struct Case { const char* typed; int caret; bool multi; const char* text; int selStart, selLength; };
    const Case cases[] = {
        {"ber", 3, false, "bergen", 3, 3},     {"BERL", 4, false, "Berlin", 4, 2},
        {"Bern", 4, false, "Bern", 4, 0},      {"m\xFC", 2, false, "M\xFCnchen", 2, 5},
        {"ber", 1, true, "bergen", 1, 0},      {"ber", 3, true, "bergen", 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto got = CompleteText(list, c.typed, c.caret, c.multi);
        ASSERT_TRUE(got);
        EXPECT_EQ(std::tuple(got->Text, got->SelStart, got->SelLength), std::tuple(c.text, c.selStart, c.selLength));
    }
    for (const char* none : {"", "x", "m\xDC", "Berliner"})
        EXPECT_FALSE(CompleteText(list, none, 1, false)) << none;
    // The switches that turn completion on and off.
    Editor e;
    e.app.lists.VerlagSearchList.AddEntry("Hanser");
    e.app.lists.AutorSearchList.AddEntry("Eco, Umberto");
    EXPECT_EQ(e.m.TypeAhead(C::ComboBoxVerlag, "ha", 2)->Text, "Hanser");
    EXPECT_FALSE(e.m.TypeAhead(C::ComboBoxAutor, "ec", 2));
    e.app.settings.EditAutoFill = true;
    EXPECT_EQ(e.m.TypeAhead(C::ComboBoxAutor, "ec", 2)->Text, "Eco, Umberto");
    e.m.NoteKey(true);
    EXPECT_FALSE(e.m.TypeAhead(C::ComboBoxVerlag, "ha", 2));
    e.m.NoteKey(false);
    EXPECT_TRUE(e.m.TypeAhead(C::ComboBoxVerlag, "ha", 2));
    EXPECT_FALSE(e.m.TypeAhead(C::TitelEdit, "ha", 2));
}

TEST(TitleEditorModel, LeavingBoxesAndMultipleChoiceText)
{
    Editor e;
    e.app.lists.VerlagSearchList.AddEntry("Zsolnay");
    e.app.lists.VerlagSearchList.AddEntry("Hanser", false);
    e.m.FillComboBoxes();
    e.v.Verlag.Items.push_back("\xC4rzteverlag");
    e.m.LeaveChoiceBox(C::ComboBoxVerlag);
    const SearchList& l = e.app.lists.VerlagSearchList;
    EXPECT_EQ(SearchListTexts(l), (std::vector<std::string>{"\xC4rzteverlag", "Hanser", "Zsolnay"}));
    EXPECT_EQ(std::tuple(l.entries[0].Active, l.entries[1].Active), std::tuple(true, false));

    for (auto [typed, left] : {std::pair{"Eco; Mann;  ", "Eco; Mann"}, {"Eco;;", "Eco;"}, {"Eco", "Eco"}}) {
        e.v.Autor.Text = typed;
        e.m.LeaveChoiceBox(C::ComboBoxAutor);
        EXPECT_EQ(e.v.Autor.Text, left);
    }
    // The text of a multiple choice and ticks from a text.
    MultiSelectBox box;
    box.Items = {" Eco, Umberto ", "Mann, Thomas", "Kafka"};
    box.Ticked = {true, false, true};
    EXPECT_EQ(JoinTicked(box), "Eco, Umberto; Kafka;");
    box.Ticked = {false, false, false};
    EXPECT_EQ(JoinTicked(box), "");
    TickFromText(box, "kafka; MANN, THOMAS");
    EXPECT_EQ(box.Ticked, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(std::tuple(FindPrefix(box.Items, "ma"), FindPrefix(box.Items, "x")), std::tuple(1, -1));
}

TEST(TitleEditorModel, KeywordTakeOverListAndTyping)
{
    struct Case { const char *memo, *keyword, *result; };
    const Case cases[] = {
        {"Politik; Gesch", "Geschichte", "Politik; Geschichte"},
        {"", "Recht", "Recht"},
        {"   ", "Recht", "Recht"},
        {"Politik;", "Recht", "Politik; Recht"},
        {"Politik ; ", "Recht", "Politik ; Recht"},
        {"Politik", "Recht", "Politik; Recht"},
        {"pol", "Politik", "Politik"},
        {"Politik; rec", "Recht", "Politik; Recht"},
    };
    for (const Case& c : cases) {
        Editor e;
        e.v.AlleSchlagworte = {c.keyword};
        e.v.Schlagworte = c.memo;
        e.m.SelectKeyword(0);
        EXPECT_TRUE(e.v.UebernehmenEnabled);
        e.m.TakeOverKeyword();
        EXPECT_EQ(e.v.Schlagworte, c.result) << c.memo;
        EXPECT_EQ(e.m.Focus.Control, C::ListBoxAlleSchlagworte);
    }
    // The keyword list, typing and the keyword conventions.
    Editor e;
    for (const char* k : {"Recht", "politik", "Ziel", "geschichte", "Politik", "zeit", "Geschichte Europas"})
        e.app.lists.SchlagworteSearchList.AddEntry(k);
    e.m.FillComboBoxes();
    EXPECT_EQ(e.v.AlleSchlagworte, // capitals first where only the case differs
              (std::vector<std::string>{"geschichte", "Geschichte Europas", "Politik", "politik", "Recht", "zeit", "Ziel"}));
    EXPECT_EQ(std::pair(e.app.lists.AllKeywordsListUpToDate, e.v.UebernehmenEnabled), std::pair(true, false));
    for (const char* typed : {"Recht;  GESCHICHTE e", "xyz"}) { // no match keeps the selection
        e.v.Schlagworte = typed;
        e.m.SchlagworteTyped();
        EXPECT_EQ(e.v.AlleSchlagworteSelected, 1) << typed;
    }

    e.v.Schlagworte = "eins zwei drei vier f\xFCnf sechs sieben; kurz";
    EXPECT_FALSE(e.m.LeaveSchlagworte());
    EXPECT_EQ(e.m.Focus.Control, C::MemoSchlagworte);
    ASSERT_EQ(e.t.ui.messages.size(), 1u);
    EXPECT_EQ(e.t.ui.messages[0].text,
              Cp1252("Die Konventionen für die Erstellung von Schlagworten werden nicht eingehalten!\r\n\r\n"
                     "Bitte, informieren Sie sich in der Hilfe und ändern Sie Ihre Eingaben\r\n"
                     "zur Vermeidung von Problemen dahingehend um!"));
    e.v.Schlagworte = "eins zwei drei vier f\xFCnf sechs";
    EXPECT_TRUE(e.m.LeaveSchlagworte());
}

TEST(TitleEditorModel, KeyFilters)
{
    for (const auto& [keys, verdict] : {std::pair{"059\b", KeyVerdict::Accept}, {",.a- \r", KeyVerdict::Discard}})
        for (const char* k = keys; *k; ++k)
            EXPECT_EQ(DigitsOnlyKey(*k).Verdict, verdict) << *k;

    struct Case { const char* text; int selStart, selLength; char key; KeyVerdict verdict; };
    const Case cases[] = {
        {"12", 2, 0, '3', KeyVerdict::Accept},      {"12", 2, 0, '\r', KeyVerdict::Accept},
        {"12", 2, 0, '\b', KeyVerdict::Accept},     {"12", 2, 0, ',', KeyVerdict::Replace},
        {"12", 2, 0, '.', KeyVerdict::Accept},      {"1.2", 3, 0, '.', KeyVerdict::DiscardBeep},
        {"1.2", 3, 0, ',', KeyVerdict::DiscardBeep}, {"1.2", 1, 1, '.', KeyVerdict::Accept},
        {"12", 2, 0, 'e', KeyVerdict::Discard},     {"12", 2, 0, '-', KeyVerdict::Discard},
    };
    for (const Case& c : cases) {
        const KeyFilterResult r = PriceKey(c.text, c.selStart, c.selLength, c.key);
        EXPECT_EQ(r.Verdict, c.verdict) << c.text << " " << c.key;
        if (r.Verdict == KeyVerdict::Replace) {
            EXPECT_EQ(r.Replacement, '.');
        }
    }
}

TEST(TitleEditorModel, PurchaseDate)
{
    constexpr double today = 46000;
    Editor e;
    e.Add("K1").Kaufdatum = 45000;
    e.Add("K2");
    // Cleared: stored as no date.
    e.Open(1);
    e.m.ClearKaufdatum();
    e.m.EnterKaufdatum(today);
    EXPECT_EQ(e.v.Kaufdatum, 45000.0); // the title's date is offered again
    e.m.LeaveKaufdatum();
    EXPECT_FALSE(e.v.Kaufdatum);
    e.m.WriteToStore();
    EXPECT_EQ(e.app.store.at(1)->Kaufdatum, 0.0);
    // A blank box entered and left without choosing stays blank.
    e.Open(2);
    e.m.EnterKaufdatum(today);
    EXPECT_EQ(e.v.Kaufdatum, today);
    e.m.WriteToStore(); // OK straight from the box
    EXPECT_EQ(e.app.store.at(2)->Kaufdatum, 0.0);
    // A chosen date is stored.
    e.Open(2);
    e.m.EnterKaufdatum(today);
    e.m.ChooseKaufdatum(45123);
    e.m.LeaveKaufdatum();
    e.m.WriteToStore();
    EXPECT_EQ(std::tuple(e.app.store.at(2)->Kaufdatum, KaufdatumText(45123), KaufdatumText(1e9)),
              std::tuple(45123.0, "16.07.2023", ""));
}

TEST(TitleEditorModel, TypePanel)
{
    struct Case { int32_t typ; bool books, journals, av, pages; const char* start; };
    const Case cases[] = {
        {0, true, false, false, true, "Selbst"}, {1, true, false, false, true, "Dissertation"},
        {2, true, false, false, true, "Buch (auch"}, {3, true, false, false, true, "Einzelbeitrag"},
        {4, false, true, false, true, "Aufsatz"}, {5, false, true, false, true, "Artikel"},
        {6, false, false, true, false, "Film"}, {7, true, false, false, true, "B\xFC" "cher"},
        {8, true, true, true, true, "Zwischen"}, {9, false, false, false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typ);
        const TypePanel p = LiteraturTypPanel(c.typ, false);
        EXPECT_EQ(std::tuple(p.Books, p.Journals, p.AudioVisual, p.Pages, p.Description.rfind(c.start, 0)),
                  std::tuple(c.books, c.journals, c.av, c.pages, 0u));
        EXPECT_TRUE(LiteraturTypPanel(c.typ, true).AudioVisual);
    }
    Editor e;
    for (const auto& [typ, serie, verlag] : {std::tuple{1, "Art", "an Uni."}, {0, "Reihe", "Verlag"}}) {
        e.m.SetLiteraturTyp(typ);
        EXPECT_EQ(std::tuple(e.m.Label(C::ComboBoxSerie), e.m.Label(C::ComboBoxVerlag)), std::tuple(serie, verlag));
    }
    // Labels from the column headers, when asked for.
    e.app.columns.CellArray[1].Header = "Buchtitel";
    e.app.columns.CellArray[24].Header = "Erscheinungsjahr";
    e.m.AdjustLabelsFromHeaders(e.app.columns);
    EXPECT_EQ(e.m.Label(C::TitelEdit), "Titel:");
    e.app.settings.AdjustLabels = true;
    e.m.AdjustLabelsFromHeaders(e.app.columns);
    EXPECT_EQ(std::tuple(e.m.Label(C::TitelEdit), e.m.Label(C::EditJahr), e.m.Label(C::EditionYearEdit)),
              std::tuple("Buchtitel", "Erscheinungsjahr", "Erscheinungsjahr"));
    EXPECT_EQ(e.m.Label(C::CheckBoxQuelleAlsLinkBenutzen), e.app.columns.CellArray[33].Header);
}

TEST(TitleEditorModel, EnterAndTabJumps)
{
    EXPECT_STREQ(ControlName(C::EditKuerzel), "EditKuerzel"); // the first control is named too
    struct Case { EditControl from; EditPage page; int32_t typ; EditPage toPage; std::optional<EditControl> to; };
    const Case cases[] = {
        {C::EditKuerzel, PageAutorTitel, 0, PageAutorTitel, C::ComboBoxAutor},
        {C::EditKuerzel, PageBibliothek, 0, PageBibliothek, C::RadioGroup_LiteraturTyp},
        {C::EditKuerzel, PageSchlagworte, 0, PageSchlagworte, C::MemoSchlagworte},
        {C::EditKuerzel, PageIntern, 0, PageIntern, C::ComboBoxTyp},
        {C::EditKuerzel, PageBilder, 0, PageBilder, C::ButtonBildHinzufuegen},
        {C::OrgTitelEdit, PageAutorTitel, 7, PageBibliothek, C::AusgabeEdit},
        {C::OrgTitelEdit, PageAutorTitel, 5, PageBibliothek, C::ComboBoxZeitschrift},
        {C::OrgTitelEdit, PageAutorTitel, 6, PageBibliothek, C::EditQuelle},
        {C::EditSeiten, PageBibliothek, 4, PageSchlagworte, C::MemoSchlagworte},
        {C::EditSeiten, PageBibliothek, 8, PageNone, std::nullopt},
        {C::EditLaenge, PageBibliothek, 8, PageSchlagworte, C::MemoSchlagworte},
        {C::EditLaenge, PageBibliothek, 0, PageNone, std::nullopt},
        {C::MemoBemerkung, PageSchlagworte, 0, PageIntern, C::ComboBoxTyp},
        {C::DateTimePickerKaufdatum, PageIntern, 0, PageBilder, C::ButtonBildHinzufuegen},
        {C::TitelEdit, PageAutorTitel, 0, PageNone, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto jump = FocusWalk(c.from, c.page, c.typ);
        SCOPED_TRACE(ControlName(c.from));
        ASSERT_EQ(jump.has_value(), c.to.has_value());
        if (jump) {
            EXPECT_EQ(jump->Page, c.toPage);
            EXPECT_EQ(jump->Control, c.to);
        }
    }
    EXPECT_EQ(KeywordListHint({"Recht"}, 0), "Recht");
    EXPECT_EQ(KeywordListHint({"Recht"}, 1), "alle bisher verwendeten Schlagworte");
}

// The editor's pictures travel with LoadFromStore and WriteToStore; the flags
// mark the title unsaved. A copy takes the pictures it shows; a new title
// takes the one added.
TEST(PictureEditorHooks, LoadWriteCopyAndNewTitle)
{
    Editor e;
    TBuch& b = e.Add("A1");
    for (const auto& [fill, title] : {std::pair{1, "vorn"}, {2, "hinten"}}) {
        TPicRec& pic = b.Pics.emplace_back();
        pic.Kind = PicJpg + PicEmbedded;
        pic.Data.assign(500, static_cast<uint8_t>(fill));
        pic.Size = 500;
        pic.BildTitel.Text = title;
    }
    b.AnzPics = 2;
    e.Open(1);
    EXPECT_EQ(e.m.Pictures.Slots[1].Title, "hinten");
    e.m.WriteToStore();
    EXPECT_TRUE(e.app.store.Gesichert()); // nothing changed
    EXPECT_EQ(e.app.store.at(1)->Pics[1].Data, std::vector<uint8_t>(500, 2));

    e.Open(1);
    e.m.Pictures.TitleEdited(1, "Rückseite");
    e.m.WriteToStore();
    EXPECT_FALSE(e.app.store.Gesichert());
    EXPECT_EQ(e.app.store.at(1)->Pics[1].BildTitel.Text, "Rückseite");

    e.Open(1);
    e.v.Kopieren = true;
    e.v.Kuerzel = "A2";
    e.m.Pictures.TitleEdited(0, "Kopie vorn");
    e.m.WriteToStore();
    ASSERT_EQ(e.app.store.AnzBuch, 2);
    const TBuch& copy = *e.app.store.at(2);
    ASSERT_EQ(copy.AnzPics, 2);
    EXPECT_EQ(std::tuple(copy.Pics[0].BildTitel.Text, copy.Pics[1].Data, e.app.store.at(1)->Pics[0].BildTitel.Text),
              std::tuple("Kopie vorn", std::vector<uint8_t>(500, 2), "vorn"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scan.bmp"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(300, 'b'));
    f.close();
    e.OpenNew();
    // InitForm forgets the previous title's pictures.
    EXPECT_EQ(e.m.Pictures.FirstFreeSlot(), 0);
    EXPECT_FALSE(e.m.Pictures.PicsChanged);
    ASSERT_TRUE(e.m.Pictures.AddFile(path.toStdString(), false));
    e.v.Kuerzel = "A3";
    e.m.WriteToStore();
    ASSERT_EQ(e.app.store.AnzBuch, 3);
    ASSERT_EQ(e.app.store.at(3)->AnzPics, 1);
    EXPECT_EQ(e.app.store.at(3)->Pics[0].Kind, PicBmp + PicEmbedded);
    EXPECT_EQ(e.app.store.at(3)->Pics[0].BildTitel.Text, "scan");

    // A picture of a format the page cannot show keeps the editor closed, silently.
    e.app.store.at(1)->Pics[1].Kind = 64 + PicEmbedded;
    e.app.store.ActBuch = 1;
    e.m.InitForm(EditModeEdit, -1);
    EXPECT_FALSE(e.m.LoadFromStore());
    EXPECT_TRUE(e.t.ui.messages.empty());
}
