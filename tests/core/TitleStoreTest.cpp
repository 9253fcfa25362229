#include "core/ErrorText.h"
#include "core/SampleCatalogue.h"
#include "support/Fakes.h"

#include <set>

using namespace folianto;
using folianto::test::TestApp;

TEST(TitleStore, DeleteShiftsAndKeepsNumbersUpToTheLimit)
{
    TitleStore store;
    EXPECT_EQ(store.FindBuchByNr(1), -1);
    for (int i = 0; i < 3; ++i)
        store.NewBuch();
    store.ActBuch = 1;
    store.DeleteActBuch();
    ASSERT_EQ(store.AnzBuch, 2);
    EXPECT_EQ(std::tuple(store.at(1)->BuchNr, store.at(2)->BuchNr, store.FindBuchByNr(3)), std::tuple(2, 3, 2));
    EXPECT_EQ(store.at(3), nullptr);
    store.ActBuch = 2;
    store.DeleteActBuch();
    EXPECT_EQ(store.AnzBuch, 1);
    EXPECT_EQ(store.FindBuchByNr(3), -1);

    // A title added after deletes gets a number no other title has.
    ASSERT_TRUE(store.NewBuch());
    EXPECT_EQ(store.at(2)->BuchNr, 4);
    EXPECT_EQ(store.FindBuchByNr(4), 2);
    store.Clear();
    ASSERT_TRUE(store.NewBuch());
    EXPECT_EQ(store.at(1)->BuchNr, 1);
    // Filled up to the limit, the next title is refused.
    while (store.NewBuch()) {
    }
    EXPECT_EQ(std::tuple(store.AnzBuch, store.at(MaxBuch)->BuchNr, store.FehlerNr), std::tuple(MaxBuch, MaxBuch, 13));
}

// Titles go in at slots 1 to AnzBuch + 1 of a store with room and come out
// of slots 1 to AnzBuch; nowhere else.
TEST(TitleStore, InsertAndTakeOnlyInsideTheStore)
{
    TitleStore store;
    store.NewBuch();
    store.NewBuch();
    const auto titleNr = [](int32_t nr) {
        auto b = std::make_unique<TBuch>();
        b->BuchNr = nr;
        return b;
    };
    EXPECT_FALSE(store.InsertAt(0, titleNr(7)));
    EXPECT_FALSE(store.InsertAt(4, titleNr(7)));
    EXPECT_EQ(store.TakeAt(0), nullptr);
    EXPECT_EQ(store.TakeAt(3), nullptr);
    EXPECT_TRUE(store.InsertAt(3, titleNr(9)));
    EXPECT_TRUE(store.InsertAt(1, titleNr(8)));
    std::vector<int32_t> numbers;
    for (int32_t i = 1; i <= store.AnzBuch; ++i)
        numbers.push_back(store.at(i)->BuchNr);
    EXPECT_EQ(numbers, (std::vector<int32_t>{8, 1, 2, 9}));
    EXPECT_EQ(store.TakeAt(4)->BuchNr, 9);
    EXPECT_EQ(store.TakeAt(1)->BuchNr, 8);
    EXPECT_EQ(store.AnzBuch, 2);
    // Every text field's cached length follows its text, the last one too.
    for (int f = 1; f <= TextFieldCount; ++f)
        store.at(2)->TextField(f).Text.assign(static_cast<std::size_t>(f), 'x');
    store.UpdateBuchLengths(2);
    for (int f = 1; f <= TextFieldCount; ++f)
        EXPECT_EQ(store.at(2)->TextField(f).Len, f) << TextFieldNames[static_cast<std::size_t>(f - 1)];
    while (store.NewBuch()) {
    }
    EXPECT_FALSE(store.InsertAt(1, titleNr(7)));
}

// The hook hears a flip of the saved flag, not every repeated mark.
TEST(TitleStore, SavedHookFiresOnlyWhenTheFlagFlips)
{
    TitleStore store;
    int calls = 0;
    store.SetSavedHook([&] { ++calls; });
    store.MarkSaved();
    store.MarkChanged();
    store.MarkChanged();
    EXPECT_EQ(std::pair(store.Gesichert(), calls), std::pair(false, 1));
    store.MarkSaved();
    EXPECT_EQ(std::pair(store.Gesichert(), calls), std::pair(true, 2));
}

TEST(TitleStore, TypeNames)
{
    EXPECT_EQ(std::tuple(TypNumToName(0), TypNumToName(3 | LinkFlag), TypNumToName(9), TypNumToName(-1)),
              std::tuple("Monographie", "Sammelwerkbeitrag", "", ""));
    EXPECT_EQ(std::tuple(TypNameToNum("graue literatur"), TypNameToNum("Roman"), TypNameToNum("audio-visuelles material")),
              std::tuple(7 | LinkFlag, 8 | LinkFlag, 6 | LinkFlag));
}

