#include "config/IniFile.h"
#include "application/SettingsFile.h"
#include "selection/SelectionTestUtil.h"
#include "shell/OptionsApply.h"

using namespace folianto;
using namespace folianto::test;

namespace {

OptionsSnapshot Defaults()
{
    TestApp t;
    return OptionsSnapshot::Of(t.app);
}

// A grid of titles sorted by Titel, filled once.
struct FilledApp {
    FilledApp()
    {
        for (const char* titel : {"b", "a", "C"})
            AddTitle(t.app, titel);
        t.app.settings.BuchSort = 0;
        SetAusgabeData(t.app);
    }
    std::vector<std::string> Headers() const
    {
        std::vector<std::string> out;
        for (int c = 0; c < t.app.grid.ColCount(); ++c)
            out.emplace_back(t.app.grid.Cell(c, 0));
        return out;
    }
    TestApp t;
};

} // namespace

TEST(OptionsRefresh, FollowsWhatChanged)
{
    struct Case {
        const char* name;
        void (*change)(OptionsSnapshot&);
        OptionsRefresh expect; // sort buttons, headers, widths, refill
    } cases[] = {
        {"nothing", [](OptionsSnapshot&) {}, {}},
        {"column hidden", [](OptionsSnapshot& s) { s.Cells[2].ShowCol = false; }, {true, true, false, true}},
        {"column hidden and width limit changed",
         [](OptionsSnapshot& s) { s.Cells[2].ShowCol = false; s.UseMaxColWidth = true; s.AutoOptColWidth = false; },
         {true, true, false, true}},
        {"header renamed", [](OptionsSnapshot& s) { s.Cells[1].Header = "Werk"; }, {false, true, false, false}},
        {"first line only", [](OptionsSnapshot& s) { s.ShowOnlyFirstLine = true; }, {false, false, false, true}},
        {"case rule", [](OptionsSnapshot& s) { s.CaseSensitiveSort = false; }, {false, false, false, true}},
        {"fixed width limit", [](OptionsSnapshot& s) { s.UseMaxColWidth = true; s.AutoOptColWidth = false; },
         {false, false, true, true}},
        {"header and limit", [](OptionsSnapshot& s) { s.Cells[1].Header = "Werk"; s.MaxColWidth = 100; },
         {false, true, false, true}},
        {"limit while optimising", [](OptionsSnapshot& s) { s.UseMaxColWidth = true; }, {false, false, false, true}},
        {"width of a descriptor only", [](OptionsSnapshot& s) { s.Cells[1].Width = 80; }, {}},
    };
    for (const Case& c : cases) {
        OptionsSnapshot after = Defaults();
        c.change(after);
        const OptionsRefresh r = RefreshAfterOptions(Defaults(), after);
        EXPECT_TRUE(r == c.expect) << c.name << ": " << r.SortButtons << r.Headers << r.ColumnWidths << r.Refill;
    }
}

TEST(ApplyOptions, UncheckedColumnLeavesTheGrid)
{
    FilledApp f;
    App& app = f.t.app;
    const int shown = app.grid.ColCount();
    OptionsDialogModel m(OptionsDataOf(app));
    for (auto& item : m.ColumnItems)
        item.Checked = item.Label != "Autor" && item.Checked;
    ASSERT_TRUE(m.Ok(f.t.ui));
    EXPECT_TRUE(ApplyOptions(app, m.Result()).Refill);

    EXPECT_EQ(app.grid.ColCount(), shown - 1);
    const auto headers = f.Headers();
    EXPECT_EQ(std::find(headers.begin(), headers.end(), "Autor"), headers.end());
    EXPECT_EQ(std::tuple(app.columns.CellArray[ColAutor].Pos, app.columns.CellArray[ColAutor].Width), std::tuple(-1, -1));
    EXPECT_EQ(ShownTitles(app), (std::vector<std::string>{"a", "b", "C"}));
}

TEST(ApplyOptions, RenamedHeaderRebuildsOnlyTheHeaders)
{
    FilledApp f;
    App& app = f.t.app;
    app.settings.BuchSort = 1; // changed behind the grid's back: no refill may pick it up
    OptionsDialogModel m(OptionsDataOf(app));
    m.SelectHeaderLine(1);
    m.SetHeaderEditText("Werk");
    ASSERT_TRUE(m.Ok(f.t.ui));
    const OptionsRefresh r = ApplyOptions(app, m.Result());
    EXPECT_TRUE(r.Headers);
    EXPECT_FALSE(r.Refill);
    EXPECT_EQ(app.grid.Cell(app.columns.CellArray[ColTitel].Pos, 0), "Werk");
    EXPECT_EQ(ShownTitles(app), (std::vector<std::string>{"a", "b", "C"}));
}

