#include "core/Codec.h"
#include "core/ErrorText.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace folianto;
using folianto::test::TestApp;

TEST(TitleStore, NewBuchFillsUpToTheLimit)
{
    TitleStore store;
    for (int i = 0; i < MaxBuch; ++i)
        ASSERT_TRUE(store.NewBuch());
    EXPECT_EQ(store.AnzBuch, MaxBuch);
    EXPECT_EQ(store.at(MaxBuch)->BuchNr, MaxBuch);
    EXPECT_FALSE(store.NewBuch());
    EXPECT_EQ(store.FehlerNr, 13);
}

TEST(TitleStore, DeleteShiftsAndKeepsNumbers)
{
    TitleStore store;
    EXPECT_EQ(store.FindBuchByNr(1), -1);
    for (int i = 0; i < 3; ++i)
        store.NewBuch();
    store.ActBuch = 1;
    store.DeleteActBuch();
    ASSERT_EQ(store.AnzBuch, 2);
    EXPECT_EQ(store.at(1)->BuchNr, 2);
    EXPECT_EQ(store.at(2)->BuchNr, 3);
    EXPECT_EQ(store.at(3), nullptr);
    EXPECT_EQ(store.FindBuchByNr(3), 2);
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
    EXPECT_EQ(TypNumToName(3 | LinkFlag), "Sammelwerkbeitrag");
    EXPECT_EQ(TypNumToName(9), "");
    EXPECT_EQ(TypNumToName(-1), "");
    EXPECT_EQ(TypNameToNum("graue literatur"), 7 | LinkFlag);
    EXPECT_EQ(TypNameToNum("Roman"), 8 | LinkFlag);
    EXPECT_EQ(TypNameToNum("audio-visuelles material"), 6 | LinkFlag);
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

// The parameter goes where the text names it; numbers without a text get the fallback.
TEST(ErrorText, ParameterAndFallback)
{
    const struct { uint8_t nr; const char* text; } cases[] = {
        {1, "Datei P nicht gefunden!"},
        {16, "Kein Dateiname angegeben. Vorgang \"P\" abgebrochen!"},
        {22, "Die Datei P ist keine Folianto-Datei!\r\nDaten werden nicht geladen!"},
        {0, "-- Für diesen Fehler ist kein Fehlerstring vorhanden! --"},
        {14, "-- Für diesen Fehler ist kein Fehlerstring vorhanden! --"},
        {23, "-- Für diesen Fehler ist kein Fehlerstring vorhanden! --"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cp1252ToUtf8(GetErrorText(c.nr, "P")), c.text) << int(c.nr);
}
