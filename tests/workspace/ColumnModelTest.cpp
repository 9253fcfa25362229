#include "config/Settings.h"
#include "core/Buch.h"
#include "selection/SelectionTestUtil.h"
#include "workspace/ColumnModel.h"

#include <limits>

using namespace folianto;
using folianto::test::AddTitle;
using folianto::test::TestApp;

namespace {
std::vector<int32_t> Positions(const ColumnModel& m, std::initializer_list<int> indices)
{
    std::vector<int32_t> out;
    for (int i : indices)
        out.push_back(m.CellArray[static_cast<std::size_t>(i)].Pos);
    return out;
}

void ShowOnly(ColumnModel& m, std::initializer_list<std::pair<int, int32_t>> shown)
{
    for (auto& c : m.CellArray) {
        c.ShowCol = false;
        c.Pos = -1;
    }
    for (const auto& [index, pos] : shown) {
        m.CellArray[static_cast<std::size_t>(index)].ShowCol = true;
        m.CellArray[static_cast<std::size_t>(index)].Pos = pos;
    }
}

TEST(ColumnModel, PositionNormalisation)
{
    struct Case {
        const char* name;
        std::initializer_list<std::pair<int, int32_t>> shown;
        std::vector<int32_t> expected; // positions of descriptors 1, 2, 3, 4
    } cases[] = {
        {"GapsClosed", {{1, 0}, {2, 5}, {3, 7}, {4, 9}}, {0, 1, 2, 3}},
        {"RelativeOrderKept", {{1, 9}, {2, 2}, {3, 4}, {4, 0}}, {3, 1, 2, 0}},
        {"UnplacedGoesLast", {{1, 1}, {2, -1}, {3, 0}, {4, 3}}, {1, 3, 0, 2}},
    };
    for (const auto& c : cases) {
        ColumnModel m;
        ShowOnly(m, c.shown);
        m.NormalizePositions();
        EXPECT_EQ(Positions(m, {1, 2, 3, 4}), c.expected) << c.name;
        EXPECT_EQ(m.CellArray[0].Pos, -1) << c.name;
    }
}

// A drop of the shown short key onto its own place moves nothing.
TEST(ColumnModel, DragMarksTheLayoutMoved)
{
    struct Case { int kuerzelPos; bool kuerzelShown; int dragged; bool moved; };
    for (const Case& c : {Case{0, true, 0, false}, Case{0, true, 1, true}, Case{1, true, 1, false},
                          Case{0, false, 0, true}}) {
        ColumnModel m;
        ShowOnly(m, {{0, c.kuerzelPos}, {1, 1 - c.kuerzelPos}});
        m.CellArray[0].ShowCol = c.kuerzelShown;
        m.ColumnsMoved = false;
        m.ColumnDragged(c.dragged);
        EXPECT_EQ(m.ColumnsMoved, c.moved) << c.kuerzelPos << c.kuerzelShown << c.dragged;
    }
}

TEST(ColumnModel, LayoutNormalisationClampsWidthsAndRanksPositions)
{
    ColumnModel m;
    ShowOnly(m, {{1, 4}, {2, 4}, {3, 9}, {4, -1}});
    m.CellArray[1].Width = 3;
    m.CellArray[2].Width = 5000;
    m.CellArray[3].Width = -1;
    m.CellArray[4].Width = 80;
    m.NormalizeColumnLayout(1000);
    const auto& c = m.CellArray;
    EXPECT_EQ(std::tuple(c[1].Width, c[2].Width, c[3].Width, c[4].ShowCol, c[4].Width),
              std::tuple(50, 975, -1, false, -1));
    EXPECT_EQ(Positions(m, {1, 2, 3}), (std::vector<int32_t>{0, 1, 2}));
    ShowOnly(m, {{1, 7}, {2, 3}}); // two columns are ranked too
    m.NormalizeColumnLayout(1000);
    EXPECT_EQ(Positions(m, {1, 2}), (std::vector<int32_t>{1, 0}));
}

TEST(ColumnModel, HeadersAndLayoutTakenBackFromTheGrid)
{
    ColumnModel m;
    GridModel grid;
    ShowOnly(m, {{0, 0}, {1, -1}, {2, 1}, {3, -1}});
    m.CellArray[2].Header = "Verfasser\r\nName";
    m.InitHeaders(grid, true); // the unplaced columns go last, in their order
    EXPECT_EQ(std::tuple(grid.ColCount(), grid.Cell(2, 0), m.CellArray[1].Pos, grid.Cell(3, 0), m.CellArray[3].Pos),
              std::tuple(4, "Titel", 2, "Kategorie", 3));
    m.CellArray[3].ShowCol = false;
    m.InitHeaders(grid, true);

    // The user moved the title column to the front and widened it.
    grid.MoveColumn(2, 0);
    grid.ColWidths = {300, 60, 70};
    Settings s;
    s.UseMaxColWidth = true;
    s.MaxColWidth = 250;
    m.TakeLayoutFromGrid(grid, s);
    EXPECT_EQ(Positions(m, {0, 1, 2}), (std::vector<int32_t>{1, 0, 2}));
    // The descriptor keeps the taken width, the grid the limit.
    EXPECT_EQ(std::tuple(m.CellArray[1].Width, grid.ColWidths[0], m.CellArray[2].Width), std::tuple(300, 250, 70));

    // Two descriptors with the same header: the higher one loses its place.
    m.CellArray[2].Header = "Titel";
    m.InitHeaders(grid, false);
    m.TakeLayoutFromGrid(grid, s);
    m.NormalizeColumnLayout(1920);
    EXPECT_TRUE(m.CellArray[1].ShowCol);
    EXPECT_FALSE(m.CellArray[2].ShowCol);
}

TEST(ColumnModel, CellTexts)
{
    TBuch b;
    b.Titel.Text = "T";
    b.Jahr.Text = "1999";
    b.Ort.Text = "Berlin";
    b.Inhalt.Text = "eins\r\nzwei\ndrei";
    b.Waehrung.Text = "EUR";
    b.Bemerkung.Text = "\r\n\r\nx\n";
    b.TypNum = 3 | LinkFlag;
    b.AnzPics = 2;
    b.Kaufdatum = 1.0;
    const DateFormatter date = [](double d) { return "Tag " + std::to_string(static_cast<int>(d)); };
    const CellTextFormat fmt{false, &date};
    const CellTextFormat firstLine{true, &date};
    auto text = [&](int index, const CellTextFormat& f) { return ColumnModel::CellText(b, index, f); };

    const struct { int index; bool firstLine; const char* cell; } cases[] = {
        {9, false, "1999"}, {24, false, "1999"}, {30, false, "Berlin"}, {11, false, "einszweidrei"}, {11, true, "eins"},
        {12, false, "x"}, {12, true, ""}, {5, false, "Sammelwerkbeitrag"}, {33, false, "X"}, {18, false, "2"},
        {8, false, ""} /* Auflage -1 */, {25, false, "-1"} /* JahrNum -1 */, {26, false, ""} /* Kaufdatum 1 */,
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(c.index, c.firstLine ? firstLine : fmt), c.cell) << c.index;
    b.Auflage = 3;
    EXPECT_EQ(text(8, fmt), "3");
    b.TypNum = 9;
    EXPECT_EQ(text(5, fmt) + text(33, fmt), "");
    const struct { float price; const char* cell; } prices[] = {{-1.0f, ""}, {0.005f, ""}, {0.006f, "0.01 EUR"}, {12.5f, "12.50 EUR"}, {1234567.0f, "1234567.00 EUR"}};
    for (const auto& p : prices) {
        b.Preis = p.price;
        EXPECT_EQ(text(15, fmt), p.cell) << p.price;
    }
    b.Kaufdatum = 45000.5;
    EXPECT_EQ(text(26, fmt), "Tag 45000");
    EXPECT_EQ(text(26, CellTextFormat{false, nullptr}), SystemShortDate(45000.5));
    // Any double may stand in the file; only a representable day count is a date.
    for (double days : {1e300, -1e300, std::numeric_limits<double>::infinity(),
                        std::numeric_limits<double>::quiet_NaN(), 1e15})
        EXPECT_EQ(SystemShortDate(days), "") << days;
    EXPECT_NE(SystemShortDate(45000.5), "");
}

class GridWidths : public ::testing::Test {
protected:
    GridWidths()
    {
        // Titel and Autor only; 7 pixels per character.
        ShowOnly(t.app.columns, {{1, 0}, {2, 1}});
        t.app.columns.ColumnsMoved = true;
        for (auto [titel, autor] : {std::pair{"abc", "abcdefghij"}, std::pair{"abcdefgh", "a"}}) {
            TBuch& b = AddTitle(t.app, titel);
            b.Autor.Text = autor;
        }
        t.app.settings.BuchSort = SortEingabe; // row 1 is the second title
    }
    int32_t Width(int index) const { return t.app.columns.CellArray[static_cast<std::size_t>(index)].Width; }
    TestApp t;
};

TEST_F(GridWidths, AutomaticWidthsFitTheWidestCellAndOnlyGrow)
{
    SetAusgabeData(t.app);
    EXPECT_EQ(std::tuple(Width(1), Width(2), t.app.columns.ColumnsMoved), std::tuple(8 * 7 + 10, 10 * 7 + 10, false));
    EXPECT_EQ(t.app.grid.ColWidths, (std::vector<int32_t>{66, 80}));
    t.app.store.at(2)->Titel.Text = "a";
    SetAusgabeData(t.app);
    EXPECT_EQ(Width(1), 66);
    // The short key, the first descriptor, in front.
    ShowOnly(t.app.columns, {{0, 0}, {1, 1}, {2, 2}});
    t.app.columns.ColumnsMoved = true;
    t.app.store.at(1)->Kuerzel.Text = "abcdefghijkl";
    SetAusgabeData(t.app);
    EXPECT_EQ(Width(0), 12 * 7 + 10);
    t.app.settings.UseMaxColWidth = true; // cut like any column
    t.app.settings.MaxColWidth = 50;
    SetAusgabeData(t.app);
    EXPECT_EQ(Width(0), 50);
}

TEST_F(GridWidths, AutomaticWidthStopsAtHalfTheView)
{
    t.app.grid.ViewWidth = 1000;
    t.app.store.at(1)->Titel.Text = std::string(10000, 'x');
    SetAusgabeData(t.app);
    EXPECT_EQ(std::tuple(Width(1), Width(2)), std::tuple(500, 80)); // the other columns stay in sight
    t.app.grid.ViewWidth = 0; // not shown yet: half the screen
    t.app.columns.CellArray[1].Width = -1;
    SetAusgabeData(t.app);
    EXPECT_EQ(Width(1), t.app.grid.ScreenWidth / 2);
    t.app.columns.CellArray[1].Width = 1200; // dragged wider by the user: stays
    SetAusgabeData(t.app);
    EXPECT_EQ(Width(1), 1200);
}

TEST_F(GridWidths, WithoutAutomaticWidthsTheFirstRowDecides)
{
    t.app.settings.AutoOptColWidth = false;
    SetAusgabeData(t.app);
    EXPECT_EQ(std::tuple(Width(1), Width(2), t.app.columns.CellArray[2].WidthOk),
              std::tuple(8 * 7 + 10, 1 * 7 + 10, -1));
}

TEST_F(GridWidths, HeaderWidthAndMaximum)
{
    t.app.store.at(1)->Autor.Text = "a";
    t.app.store.at(2)->Titel.Text = "abcdefghijk";
    t.app.columns.CellArray[2].Header = "Verfasser\r\nWerk"; // the wider line counts
    SetAusgabeData(t.app);
    EXPECT_EQ(t.app.grid.ColWidths[1], 9 * 7 + 10); // header wider than its cells
    EXPECT_EQ(Width(2), 17);                         // the descriptor keeps the cell width

    t.app.settings.UseMaxColWidth = true;
    t.app.settings.MaxColWidth = 70;
    for (int i : {1, 2})
        t.app.columns.CellArray[static_cast<std::size_t>(i)].Width = -1;
    SetAusgabeData(t.app);
    EXPECT_EQ(t.app.grid.ColWidths, (std::vector<int32_t>{70, 70}));
    // Column 2 stores the header's width, cut.
    EXPECT_EQ(std::tuple(Width(1), t.app.columns.CellArray[1].WidthOk, Width(2), t.app.columns.CellArray[2].WidthOk),
              std::tuple(70, 1, 70, 0));
    t.app.settings.MaxColWidth = 17; // the author cells are exactly as wide: not cut
    t.app.columns.CellArray[2].Width = -1;
    SetAusgabeData(t.app);
    EXPECT_EQ(std::tuple(Width(2), t.app.columns.CellArray[2].WidthOk), std::tuple(17, 0));
}
} // namespace