TEST(ApplyOptions, SortLengthAloneWaitsForTheNextRefill)
{
    FilledApp f;
    App& app = f.t.app;
    OptionsDialogModel m(OptionsDataOf(app));
    m.SortLengthText = " 1";
    m.CaseSensitiveSort = true; // unchanged
    ASSERT_TRUE(m.Ok(f.t.ui));
    EXPECT_TRUE(ApplyOptions(app, m.Result()) == OptionsRefresh{});
    EXPECT_EQ(app.settings.SortLength, 1);
    EXPECT_TRUE(app.columns.ColumnsMoved);
    EXPECT_EQ(ShownTitles(app), (std::vector<std::string>{"a", "b", "C"}));
}

TEST(ApplyOptions, CaseRuleRefillsInTheOtherOrder)
{
    TestApp t;
    AddTitle(t.app, "le Carré");
    AddTitle(t.app, "Langenscheidt");
    SetAusgabeData(t.app);
    ASSERT_EQ(ShownTitles(t.app), (std::vector<std::string>{"Langenscheidt", "le Carré"}));
    OptionsDialogModel m(OptionsDataOf(t.app));
    m.CaseSensitiveSort = false;
    ASSERT_TRUE(m.Ok(t.ui));
    ApplyOptions(t.app, m.Result());
    EXPECT_EQ(ShownTitles(t.app), (std::vector<std::string>{"le Carré", "Langenscheidt"}));
}

TEST(ApplyOptions, PresetListsKeepTheirFlags)
{
    FilledApp f;
    App& app = f.t.app;
    app.lists.SpracheSearchList.AddEntry("deutsch");
    app.lists.SpracheSearchList.AddEntry("englisch");
    app.lists.SpracheSearchList.entries[1].Active = false; // a filter is set on it
    OptionsDialogModel m(OptionsDataOf(app));
    m.DefaultLanguage = "latein";
    ASSERT_TRUE(m.Ok(f.t.ui));
    ApplyOptions(app, m.Result());
    const auto& entries = app.lists.SpracheSearchList.entries;
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(std::tuple(entries[0].Active, entries[1].Active, entries[2].Text, entries[2].Active),
              std::tuple(true, false, "latein", true)); // a new entry is active
    EXPECT_EQ(app.settings.DefaultLanguage, "latein");
}

TEST(ApplyOptions, AbsurdIniGivesSaneDialogAndFile)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Folianto.INI")).toStdString();
    std::string ini = "[COMMON]\r\nSortLength=-7\r\nSaveDir=x\r\nSaveOption=99\r\nOpenFileAtStart=-1\r\n"
                      "DefaultTyp=" + std::string(500, 'T') + "\r\nDefaultLanguage=\r\nMaxColWidth=2147483647\r\n"
                      "UseMaxColWidth=5\r\nAutoOptColWidth=abc\r\nShowAllMsg=1e9\r\nShowOnlyFirstLine=-0\r\n"
                      "SortByAE=2\r\nEditAutoFill=7\r\nKuerzelZwang=0\r\nCaseSensitiveSort=\r\nHistryLgthPrz=1000\r\n"
                      "AdjustLabels=3\r\n[ShowCol]\r\n";
    for (int i = 0; i < ColumnCount; ++i)
        ini += std::to_string(i) + "=" + (i % 2 ? "-5" : "zz") + "\r\n";
    ini += "[HeaderBez]\r\n1=Autor\r\n3=   \r\n[ExportPos]\r\n";
    for (int i = 0; i < ExportSlotCount; ++i)
        ini += std::to_string(i) + "=" + std::to_string(i % 3 ? 7 : -40000) + "\r\n";
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ini.data(), static_cast<qint64>(ini.size()));
    file.close();

    TestApp t;
    ASSERT_TRUE(Read_IniFile(t.app, path));
    OptionsDialogModel m(OptionsDataOf(t.app));
    EXPECT_EQ(std::tuple(m.SortLengthText, m.MaxColWidthText, m.HistryLgthPrz, m.DefaultTyp, m.ExportLines.size()),
              std::tuple(" 0", "9999", 100, std::string(20, 'T'), std::size_t(ExportSlotCount)));
    // A header the file gives twice makes OK refuse until it is told apart.
    EXPECT_FALSE(m.Ok(t.ui));
    m.SetHeaderEditText("Titel (Autor)");
    ASSERT_TRUE(m.Ok(t.ui)) << Cp1252ToUtf8(t.ui.messages.back().text);
    ApplyOptions(t.app, m.Result());
    ASSERT_EQ(Write_IniFile(t.app, path), std::nullopt);

    TestApp back;
    ASSERT_TRUE(Read_IniFile(back.app, path));
    const Settings& s = back.app.settings;
    EXPECT_EQ(std::tuple(int(s.SortLength), s.MaxColWidth, s.HistryLgthPrz, s.DefaultTyp),
              std::tuple(0, 9999, 100, std::string(20, 'T')));
    std::vector<int32_t> places(s.ExportPos.begin(), s.ExportPos.end());
    for (auto& p : places)
        p = std::abs(p);
    std::sort(places.begin(), places.end());
    for (int i = 0; i < ExportSlotCount; ++i)
        EXPECT_EQ(places[static_cast<std::size_t>(i)], i + 1); // one line per field
}
