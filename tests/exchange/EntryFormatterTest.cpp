#include "exchange/EntryFormatter.h"

#include "exchange/ExchangeTestUtil.h"

namespace folianto {
namespace {

using test::TestApp;

TBuch Title(int32_t typ)
{
    TBuch b;
    TitleStore::InitBuch(b);
    b.TypNum = typ;
    b.Kuerzel.Text = "K1";
    b.Autor.Text = "A";
    b.Titel.Text = "T";
    return b;
}

// The entry of each type at its edges (every entry of a generated catalogue
// is in the approved file of its texts).
TEST(EntryFormatter, PredefinedPatternPerType)
{
    struct Case {
        const char* name;
        int32_t typ;
        std::function<void(TBuch&)> fill;
        std::string entry;
        int parts;
    };
    const std::vector<Case> cases = {
        {"Monographie bare", 0, [](TBuch&) {}, "[K1]  A: T; ", 3},
        {"edition and year 0", 0, [](TBuch& b) { b.Auflage = 0; b.JahrNum = 0; }, "[K1]  A: T; ", 3},
        {"Zeitungsartikel of year 0", 5, [](TBuch& b) { b.Reihe.Text = "Z"; b.JahrNum = 0; }, "[K1]  A: T; Z", 4},
        {"Monographie with band", 0, [](TBuch& b) { b.Band.Text = "3"; b.Auflage = 0; }, "[K1]  A: T; Band 3", 4},
        {"linked Hochschulschrift", 1 | LinkFlag, [](TBuch& b) { b.JahrNum = 2000; }, "[K1]  A: T; 2000", 4},
        {"unklar", 8, [](TBuch& b) { b.Verlag.Text = "V"; }, "[K1]  A: T; V", 4},
        {"Sammelwerk bare", 2, [](TBuch&) {}, "[K1]  A: T; ", 3},
        {"Sammelwerk ends with year", 2, [](TBuch& b) { b.Verlag.Text = "V"; b.JahrNum = 1990; },
         "[K1]  A: T; V, 1990", 5},
        {"Zeitungsartikel full", 5,
         [](TBuch& b) { b.Reihe.Text = "Z"; b.JahrNum = 2001; b.Band.Text = "4"; b.Seiten.Text = "5-9"; },
         "[K1]  A: T; Z, 2001, Band 4, Seiten: 5-9", 7},
        {"Zeitungsartikel bare", 5, [](TBuch&) {}, "[K1]  A: T; ", 3},
        {"Audio-visuell", 6, [](TBuch& b) { b.Quelle.Text = "Q"; b.Laenge.Text = "90 min"; },
         "[K1]  A: T; Q, 90 min", 5},
        {"Audio-visuell empty", 6, [](TBuch&) {}, "[K1]  A: T; ", 5},
        {"unknown type number", 12, [](TBuch& b) { b.Verlag.Text = "V"; }, "[K1]  A: T; ", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBuch b = Title(c.typ);
        c.fill(b);
        const ExportEntry e = FormatPredefinedEntry(b);
        EXPECT_EQ(e.Text, c.entry);
        EXPECT_EQ(e.Parts, c.parts);
    }
}

TEST(EntryFormatter, ExportSelection)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int32_t>> slots; // slot, value
        std::string entry;
        int parts;
    };
    const std::vector<Case> cases = {
        {"author then title", {{1, 1}, {3, 2}}, "A; T", 2},
        {"with key first", {{0, 1}, {1, 2}, {3, 3}}, "[K1]; A; T", 3},
        {"gap at place 2", {{1, 1}, {3, 3}}, "A; T", 2},
        {"listed but not exported", {{1, 1}, {3, -2}}, "A", 1},
        {"empty fields keep their place", {{2, 1}, {1, 2}, {4, 3}, {3, 4}}, "; A; ; T", 4},
        {"Ort wins place 1 before Seiten", {{7, 1}, {15, 1}}, "Wien", 1},
        {"numbers", {{27, 1}, {28, 2}, {29, 3}, {31, 4}}, "-1; 0; 1980; 1073741824", 4},
        {"Jahr falls back to JahrNum", {{12, 1}}, "1980", 1},
        {"price", {{30, 1}, {26, 2}}, "12.50; EUR", 2},
        {"nothing exported", {}, "", 0},
        {"place 33", {{1, 33}}, "A", 1},
        {"place beyond 33", {{1, 40}}, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBuch b = Title(LinkFlag);
        b.Ort.Text = "Wien";
        b.Seiten.Text = "99";
        b.JahrNum = 1980;
        b.Preis = 12.5f;
        b.Waehrung.Text = "EUR";
        std::array<int32_t, ExportSlotCount> pos{};
        for (auto [slot, v] : c.slots)
            pos[static_cast<std::size_t>(slot)] = v;
        const ExportEntry e = FormatSelectionEntry(b, pos);
        EXPECT_EQ(e.Text, c.entry);
        EXPECT_EQ(e.Parts, c.parts);
    }
}

TEST(EntryFormatter, SlotTexts)
{
    test::GermanLocale german;
    TBuch b = Title(3);
    b.Jahr.Text = "ca. 1900";
    EXPECT_EQ(ExportSlotText(b, 12), "ca. 1900");
    EXPECT_EQ(ExportSlotText(b, 30), "");  // no price
    EXPECT_EQ(ExportSlotText(b, 32), "");  // no purchase date
    b.Kaufdatum = 1.0;
    EXPECT_EQ(ExportSlotText(b, 32), "");
    b.Kaufdatum = 45000.75;
    EXPECT_EQ(ExportSlotText(b, 32), "15.03.2023");
    for (auto [preis, text] : {std::pair{0.005f, ""}, {0.006f, "0.01"}, {9.5f, "9.50"}}) {
        b.Preis = preis;
        EXPECT_EQ(ExportSlotText(b, 30), text) << preis;
    }
}

TEST(EntryFormatter, EntryOfTheAppAndClipboard)
{
    TestApp t;
    TBuch& b = test::AddTitle(t.app);
    b.Kuerzel.Text = "K1";
    b.Autor.Text = "A";
    b.Titel.Text = "T";
    b.TypNum = 0;
    t.app.store.ActBuch = 1;
    test::ShowAllTitles(t.app);
    t.app.grid.Row = 1;
    EXPECT_EQ(FormatEntry(t.app, 0).Parts, 0);
    EXPECT_EQ(FormatEntry(t.app, 2).Text, "");

    t.ui.clipboard = "vorher";
    CopyEntryToClipboard(t.app); // no own selection: the clipboard stays
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(std::tuple(t.ui.messages[0].kind, t.ui.messages[0].text),
              std::tuple(MsgKind::Information, "Unter Optionen wurde keine eigene Export-Auswahl festgelegt.\r\n"
                                               "Daher wird nun auch nichts exportiert!"));
    EXPECT_EQ(t.ui.clipboard, "vorher");

    t.app.settings.ExportPos[3] = 2;
    t.app.settings.ExportPos[1] = -1;
    EXPECT_EQ(FormatEntry(t.app, 1).Text, "T");
    CopyEntryToClipboard(t.app);
    EXPECT_EQ(t.ui.clipboard, "T");

    t.app.settings.ExportPos = {};
    t.app.settings.VorgegExportAuswahl = true; // the type pattern needs no own selection
    EXPECT_EQ(FormatEntry(t.app, 1).Text, "[K1]  A: T; ");
    CopyEntryToClipboard(t.app);
    EXPECT_EQ(t.ui.clipboard, "[K1]  A: T; ");
    EXPECT_EQ(t.ui.messages.size(), 1u);
}

} // namespace
} // namespace folianto
