#include "config/OptionsDialogModel.h"
#include "shell/OptionsApply.h"
#include "support/Fakes.h"

using namespace folianto;
using folianto::test::TestApp;

namespace {

OptionsData DefaultData(int titles = 0)
{
    TestApp t;
    OptionsData data = OptionsDataOf(t.app);
    data.TitleCount = titles;
    return data;
}

int LineOf(const OptionsDialogModel& m, const char* utf8Label)
{
    const std::string label = Cp1252(utf8Label);
    for (std::size_t i = 0; i < m.ExportLines.size(); ++i)
        if (m.ExportLines[i].Label == label)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::string> Labels(const OptionsDialogModel& m)
{
    std::vector<std::string> out;
    for (const auto& line : m.ExportLines)
        out.push_back(line.Label);
    return out;
}

// Slot numbers of the export selection.
constexpr int SlotKuerzel = 0, SlotAutor = 1, SlotTitel = 3, SlotVerlag = 8;

} // namespace

TEST(OptionsDialogModel, FillsTheListsFromTheDataAndEditsHeadersInStep)
{
    OptionsDialogModel m(DefaultData());
    EXPECT_EQ(OptionsDialogModel::StartPage(), OptionsDialogModel::GeneralPage);

    // Column 9 repeats "Jahr" and is never offered; "Ort" is. The column list
    // is sorted, the header lists are not.
    ASSERT_EQ(m.ColumnItems.size(), 33u);
    ASSERT_EQ(m.InfoLines.size(), 33u);
    for (const auto& item : m.ColumnItems)
        EXPECT_NE(item.Descriptor, 9);
    EXPECT_EQ(std::count_if(m.ColumnItems.begin(), m.ColumnItems.end(), [](const auto& i) { return i.Label == "Ort"; }), 1);
    EXPECT_TRUE(std::is_sorted(m.ColumnItems.begin(), m.ColumnItems.end(),
                               [](const auto& a, const auto& b) { return a.Label < b.Label; }));
    EXPECT_TRUE(std::is_sorted(m.HeaderDescriptors.begin(), m.HeaderDescriptors.end()));
    EXPECT_EQ(m.InfoLines[1], "Titel");
    EXPECT_EQ(m.HeaderLines, m.InfoLines);

    // With no slot placed the export list is the default order, nothing checked.
    std::vector<std::string> defaults(OptionsDialogModel::ExportDefaultOrder().begin(),
                                      OptionsDialogModel::ExportDefaultOrder().end());
    EXPECT_EQ(Labels(m), defaults);
    EXPECT_EQ(std::count_if(m.ExportLines.begin(), m.ExportLines.end(), [](const auto& l) { return l.Checked; }), 0);

    // Header editing keeps both lists in step.
    m.SelectHeaderLine(2);
    EXPECT_EQ(m.HeaderEditText(), "Autor");
    m.SetHeaderEditText("Verfasser");
    EXPECT_EQ(m.HeaderLines[2], "Verfasser");
    EXPECT_EQ(m.InfoLines[2], "Autor");
    m.MoveHeaderSelection(-1);
    m.MoveHeaderSelection(-1);
    m.MoveHeaderSelection(-1);
    m.SetHeaderEditText("K"); // the first line too
    EXPECT_EQ(std::pair(m.HeaderIndex, m.HeaderLines[0]), std::pair(0, std::string("K")));
    m.SelectHeaderLine(1000);
    EXPECT_EQ(m.HeaderIndex, static_cast<int>(m.HeaderLines.size()) - 1);
    m.MoveHeaderSelection(+1);
    EXPECT_EQ(m.HeaderIndex, static_cast<int>(m.HeaderLines.size()) - 1);
    // With no line selected an edit changes no line.
    const std::vector<std::string> lines = m.HeaderLines;
    for (const int none : {-1, static_cast<int>(lines.size())}) {
        m.HeaderIndex = none;
        m.SetHeaderEditText("x");
    }
    EXPECT_EQ(m.HeaderLines, lines);
}

TEST(OptionsDialogModel, InfoLineNamesTitlesAndTruncatedEntries)
{
    struct Case {
        int titles, percent;
        const char* entries;
    } cases[] = {{400, 20, "80"}, {0, 20, "0"}, {7, 50, "3"}, {1, 100, "1"}, {400, 0, "0"}, {10000, 100, "10000"}};
    for (const Case& c : cases) {
        OptionsDialogModel m(DefaultData(c.titles));
        m.HistryLgthPrz = c.percent;
        EXPECT_EQ(Cp1252ToUtf8(m.InfoLine()),
                  "=> beim aktuellen Datenstand von " + std::to_string(c.titles) +
                      " Titeln werden die Listen je nach Listeninhalt mit ca. " + c.entries + " Einträgen gefüllt")
            << c.titles << " " << c.percent;
    }
}

TEST(OptionsDialogModel, ExportSelectionMovedUpToTheListEndsAndReopened)
{
    TestApp t;
    OptionsDialogModel m(OptionsDataOf(t.app));
    const int autor = LineOf(m, "Autor"), titel = LineOf(m, "Titel");
    m.ExportLines[static_cast<std::size_t>(autor)].Checked = true;
    m.ExportLines[static_cast<std::size_t>(titel)].Checked = true;
    m.ExportIndex = titel;
    while (LineOf(m, "Titel") > LineOf(m, "Autor"))
        ASSERT_TRUE(m.MoveExportLine(-1));
    EXPECT_EQ(m.ExportIndex, LineOf(m, "Titel")); // the selection follows the line
    ASSERT_TRUE(m.Ok(t.ui));

    const auto& slots = m.Result().settings.ExportPos;
    EXPECT_GT(slots[SlotTitel], 0);
    EXPECT_GT(slots[SlotAutor], slots[SlotTitel]);
    EXPECT_LT(slots[SlotVerlag], 0); // listed, not exported
    EXPECT_EQ(std::count(slots.begin(), slots.end(), 0), 0);

    const OptionsDialogModel reopened(m.Result());
    EXPECT_EQ(Labels(reopened), Labels(m));
    EXPECT_TRUE(reopened.ExportLines[static_cast<std::size_t>(slots[SlotTitel] - 1)].Checked);
    EXPECT_TRUE(reopened.ExportLines[static_cast<std::size_t>(slots[SlotAutor] - 1)].Checked);

    // Moving stops at the list ends.
    OptionsDialogModel d(DefaultData());
    const auto before = Labels(d);
    d.ExportIndex = 0;
    EXPECT_FALSE(d.MoveExportLine(-1));
    d.ExportIndex = ExportSlotCount - 1;
    EXPECT_FALSE(d.MoveExportLine(+1));
    EXPECT_EQ(Labels(d), before);
    EXPECT_TRUE(d.MoveExportLine(-1));
    EXPECT_EQ(d.ExportIndex, ExportSlotCount - 2);
    EXPECT_EQ(d.ExportLines.back().Label, before[ExportSlotCount - 2]);
    d.ExportIndex = 0;
    EXPECT_TRUE(d.MoveExportLine(+1));
    EXPECT_EQ(d.ExportLines[1].Label, before[0]);
}

TEST(OptionsDialogModel, EveryLabelStandsOnceWhateverTheSlotsSay)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int32_t>> slots; // slot, value
        std::vector<std::pair<const char*, int>> expect; // label, line (negative: unchecked)
    } cases[] = {
        {"partial", {{SlotAutor, 1}, {SlotTitel, -2}}, {{"Autor", 1}, {"Titel", -2}}},
        {"same place twice", {{SlotAutor, 5}, {SlotTitel, 5}}, {{"Autor", 5}}},
        {"place beyond the list", {{SlotVerlag, 99}, {SlotKuerzel, -33}}, {{"Kürzel", -33}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OptionsData data = DefaultData();
        for (const auto& [slot, value] : c.slots)
            data.settings.ExportPos[static_cast<std::size_t>(slot)] = value;
        const OptionsDialogModel m(data);
        auto labels = Labels(m);
        std::sort(labels.begin(), labels.end());
        EXPECT_EQ(std::adjacent_find(labels.begin(), labels.end()), labels.end());
        EXPECT_EQ(labels.size(), std::size_t(ExportSlotCount));
        for (const auto& [label, line] : c.expect) {
            EXPECT_EQ(LineOf(m, label), std::abs(line) - 1) << label;
            EXPECT_EQ(m.ExportLines[static_cast<std::size_t>(std::abs(line) - 1)].Checked, line > 0) << label;
        }
    }
    EXPECT_STREQ(OptionsDialogModel::ExportSlotLabel(-1), "");
    EXPECT_STREQ(OptionsDialogModel::ExportSlotLabel(ExportSlotCount), "");
}

TEST(OptionsDialogModel, HeadersThatTheGridCannotTellApartAreRefused)
{
    struct Case {
        const char* header;
        const char* message;
    } cases[] = {
        {"", "Bitte einen Header für \"Autor\" eingeben!"},
        {"   ", "Bitte einen Header für \"Autor\" eingeben!"},
        {"Titel", "Der Header \"Titel\" ist schon an \"Titel\" vergeben!"},
        {"Ort", "Der Header \"Ort\" ist schon an \"Ort\" vergeben!"},
        {"1. Auflage aus dem Jahr", "Der Header \"1. Auflage aus dem Jahr\" ist schon an \"1. Auflage aus dem Jahr\" vergeben!"}, // a column the dialog does not list
    };
    for (const Case& c : cases) {
        TestApp t;
        OptionsDialogModel m(OptionsDataOf(t.app));
        m.SelectHeaderLine(2);
        m.SetHeaderEditText(c.header);
        m.SelectHeaderLine(0);
        EXPECT_FALSE(m.Ok(t.ui)) << c.header;
        ASSERT_EQ(t.ui.messages.size(), 1u);
        EXPECT_EQ(std::tuple(Cp1252ToUtf8(t.ui.messages[0].text), t.ui.messages[0].kind),
                  std::tuple(c.message, MsgKind::Error));
        // The offending line is selected, the header unchanged.
        EXPECT_EQ(std::tuple(m.HeaderIndex, m.Result().columns[2].Header), std::tuple(2, "Autor"));
    }
}

TEST(OptionsDialogModel, OkTakesSaneNumbersAndKeepsValuesOfEmptyEdits)
{
    struct Case {
        const char* sortLength;
        const char* maxWidth;
        int expectSort, expectWidth;
    } cases[] = {
        {"99", "250", 99, 250}, {" 5", "0", 5, OptionsDialogModel::MinColWidthLimit},
        {"  ", "", 25, 250},    {"0 ", "123456789012", 0, OptionsDialogModel::MaxColWidthLimit},
        {"", "20", 25, 20},     {"12a", "-", 25, 250},
        {"", "99999999999999999999", 25, OptionsDialogModel::MaxColWidthLimit},
    };
    for (const Case& c : cases) {
        TestApp t;
        OptionsDialogModel m(OptionsDataOf(t.app));
        m.SortLengthText = c.sortLength;
        m.MaxColWidthText = c.maxWidth;
        ASSERT_TRUE(m.Ok(t.ui));
        EXPECT_EQ(m.Result().settings.SortLength, c.expectSort) << "'" << c.sortLength << "'";
        EXPECT_EQ(m.Result().settings.MaxColWidth, c.expectWidth) << "'" << c.maxWidth << "'";
    }
}

TEST(OptionsDialogModel, AbsurdSettingsAreShownSane)
{
    OptionsData data = DefaultData();
    Settings& s = data.settings;
    s.SortLength = 255;
    s.MaxColWidth = INT32_MAX;
    s.HistryLgthPrz = 500;
    s.PicSizeOption = 7;
    s.PicAutoShowOption = -3;
    s.DefaultTyp = std::string(300, 'x');
    TestApp t;
    OptionsDialogModel m(data);
    EXPECT_EQ(std::tuple(m.SortLengthText, m.MaxColWidthText, m.HistryLgthPrz, m.PicSizeOption, m.PicAutoShowOption,
                         m.DefaultTyp.size()),
              std::tuple("99", "9999", 100, 0, 0, 20u));
    ASSERT_TRUE(m.Ok(t.ui));
    // SortLength is a byte's value, kept while the edit is untouched.
    const Settings& r = m.Result().settings;
    EXPECT_EQ(std::tuple(int(r.SortLength), r.MaxColWidth, r.HistryLgthPrz), std::tuple(255, 9999, 100));
    s.SortLength = 5; // one digit is shown right-aligned
    EXPECT_EQ(OptionsDialogModel(data).SortLengthText, " 5");
}

TEST(OptionsDialogModel, OkWritesColumnsPresetsAndChoices)
{
    TestApp t;
    OptionsData data = OptionsDataOf(t.app);
    data.columns[2].Width = 120;
    data.columns[2].WidthOk = 1;
    data.SpracheItems = {"deutsch", "englisch"};
    OptionsDialogModel m(data);
    for (auto& item : m.ColumnItems)
        if (item.Descriptor == 2)
            item.Checked = false;
    m.DefaultLanguage = Cp1252("plattdeutsch und nochwas mehr");
    m.DefaultTyp = "Taschenbuch";
    m.SortItem = 1;
    m.EditAutoFill = true;
    m.PicSizeOption = 1;
    m.PicAutoShowOption = 1;
    ASSERT_TRUE(m.Ok(t.ui));

    const OptionsData& r = m.Result();
    EXPECT_EQ(std::tuple(r.columns[2].ShowCol, r.columns[2].Width, r.columns[2].Pos, r.columns[2].WidthOk),
              std::tuple(false, -1, -1, -1));
    EXPECT_EQ(std::tuple(r.columns[1].ShowCol, r.columns[1].Pos), std::tuple(true, 1));
    EXPECT_EQ(r.settings.DefaultLanguage, "plattdeutsch und noc");
    // A newly typed preset joins its list, once and cut like the preset.
    EXPECT_EQ(r.SpracheItems, (std::vector<std::string>{"deutsch", "englisch", "plattdeutsch und noc"}));
    EXPECT_EQ(r.TypItems, std::vector<std::string>{"Taschenbuch"});
    EXPECT_EQ(r.BesitzerItems, data.BesitzerItems); // an empty preset joins nothing
    EXPECT_EQ(std::tuple(r.settings.SortByAE, r.settings.EditAutoFill, r.settings.PicSizeOption,
                         r.settings.PicAutoShowOption),
              std::tuple(true, true, 1, 1));
}