TEST(TitleStore, DeleteAllowedAsksTheExactQuestion)
{
    TestApp t;
    t.app.store.NewBuch();
    t.app.store.at(1)->Kuerzel.Text = "MUE001";
    t.app.store.at(1)->Titel.Text = Cp1252("Grüne Tage");
    t.app.store.ActBuch = 1;
    t.ui.answers = {Answer::No};
    EXPECT_FALSE(DeleteAllowed(t.app.store, t.ui));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(t.ui.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(Cp1252ToUtf8(t.ui.messages[0].text),
              "Folianto: Sicherheitssystem\r\n\r\nDer Titel [MUE001], \"Grüne Tage\" soll gelöscht werden.\r\n"
              "Soll der Titel wirklich gelöscht werden?");
    EXPECT_TRUE(DeleteAllowed(t.app.store, t.ui));
}

// The generated catalogue (benchmarks, demonstrations, other tests) fills
// each type's own fields only and keeps lending and prices consistent.
TEST(SampleCatalogue, EachTypeFillsItsOwnFields)
{
    TitleStore store;
    FillSampleCatalogue(store, 500, 9);
    ASSERT_EQ(store.AnzBuch, 500);
    std::set<std::string> keys;
    int perType[TypCount] = {}, lending[4] = {}, keywordCounts[7] = {};
    const auto starts = [](const TBuchRec& f, const char* text) { return f.Text.rfind(text, 0) == 0; };
    const auto ends = [](const TBuchRec& f, const std::string& text) {
        return f.Text.size() >= text.size() && f.Text.compare(f.Text.size() - text.size(), text.size(), text) == 0;
    };
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        SCOPED_TRACE(i);
        const TBuch& b = *store.at(i);
        const int typ = b.TypNum & ~LinkFlag;
        ASSERT_TRUE(typ >= 0 && typ < TypCount && b.Verleihstatus >= 0 && b.Verleihstatus < 4);
        ++perType[typ];
        ++lending[b.Verleihstatus];
        ++keywordCounts[std::min<std::size_t>(6, std::count(b.Schlagworte.Text.begin(), b.Schlagworte.Text.end(), ';') + 1)];
        keys.insert(b.Kuerzel.Text);
        EXPECT_EQ(b.Kuerzel.Text.size(), 6u);
        EXPECT_TRUE(typ != 2 || b.Autor.Text.find(';') == std::string::npos); // one author
        EXPECT_EQ(starts(b.Bemerkung, "Diss. Univ. "), typ == 1);
        EXPECT_EQ(b.Herausgeber.Text.empty(), typ != 2 && typ != 3);
        EXPECT_EQ(b.ISBN.Text.empty(), typ > 2);
        EXPECT_EQ(ends(b.Seiten, " S."), typ <= 2);
        EXPECT_EQ(starts(b.Seiten, "S. "), typ >= 3 && typ <= 5);
        EXPECT_EQ(b.Verlag.Text.empty(), typ == 4 || typ == 5);
        EXPECT_EQ(b.HeftNr.Text.empty(), typ != 4 && typ != 5);
        EXPECT_TRUE(typ < 4 || b.Band.Text.empty() == (typ != 4));
        EXPECT_EQ(ends(b.Laenge, " min"), typ == 6);
        EXPECT_EQ(b.Auflage >= 1, typ <= 2);
        EXPECT_EQ(starts(b.Quelle, "Arbeitspapier"), typ == 7 && !(b.TypNum & LinkFlag));
        EXPECT_EQ(b.Quelle.Text.empty(), typ != 7 && !(b.TypNum & LinkFlag));
        EXPECT_EQ(b.VerliehenAn.Text.empty(), b.Verleihstatus == 0 || b.Verleihstatus == 3);
        EXPECT_EQ(starts(b.VerliehenAn, "Stadtbibliothek "), b.Verleihstatus == 2);
        EXPECT_TRUE(b.Preis <= 0 || b.JahrNum <= 0 || b.Waehrung.Text == (b.JahrNum < 2002 ? "DM" : "EUR"));
        EXPECT_LE(std::count(b.Inhalt.Text.begin(), b.Inhalt.Text.end(), '\n'), 3);
        EXPECT_EQ(b.AnzPics, static_cast<int32_t>(b.Pics.size()));
    }
    EXPECT_EQ(keys.size(), 500u);
    // The same seed gives the same catalogue: titles per type, lending state
    // and number of keywords (one to five).
    const auto counts = [](const int* from, int n) { return std::vector<int>(from, from + n); };
    EXPECT_EQ(counts(perType, TypCount), (std::vector<int>{225, 37, 32, 41, 22, 39, 29, 39, 36}));
    EXPECT_EQ(counts(lending, 4), (std::vector<int>{454, 29, 6, 11}));
    EXPECT_EQ(counts(keywordCounts, 7), (std::vector<int>{0, 86, 103, 99, 108, 104, 0}));
}

// The parameter goes where the text names it; numbers without a text get the fallback.
TEST(ErrorText, ParameterAndFallback)
{
    const struct { uint8_t nr; const char* text; } cases[] = {
        {1, "Datei P nicht gefunden!"},
        {16, "Kein Dateiname angegeben. Vorgang \"P\" abgebrochen!"},
        {0, "-- Für diesen Fehler ist kein Fehlerstring vorhanden! --"},
        {14, "-- Für diesen Fehler ist kein Fehlerstring vorhanden! --"},
        {23, "-- Für diesen Fehler ist kein Fehlerstring vorhanden! --"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cp1252ToUtf8(GetErrorText(c.nr, "P")), c.text) << int(c.nr);
}
