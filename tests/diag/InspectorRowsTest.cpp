#include "diag/InspectorRows.h"

#include "core/Buch.h"
#include "core/Codec.h"
#include "shell/ColumnInspector.h"
#include "workspace/ColumnModel.h"

#include <gtest/gtest.h>

namespace folianto {
namespace {

TEST(InspectorRows, TitleRowsNameEveryFieldColumnRowsEveryDescriptor)
{
    TBuch b;
    b.BuchNr = 17;
    b.Kuerzel.Text = "Abc01";
    b.VerliehenAn.Text = "Herr Meier";
    b.Verleihstatus = 2;
    b.Preis = 12.345f;
    const auto rows = TitleInspectorRows(b);
    ASSERT_EQ(rows.size(), 35u);
    const struct {
        std::size_t row;
        const char* name;
        std::string value;
    } cases[] = {
        {0, "BuchNr (intern)", "17"}, {1, "Showing", "TRUE"},        {2, "Kürzel", "Abc01"},
        {20, "Abstrct/Inhalt", ""},   {27, "Verleihstatus", "Herr Meier"}, {28, "Währung", ""},
        {30, "Verleihstatus", "2"},   {31, "Jahr (num.)", "-1"},     {32, "Preis", "  12.35"},
        {33, "TypNum", "8"},          {34, "AnzPics", "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rows[c.row][0], Cp1252(c.name)) << c.row;
        EXPECT_EQ(rows[c.row][1], c.value) << c.row;
        EXPECT_EQ(rows[c.row][2], "") << c.row;
    }
    b.Preis = 1234567.0f; // too wide: cut to 7 characters
    EXPECT_EQ(TitleInspectorRows(b)[32][1], "1234567");

    // The column rows list descriptors 0 to 33.
    const auto columns = ColumnInspectorRows(ColumnModel());
    ASSERT_EQ(columns.size(), 34u);
    EXPECT_EQ(columns[0], (std::vector<std::string>{"1", Cp1252("Kürzel"), Cp1252("Kürzel"), "0", "TRUE", "-1", "-1", "1"}));
    EXPECT_EQ(columns[9][4], "FALSE");
    EXPECT_EQ(columns[33][1], "Link");
}

} // namespace
} // namespace folianto
