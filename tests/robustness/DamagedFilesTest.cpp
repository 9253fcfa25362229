// Every file the program reads, cut short and with bytes flipped: each load
// ends cleanly or in its loader's German error text, and a load reported as
// clean holds only what the file really contained.

#include "application/BuchData.h"
#include "application/SettingsFile.h"
#include "config/IniFile.h"
#include "core/AppError.h"
#include "core/DatabaseFile.h"
#include "core/ErrorText.h"
#include "core/SampleCatalogue.h"
#include "exchange/TextImport.h"
#include "spreadsheet/Workbook.h"
#include "support/DbBytes.h"
#include "support/Fakes.h"

#include <QBuffer>

#include <random>

using namespace folianto;
using namespace folianto::test;

namespace {

// What one load ended in.
struct Outcome {
    std::string error; // the first error text shown or thrown; empty for a clean load
    bool intact = true; // a clean load holds exactly what the bytes contain
};

struct Fixture {
    const char* name;
    std::string bytes;
    // Loads `bytes`; `cutFrom` is the fixture the bytes were cut from (the
    // same bytes for flips), to tell a whole prefix from a half-read one.
    std::function<Outcome(const std::string& bytes, const std::string& cutFrom)> load;
    std::vector<std::string> errorTexts; // how each error text of the loader starts
};

std::string FuzzCorpus(const char* file)
{
    return ReadBytes(QStringLiteral(FOLIANTO_SOURCE_DIR "/fuzz/") + QString::fromLatin1(file));
}

std::string FirstError(const FakeUserInteraction& ui)
{
    for (const RecordedMessage& m : ui.messages)
        if (m.kind == MsgKind::Error)
            return m.text;
    return {};
}

// One application object for all loads of a fixture: emptying it costs only
// the titles the last load left.
TestApp& Reused()
{
    static TestApp t;
    t.app.settings = Settings();
    t.app.columns = ColumnModel();
    t.app.store.Clear();
    t.app.store.ActBuch = 0;
    t.app.store.MarkSaved();
    t.app.store.FehlerNr = 0;
    t.app.DataVerMain = -1;
    t.app.DataVerMinor = -1;
    t.ui.messages.clear();
    return t;
}

std::string Written(const App& app)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    WriteBuchData(app, out, "out.FOL");
    return out.data().toStdString();
}

Outcome LoadDatabase(const std::string& bytes, const std::string& cutFrom, bool olderFormat)
{
    TestApp& t = Reused();
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    Outcome result;
    try {
        if (!ReadBuchData(t.app, buffer, "D.FOL") && t.app.store.FehlerNr != 0)
            result.error = GetErrorText(t.app.store.FehlerNr, "D.FOL");
    } catch (const AppError& e) {
        result.error = e.what();
    }
    if (result.error.empty())
        result.error = FirstError(t.ui);
    if (!result.error.empty() || bytes.size() == cutFrom.size())
        return result;
    if (olderFormat)
        result.intact = bytes.size() == static_cast<std::size_t>(t.app.store.AnzBuch) * OldRecordSize;
    else // whole titles write back as the bytes they came from
        result.intact = t.app.store.AnzBuch == 0 ? bytes.size() <= 20 : Written(t.app) == bytes;
    return result;
}

std::string CellTexts(Workbook& workbook)
{
    LocaleNumberFormatter fmt("de_DE");
    std::string texts;
    for (std::size_t s = 0; s < workbook.SheetCount(); ++s) {
        const Sheet& sheet = workbook.GetSheet(s);
        sheet.ForEachCell([&](const Sheet::Cell& c) { texts += sheet.ReadCellText(c.col, c.row, fmt) + '\t'; });
    }
    return texts;
}