// Header and Info of every descriptor as a new model has them.
TEST(ColumnModel, DefaultHeadersLetterByLetter)
{
    const char* const headers[] = {
        "Kürzel", "Titel", "Autor", "Kategorie", "Sprache", "Typ", "Typ (freie Def.)", "Reihe", "Auflage",
        "1. Auflage aus dem Jahr", "Verlag", "Inhalt", "Bemerkung", "Schlagworte", "Standort", "Preis",
        "verliehen an", "Alt. Titel", "Anzahl Bilder", "Band", "Besitzer", "Heft-Nr.", "Herausgeber", "ISBN",
        "Jahr", "Jahrgang", "Kaufdatum", "Länge", "Medium", "Original-Titel", "Ort", "Quelle", "Seiten", "Link",
    };
    const ColumnModel m;
    for (int i = 0; i < ColumnCount; ++i) {
        const TCellRec& c = m.CellArray[static_cast<std::size_t>(i)];
        EXPECT_EQ(Cp1252ToUtf8(c.Header), headers[i]) << i;
        EXPECT_EQ(c.Info, c.Header) << i;
    }
    EXPECT_EQ(m.CellArray[ColumnCount].Header, "");
    EXPECT_EQ(std::pair(m.IndexOfHeader(""), m.IndexOfInfo("")), std::pair(-1, -1)); // the spare is never found
    EXPECT_EQ(m.ShownCount(), 33);      // "1. Auflage aus dem Jahr" is hidden
}
