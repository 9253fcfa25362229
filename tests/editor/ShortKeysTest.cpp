#include "editor/ShortKeys.h"
#include "support/Fakes.h"

using namespace folianto;
using folianto::test::TestApp;

namespace {

int32_t AddTitle(App& app, const std::string& kuerzel, const std::string& autor = "")
{
    EXPECT_TRUE(app.store.NewBuch());
    TBuch& b = *app.store.at(app.store.AnzBuch);
    b.Kuerzel.Text = kuerzel;
    b.Autor.Text = autor;
    return app.store.AnzBuch;
}

// Appends an imported title without key and generates one.
std::string Generate(App& app, const std::string& autor)
{
    app.store.ActBuch = AddTitle(app, "", autor);
    Kuerzel_erzeugen(app.store, app.settings);
    return app.store.current()->Kuerzel.Text;
}

} // namespace

TEST(ShortKeys, NumberFormat)
{
    struct Case { int64_t n; int32_t digits; const char* text; };
    for (const Case& c : {Case{1, 3, "001"}, Case{42, 3, "042"}, Case{1234, 3, "1234"}, Case{7, 0, "7"},
                          Case{7, 1, "7"}, Case{12, 5, "00012"}})
        EXPECT_EQ(FormatKuerzelNumber(c.n, c.digits), c.text);
}

TEST(ShortKeys, GeneratedKeys)
{
    TestApp t;
    for (const auto& [autor, key] : {std::pair{"M\xFCller, Hans", "M\xFCl001"}, {"M\xFChlmann", "M\xFCh001"},
                                     {"M\xFCller, Eva", "M\xFCl002"}, {"", "___001"}, {"Eco", "Eco001"},
                                     {"Ec", "Ec_001"}, {" ,Ab", " ,A001"}}) // in order: a key counts those before
        EXPECT_EQ(Generate(t.app, autor), key) << autor;
    t.app.settings.LZerzwK = 1;
    EXPECT_EQ(Generate(t.app, "M\xFCller"), "M\xFCl1"); // Mül001 is another key
    // Taken keys in other letter case count as taken.
    AddTitle(t.app, "ABC1");
    EXPECT_EQ(Generate(t.app, "abcdef"), "abc2");
}

TEST(ShortKeys, UniquenessFoldsAsciiLettersOnly)
{
    TestApp t;
    AddTitle(t.app, "M\xDCL001");
    const int32_t own = AddTitle(t.app, "abc");
    struct Case { const char* key; int32_t skip; bool unique; };
    const Case cases[] = {{"M\xDCl001", 0, false}, {"M\xFCl001", 0, true}, {"   ", 0, false},
                          {"", 0, false},          {"ABC", 0, false},      {"ABC", own, true},
                          {"neu", 0, true}};
    for (const Case& c : cases)
        EXPECT_EQ(KuerzelIsUnique(t.app.store, c.key, c.skip), c.unique) << c.key;
}

TEST(ShortKeys, UniqueVariants)
{
    using Keys = std::vector<std::string>;
    struct Case { Keys store; std::string result; };
    // The last key of each store is the imported title's own.
    const Case cases[] = {
        {{"A", "X"}, "X"},                                         // free: kept
        {{"X", "X"}, "X_002"},                                     // held once
        {{"Eco001", "Eco001", "Eco001_003", "Eco001"}, "Eco001_002"}, // the documented walk
        {{"x", "X"}, "X"},                                         // exact comparison
        {{"B", "B_002", "B"}, "B_003"},                            // walk would repeat B_002
        {{"B", "B_002", "B_002", "B_003", "B"}, "B_004"},          // walk would cycle B_003 <-> B_002
    };
    for (const Case& c : cases) {
        TestApp t;
        for (const auto& k : c.store)
            AddTitle(t.app, k);
        EXPECT_EQ(MakeUniqueKuerzel(t.app.store, t.app.settings, t.app.store.AnzBuch), c.result) << c.store[0];
    }
    TestApp t;
    EXPECT_EQ(MakeUniqueKuerzel(t.app.store, t.app.settings, 1), ""); // no such title
}

TEST(ShortKeys, ManyTitlesOfOneAuthorAndKey)
{
    TestApp t;
    for (int i = 0; i < 3000; ++i)
        Generate(t.app, "Schmidt");
    for (int i = 0; i < 3000; ++i) {
        AddTitle(t.app, "Sch001");
        t.app.store.at(t.app.store.AnzBuch)->Kuerzel.Text = MakeUniqueKuerzel(t.app.store, t.app.settings, t.app.store.AnzBuch);
    }
    for (const auto& [slot, key] : {std::pair{3000, "Sch3000"}, {3001, "Sch001_002"}, {6000, "Sch001_3001"}})
        EXPECT_EQ(t.app.store.at(slot)->Kuerzel.Text, key);
}