Outcome LoadWorkbook(const std::string& bytes, const std::string& cutFrom)
{
    Outcome result;
    Workbook workbook;
    workbook.SetFileName("/daten/Liste.xls");
    try {
        workbook.ReadFromBytes(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    } catch (const WorkbookError& e) {
        result.error = e.what();
        return result;
    }
    if (bytes.size() != cutFrom.size()) { // only padding may go unnoticed
        Workbook whole;
        whole.ReadFromBytes(std::vector<uint8_t>(cutFrom.begin(), cutFrom.end()));
        result.intact = CellTexts(workbook) == CellTexts(whole);
    }
    return result;
}

// A settings file never fails to load; what it sets stays in range.
Outcome LoadSettings(const std::string& bytes, const std::string&)
{
    TestApp& t = Reused();
    t.app.history = FileHistory();
    ReadSettings(t.app, IniFile(bytes));
    Outcome result;
    for (int i = 0; i < ColumnCount; ++i) {
        const TCellRec& c = t.app.columns.CellArray[static_cast<std::size_t>(i)];
        result.intact = result.intact && c.Pos >= -1 && c.Pos < ColumnCount && c.Width >= -1;
    }
    result.intact = result.intact && t.app.settings.BuchSort <= 7 && t.app.history.Paths.size() <= 5;
    return result;
}

// Every line of an import text becomes one title, whatever its bytes.
Outcome LoadImportText(const std::string& bytes, const std::string&)
{
    TestApp& t = Reused();
    t.app.settings.ImpExp.Trennzeichen = '\t';
    t.app.settings.ImpExp.Kopfzeilen = 0;
    for (int i = 0; i < 10; ++i)
        t.app.columns.CellArray[static_cast<std::size_t>(i)].ImportPos = static_cast<int8_t>(i + 1);
    const std::vector<std::string> lines = SplitLines(bytes);
    Outcome result;
    for (const std::string& line : lines)
        if (!ImportEntry(t.app, line))
            result.error = "Fehler beim Importieren";
    result.intact = t.app.store.AnzBuch == static_cast<int32_t>(lines.size());
    return result;
}

std::string HeaderFormatFixture()
{
    TestApp t;
    FillSampleCatalogue(t.app.store, 12, 7);
    t.app.store.at(3)->Pics.push_back({});
    TPicRec& pic = t.app.store.at(3)->Pics.back();
    pic.Data = MakeSampleJpeg(3, 600, 900);
    pic.Size = static_cast<int32_t>(pic.Data.size());
    pic.Kind = 1;
    pic.BildTitel.Text = "Umschlag";
    t.app.store.at(3)->AnzPics = 1;
    t.app.DataVerMain = 1;
    t.app.DataVerMinor = 4;
    return Written(t.app);
}

// Three records of the older format (the first two of the fuzz seed).
std::string OlderFormatFixture()
{
    const std::string seed = FuzzCorpus("corpus_load/older_records.FOL");
    return seed.substr(0, OldRecordSize) + seed.substr(OldRecordSize, OldRecordSize) + seed.substr(0, OldRecordSize);
}

std::string ImportTextFixture()
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Mei" + std::to_string(i) + Cp1252("\tMeier, Jürgen\t\tDas Recht\tdeutsch\tBerlin\t3-12\r\n");
    return text;
}

std::vector<Fixture> Fixtures()
{
    const std::vector<std::string> databaseErrors = {
        "Fehler beim Lesen von Titel \"", Cp1252("Gefährlich großer Speicherblock ("),
        "Konnte Dateiformat NICHT erkennen!", "Programm-Hauptversion entspricht nicht der Datenversion!",
        Cp1252("Ungültige Versionsangabe \""), "Fehler beim Lesen aus D.FOL!",
        "Die Datei D.FOL ist keine Folianto-Datei!"};
    const auto header = [](const std::string& b, const std::string& c) { return LoadDatabase(b, c, false); };
    const auto older = [](const std::string& b, const std::string& c) { return LoadDatabase(b, c, true); };
    const std::vector<std::string> workbookErrors = {"Die Datei /daten/Liste.xls ist "};
    return {
        {"database 1.4", HeaderFormatFixture(), header, databaseErrors},
        {"database 1.2", FuzzCorpus("corpus_load/header_1_2.FOL"), header, databaseErrors},
        {"older database", OlderFormatFixture(), older, databaseErrors},
        {"workbook", ReadBytes(QStringLiteral(FOLIANTO_TEST_DATA "/libreoffice.xls")), LoadWorkbook, workbookErrors},
        {"exported workbook", FuzzCorpus("corpus_workbook/export_grid.xls"), LoadWorkbook, workbookErrors},
        {"settings", FuzzCorpus("corpus_ini/written.INI"), LoadSettings, {}},
        {"import text", ImportTextFixture(), LoadImportText, {}},
    };
}

bool KnownError(const Fixture& f, const std::string& text)
{
    for (const std::string& start : f.errorTexts)
        if (text.compare(0, start.size(), start) == 0)
            return true;
    return false;
}

} // namespace

TEST(DamagedFiles, TruncationsAndFlippedBytesEndCleanlyOrInTheirMessage)
{
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.name);
        ASSERT_GT(f.bytes.size(), 64u);
        const Outcome whole = f.load(f.bytes, f.bytes);
        ASSERT_EQ(whole.error, "");
        ASSERT_TRUE(whole.intact);

        int failures = 0;
        const auto check = [&](const Outcome& o, const char* what, std::size_t at) {
            const bool ok = o.error.empty() ? o.intact : KnownError(f, o.error);
            EXPECT_TRUE(ok) << what << " at " << at << ": " << (o.error.empty() ? "half-read, no message" : o.error);
            failures += !ok;
        };
        for (std::size_t cut = 0; cut < f.bytes.size() && failures < 5; cut += 64)
            check(f.load(f.bytes.substr(0, cut), f.bytes), "cut", cut);

        std::mt19937 random(20261207);
        std::uniform_int_distribution<std::size_t> position(0, f.bytes.size() - 1);
        std::uniform_int_distribution<int> mask(1, 255);
        for (int i = 0; i < 500 && failures < 10; ++i) {
            std::string damaged = f.bytes;
            const std::size_t at = position(random);
            damaged[at] = static_cast<char>(damaged[at] ^ mask(random));
            check(f.load(damaged, damaged), "flip", at);
        }
    }
}
