#include "exchange/ImportDialogModel.h"

#include "exchange/ExchangeTestUtil.h"

namespace folianto {
namespace {

using test::TestApp;

const std::string kDuplicates =
    Cp1252("Es existieren doppelte Zuweisungen!\r\nBitte, überprüfen Sie die Import-Spaltenabfolge!");
const std::string kNoRange = Cp1252("Fehler: Es werden gemäß der Einstellungen KEINE Daten importiert!\r\n"
                                    "Kontrollieren Sie die Einstellungen auf der Seite \"Import aus Excel\".");

TEST(ImportDialogModel, TextModeFilledFromSettingsAndDescriptors)
{
    TestApp t;
    t.app.columns.CellArray[1].ImportPos = 40;
    t.app.columns.CellArray[18].ImportPos = 19;
    t.app.settings.ImpExp.Trennzeichen = ';';
    ImportDialogModel m(t.app, ImportDialogModel::TextMode);
    // "Anzahl Bilder" always shows 0.
    EXPECT_EQ(std::tuple(m.Positions[1], m.Positions[18], m.Delimiter), std::tuple("40", "0", ";"));
    EXPECT_EQ(m.HintText().rfind("Hinweis: das Trennzeichen wird im zu im- portierenden Text", 0), 0u);
    EXPECT_EQ(std::tuple(m.HeaderLinesEnabled(), m.WorkbookPageVisible(), m.HasTextFile()),
              std::tuple(true, false, false));
    m.Activate();
    EXPECT_TRUE(t.ui.messages.empty());
    EXPECT_TRUE(m.Ok()); // counts of 0 do not matter for a text import
}

TEST(ImportDialogModel, OkChecks)
{
    struct Case {
        const char* name;
        std::function<void(ImportDialogModel&)> edit;
        std::string message; // empty: OK closes
    };
    const std::vector<Case> cases = {
        {"defaults", [](ImportDialogModel&) {}, ""},
        {"two rows at 3", [](ImportDialogModel& m) { m.Positions[5] = "3"; }, kDuplicates},
        {"3 and 3,4 read alike", [](ImportDialogModel& m) { m.Positions[5] = "3,4"; }, kDuplicates},
        {"two rows at 0", [](ImportDialogModel& m) { m.Positions[1] = "0"; m.Positions[2] = "0"; }, ""},
        {"negative twice", [](ImportDialogModel& m) { m.Positions[1] = "-1"; m.Positions[2] = "-1"; }, ""},
        {"reset leaves a gap at 19", [](ImportDialogModel& m) { m.Positions[4] = "30"; m.Reset(); }, ""},
        {"empty delimiter", [](ImportDialogModel& m) { m.Delimiter = " "; },
         Cp1252("Es wurde kein Trennzeichen angegeben!\r\nBitte, überprüfen Sie das Trennzeichen!")},
        {"delimiter of another script", [](ImportDialogModel& m) { m.Delimiter = Cp1252("ł"); },
         Cp1252("Das Trennzeichen muss ein Zeichen des Windows-Zeichensatzes sein!\r\n"
                "Bitte, überprüfen Sie das Trennzeichen!")},
        {"ampersand", [](ImportDialogModel& m) { m.Delimiter = "&"; }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        ImportDialogModel m(t.app, ImportDialogModel::TextMode);
        c.edit(m);
        EXPECT_EQ(m.Validate(), c.message);
        EXPECT_EQ(m.Ok(), c.message.empty());
        if (c.message.empty()) {
            EXPECT_TRUE(t.ui.messages.empty());
        } else {
            ASSERT_EQ(t.ui.messages.size(), 1u);
            EXPECT_EQ(t.ui.messages[0].kind, MsgKind::Error);
            EXPECT_EQ(t.ui.messages[0].text, c.message);
        }
    }
}

TEST(ImportDialogModel, OkStoresPositionsAndSettings)
{
    TestApp t;
    ImportDialogModel m(t.app, ImportDialogModel::TextMode);
    m.Positions[0] = "0";
    m.Positions[1] = "40";
    m.Positions[2] = "-3";
    m.Positions[18] = "5";
    m.Kopfzeilen = 2;
    m.Delimiter = "  ;";
    ASSERT_TRUE(m.Ok());
    const auto& cells = t.app.columns.CellArray;
    EXPECT_EQ((std::vector<int>{cells[0].ImportPos, cells[1].ImportPos, cells[2].ImportPos, cells[3].ImportPos,
                                cells[18].ImportPos, cells[34].ImportPos}),
              (std::vector<int>{0, 40, -3, 4, 0, 0}));
    EXPECT_EQ(std::tuple(t.app.settings.ImpExp.Kopfzeilen, t.app.settings.ImpExp.Trennzeichen), std::tuple(2, ';'));
}

// Abbrechen and a refused OK keep the delimiter but not the positions.
TEST(ImportDialogModel, CancelAndRefusedOkKeepDelimiterOnly)
{
    for (const bool cancel : {true, false}) {
        TestApp t;
        ImportDialogModel m(t.app, ImportDialogModel::TextMode);
        m.Delimiter = "#";
        m.Positions[3] = "1"; // a duplicate of Kürzel
        if (cancel)
            m.Cancel();
        else
            EXPECT_FALSE(m.Ok());
        EXPECT_EQ(t.app.settings.ImpExp.Trennzeichen, '#');
        EXPECT_EQ(t.app.columns.CellArray[3].ImportPos, 4);
    }
}

TEST(ImportDialogModel, WorkbookModeRangeAndHint)
{
    TestApp t;
    ImportDialogModel m(t.app, ImportDialogModel::WorkbookMode);
    EXPECT_EQ(m.HintText().rfind("Hinweis: beim Import aus Excel", 0), 0u);
    EXPECT_EQ(std::tuple(m.HeaderLinesEnabled(), m.WorkbookPageVisible()), std::tuple(false, true));

    m.Activate();
    m.Activate();
    ASSERT_EQ(t.ui.messages.size(), 1u); // the hint shows once
    EXPECT_EQ(t.ui.messages[0].text,
              Cp1252("Bitte beachten Sie die Hinweise auf Einschränkungen \r\nund Randbedingungen für den Import aus "
                     "Excel-Dateien!"));

    m.AnzRows = 10;
    m.FirstCol = 3;
    EXPECT_EQ(m.Validate(), kNoRange);
    EXPECT_FALSE(m.Ok());
    EXPECT_EQ(t.ui.messages.back().text, kNoRange);
    EXPECT_EQ(t.app.settings.ImpExp.FirstCol, 1); // the dialog stayed open

    m.AnzCols = 4;
    EXPECT_TRUE(m.Ok());
    EXPECT_EQ(std::tuple(t.app.settings.ImpExp.AnzRows, t.app.settings.ImpExp.FirstCol), std::tuple(10, 3));

    m.Reset();
    EXPECT_EQ(m.AnzRows, 0);
}

TEST(ImportDialogModel, AcceptsKey)
{
    for (const auto& [text, key, accepted] : {std::tuple<const char*, char, bool>{"1", '7', true}, {"", '0', true}, {"", '9', true},
                                              {"", '-', true}, {"-1", '-', false}, {"12", 8, true},
                                              {"12", 27, true}, {"12", 'a', false}, {"12", ',', false}})
        EXPECT_EQ(ImportDialogModel::AcceptsKey(text, key), accepted) << text << " " << key;
}

} // namespace
} // namespace folianto
