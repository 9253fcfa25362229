#include "core/AppError.h"
#include "application/BuchData.h"
#include "core/DatabaseFile.h"
#include "core/ErrorText.h"
#include "core/SampleCatalogue.h"
#include "platform/FileSteps.h"
#include "support/DbBytes.h"
#include "support/Fakes.h"

#include <QBuffer>

#include <chrono>
#include <csignal>
#include <cstring>
#include <random>
#include <set>

#include <unistd.h>

using namespace folianto;
using namespace folianto::test;

namespace {

// Keeps track of open wait windows and of the busy cursor.
class TrackingUi : public FakeUserInteraction {
public:
    struct Window : NullProgressWindow {
        explicit Window(int& open) : open(open) { ++open; }
        ~Window() override { --open; }
        int& open;
    };
    std::unique_ptr<ProgressWindow> showWait(const std::string& text) override
    {
        waitTexts.push_back(text);
        return std::make_unique<Window>(openWindows);
    }
    void setBusyCursor(bool busy) override { busyDepth += busy ? 1 : -1; }
    int openWindows = 0;
    int busyDepth = 0;
};

struct Env {
    TrackingUi ui;
    FakePlatform platform;
    App app{ui, platform};
    QTemporaryDir dir;

    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    QString qpath(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    bool load(const std::string& p, LoadMode mode = LoadMode::Replace) { return Load_Buch_Data(app, p, err, mode); }
    bool save(const std::string& p) { return Save_Buch_Data(app, p, err); }
    // No wait window left open, busy cursor back to normal.
    bool idle() const { return ui.openWindows == 0 && ui.busyDepth == 0; }
    std::string err;
};

std::string Header(int minor)
{
    return "Folianto1." + std::to_string(minor) + "#";
}

// Text fields of title 1 in the file.
const std::string kTexts1[27] = {Cp1252("Mül001"), Cp1252("Müller, Hans"), " ", "Stadt und Land", " ", " ",
                                    "deutsch", Cp1252("Göttingen"), "Wallstein", "978-3-89244-000-1", " ", " ",
                                    "1998", "0", "3", "S. 1-20", "Taschenbuch", "Geschichte",
                                    "Zeile 1\r\nZeile 2", " ", "Regal A3", "Stadt;Land", "/doc.pdf", " ", " ",
                                    "Karin", "EUR"};

// Title 1 uses every kind of field; title 2 is mostly blank and has a bad type.
std::string TwoTitles(int minor)
{
    Bytes t;
    for (const auto& s : kTexts1)
        t.text(s);
    t.i32(2).i32(1).i32(1998).f32(12.5f).i32(3 | LinkFlag);
    if (minor >= 3) {
        t.i32(2);
        t.i32(5).i32(129).raw("\xFF\xD8" "abc").text("Umschlag");
        t.i32(1234).i32(257).text("/bilder/x.jpg");
    }
    if (minor >= 4)
        t.f64(36526.5);
    for (int f = 1; f <= 27; ++f)
        t.text(f == 4 ? "Zweiter" : " ");
    t.i32(-1).i32(0).i32(-1).f32(-1.0f).i32(12);
    if (minor >= 3)
        t.i32(0);
    if (minor >= 4)
        t.f64(0.0);
    return t.b;
}

// One older-format record.
std::string OldRecord(const std::string& kuerzel, const std::string& titel, int32_t heftNr, int32_t laenge)
{
    std::string rec(OldRecordSize, '\0');
    const auto put = [&rec](std::size_t off, const std::string& s) {
        rec[off] = static_cast<char>(s.size());
        rec.replace(off + 1, s.size(), s);
    };
    const auto putInt = [&rec](std::size_t off, int32_t v) { rec.replace(off, 4, Bytes().i32(v).b); };
    put(0, kuerzel);
    put(358, titel);
    put(1155, "Berlin");
    put(2715, "DM");
    rec.replace(1147, 4, Bytes().f32(19.8f).b); // Preis
    putInt(1151, 2);     // Auflage
    putInt(1556, 1987);  // JahrNum
    putInt(1560, heftNr);
    putInt(1585, 7);     // Band
    putInt(1589, 4);     // TypNum
    putInt(2666, laenge);
    putInt(2670, 1);     // Verleihstatus
    putInt(4000, 99);    // title number, ignored
    return rec;
}

} // namespace

TEST(DatabaseFile, IsHeaderFormat)
{
    struct Case { std::string start; bool header; int length; } cases[] = {
        {"Folianto 1,3 #" + std::string(20, 'x'), true, 14},
        {"Folianto12.10#" + std::string(20, 'x'), true, 14},
        {"Folianto1.4#" + std::string(9, 'x'), true, 12},   // 21 bytes
        {"Folianto1.4#" + std::string(8, 'x'), false, 0},   // 20 bytes are too few
        {"FOLIANTO1.4#" + std::string(20, 'x'), false, 0},  // case matters
        {"Foliantoabc#" + std::string(20, 'x'), false, 0},
        {"Folianto1.4.5#" + std::string(20, 'x'), false, 0},
        {"Folianto123456789012#xxxxxxxxxx", false, 0},      // no number sign in bytes 9..20
        {"Folianto-1,3#" + std::string(20, 'x'), true, 13}, {"Folianto0#" + std::string(20, 'x'), true, 10},
        {"Folianto+#" + std::string(20, 'x'), false, 0},    {"Folianto.#" + std::string(20, 'x'), false, 0},
    };
    for (const Case& c : cases) {
        int len = 0;
        EXPECT_EQ(IsHeaderFormat(c.start.data(), c.start.size(), len), c.header) << c.start;
        if (c.header) {
            EXPECT_EQ(len, c.length) << c.start;
        }
    }
    int len = 0;
    EXPECT_FALSE(IsHeaderFormat(std::string("/nonexistent/D.FOL"), len));
}

// One fixture per stored data version; the same checks against each, loaded
// and merged.
TEST(DatabaseFile, LoadsAndMergesEveryHeaderVersion)
{
    for (int minor : {2, 3, 4}) {
        SCOPED_TRACE(minor);
        Env env;
        const std::string file = env.path("alt.FOL");
        WriteBytes(env.qpath("alt.FOL"), Header(minor) + TwoTitles(minor));
        int headerLen = 0;
        EXPECT_TRUE(IsHeaderFormat(file, headerLen));
        EXPECT_EQ(headerLen, 12);
        ASSERT_TRUE(env.load(file));

        App& app = env.app;
        EXPECT_EQ(app.DataVerMain, 1);
        EXPECT_EQ(app.DataVerMinor, minor);
        ASSERT_EQ(app.store.AnzBuch, 2);
        if (minor != 4) {
            ASSERT_EQ(env.ui.messages.size(), 1u);
            EXPECT_EQ(env.ui.messages[0].buttons, Buttons::YesNo);
            EXPECT_EQ(env.ui.messages[0].text,
                      "Programmversion (1.4) entspricht nicht der eingestellten Datenversion (1." +
                          std::to_string(minor) + ")!\r\nSollen die Daten aus " + file +
                          Cp1252(" mit dem Daten-Filter für Daten der Version 1.") + std::to_string(minor) +
                          " geladen werden?");
        } else {
            EXPECT_TRUE(env.ui.messages.empty());
        }

        const TBuch& a = *app.store.at(1);
        for (int f = 1; f <= TextFieldCount; ++f) {
            const std::string& stored = kTexts1[f - 1];
            // One blank, and "0" in HeftNr, read as empty.
            EXPECT_EQ(a.TextField(f).Text, stored == " " || (f == 14 && stored == "0") ? "" : stored) << f;
        }
        EXPECT_EQ(std::tuple(a.Auflage, a.Verleihstatus, a.JahrNum, a.Preis, a.TypNum, a.BuchNr),
                  std::tuple(2, 1, 1998, 12.5f, 3 | LinkFlag, 1));
        if (minor >= 3) {
            ASSERT_EQ(a.AnzPics, 2);
            ASSERT_EQ(a.Pics.size(), 2u);
            EXPECT_EQ(std::tuple(a.Pics[0].Size, a.Pics[0].Kind, a.Pics[0].BildTitel.Text), std::tuple(5, 129, "Umschlag"));
            EXPECT_EQ(std::string(a.Pics[0].Data.begin(), a.Pics[0].Data.end()), "\xFF\xD8" "abc");
            EXPECT_EQ(std::tuple(a.Pics[1].Size, a.Pics[1].Data.size(), a.Pics[1].BildTitel.Text),
                      std::tuple(1234, 0u, "/bilder/x.jpg"));
        } else {
            EXPECT_EQ(a.AnzPics, 0);
        }
        EXPECT_EQ(a.Kaufdatum, minor >= 4 ? 36526.5 : 0.0);

        const TBuch& b = *app.store.at(2);
        EXPECT_EQ(std::tuple(b.Titel.Text, b.TypNum, app.store.Gesichert(), app.DataFileName, app.history.Paths),
                  std::tuple("Zweiter", 8, false, file, std::vector<std::string>{file})); // type 12 is repaired
        EXPECT_TRUE(env.idle());
        EXPECT_EQ(env.ui.waitTexts, std::vector<std::string>{"Buchdaten werden geladen!"});

        // A merge appends and keeps the titles there; the data version becomes the file's.
        app.store.at(1)->Kuerzel.Text = "Alt";
        app.DataVerMinor = 0; // no file has it
        ASSERT_TRUE(env.load(file, LoadMode::Merge));
        ASSERT_EQ(app.store.AnzBuch, 4);
        EXPECT_EQ(std::tuple(app.store.at(1)->Kuerzel.Text, app.store.at(3)->Titel.Text, app.store.at(4)->BuchNr, app.DataVerMinor),
                  std::tuple("Alt", "Stadt und Land", 4, minor));
    }
}

TEST(DatabaseFile, LoadsTheOlderRecordFormat)
{
    Env env;
    env.app.DataVerMain = 7; // untouched by this format
    std::string second = OldRecord("K2", "Zweiter", 5, 12);
    second[1126] = static_cast<char>(200); // Sprache: length byte above its capacity of 20
    WriteBytes(env.qpath("alt.FOL"), OldRecord("K1", "Erster", 0, 0) + second);
    ASSERT_TRUE(env.load(env.path("alt.FOL")));
    ASSERT_EQ(env.app.store.AnzBuch, 2);
    EXPECT_EQ(env.app.DataVerMain, 7);
    const TBuch& a = *env.app.store.at(1);
    EXPECT_EQ(std::tuple(a.Kuerzel.Text, a.Kuerzel.Len, a.Titel.Text, a.Ort.Text, a.Waehrung.Text, a.Band.Text),
              std::tuple("K1", 2, "Erster", "Berlin", "DM", "7"));
    EXPECT_EQ(std::tuple(a.HeftNr.Text, a.Laenge.Text), std::tuple("", "0")); // 0 becomes empty only in HeftNr
    EXPECT_EQ(std::tuple(a.Preis, a.Auflage, a.JahrNum, a.TypNum, a.Verleihstatus, a.BuchNr),
              std::tuple(19.8f, 2, 1987, 4, 1, 1));
    const TBuch& b = *env.app.store.at(2);
    EXPECT_EQ(std::tuple(b.HeftNr.Text, b.Sprache.Text.size()), std::tuple("5", 20u));
    EXPECT_TRUE(env.app.store.Gesichert());
    // Merged where one title fits: the load stops after it.
    while (env.app.store.AnzBuch < MaxBuch - 1)
        env.app.store.NewBuch();
    EXPECT_FALSE(env.load(env.path("alt.FOL"), LoadMode::Merge));
    EXPECT_EQ(env.app.store.at(MaxBuch)->Kuerzel.Text, "K1");
}

// A refused file leaves the titles in memory, the current file and its data
// version as they were.
TEST(DatabaseFile, RefusedFilesChangeNothing)
{
    const std::string notLoaded = "\r\nDaten werden nicht geladen!";
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<Answer> answers;
        std::string message; // shown by the load; FehlerNr 22 when none
    } cases[] = {
        {"major version", "Folianto2.4#" + TwoTitles(4), {},
         "Programm-Hauptversion entspricht nicht der Datenversion!" + notLoaded},
        {"major version 0", "Folianto0.4#" + TwoTitles(4), {},
         "Programm-Hauptversion entspricht nicht der Datenversion!" + notLoaded},
        {"data filter declined", "Folianto1.3#" + TwoTitles(3), {Answer::No}, ""},
        {"text file", "Liebe Leserin, lieber Leser,\r\ndiese Datei ist ein Brief.\r\n", {}, ""},
        {"upper-case header", "FOLIANTO1.4#" + TwoTitles(4), {}, ""},
        {"empty file", "", {}, ""},
        {"random bytes", std::string(5000, '\xA7'), {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Env env;
        env.app.store.NewBuch();
        env.app.store.at(1)->Titel.Text = "Ungesichert";
        env.app.store.MarkChanged();
        env.app.DataFileName = env.path("aktuell.FOL");
        env.app.DataVerMain = 1;
        env.app.DataVerMinor = 4;
        WriteBytes(env.qpath("x.FOL"), c.bytes);
        env.ui.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_FALSE(env.load(env.path("x.FOL")));
        const bool own = c.message.empty() && c.answers.empty();
        EXPECT_EQ(env.app.store.FehlerNr, own ? 22 : 0);
        if (own) {
            EXPECT_EQ(GetErrorText(22, env.err), "Die Datei " + env.path("x.FOL") + " ist keine Folianto-Datei!" + notLoaded);
        }
        EXPECT_EQ(std::tuple(env.app.store.AnzBuch, env.app.store.at(1)->Titel.Text, env.app.store.Gesichert()),
                  std::tuple(1, "Ungesichert", false));
        EXPECT_EQ(std::tuple(env.app.DataFileName, env.app.DataVerMain, env.app.DataVerMinor),
                  std::tuple(env.path("aktuell.FOL"), 1, 4));
        EXPECT_EQ(env.ui.messages.size(), c.message.empty() ? c.answers.size() : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(env.ui.messages[0].text, c.message);
            EXPECT_EQ(env.ui.messages[0].kind, MsgKind::Error);
        }
        EXPECT_TRUE(env.idle());
        EXPECT_TRUE(env.app.history.Paths.empty());
    }
}

TEST(DatabaseFile, MissingEmptyOrUnreadablePaths)
{
    Env env;
    EXPECT_FALSE(env.load(env.path("fehlt.FOL")));
    EXPECT_EQ(std::tuple(env.app.store.FehlerNr, env.err, env.app.DataFileName),
              std::tuple(1, env.path("fehlt.FOL"), ""));

    EXPECT_TRUE(env.load(""));
    EXPECT_TRUE(env.ui.waitTexts.size() == 1u); // only the first load showed the wait window

    EXPECT_FALSE(env.save(""));
    EXPECT_EQ(std::tuple(env.app.store.FehlerNr, env.err), std::tuple(16, "Sichern"));

    // An unreadable version or file ends the load.
    WriteBytes(env.qpath("v.FOL"), "Folianto1.4 #" + TwoTitles(4)); // last version character is a blank
    EXPECT_THROW(env.load(env.path("v.FOL")), AppError);
    EXPECT_TRUE(env.idle());
    QDir(env.dir.path()).mkdir(QStringLiteral("d.FOL")); // exists, cannot be read
    EXPECT_THROW(env.load(env.path("d.FOL")), AppError);
}

// One message for a damaged file: its first refusal and how many titles
// were read whole, which are the titles kept; nothing after the damage is
// read.
TEST(DatabaseFile, DamagedFileIsReportedOnce)
{
    const auto refused = [](const char* id) {
        return Cp1252("Gefährlich großer Speicherblock (1000000) soll angefordert werden.\r\n"
                      "Sicherheitsabbruch an ID \"") + id + "\"!\r\n";
    };
    const auto report = [](int nr, int whole) {
        return "Fehler beim Lesen von Titel \"" + std::to_string(nr) + "\"!\r\n\r\nDie Datei D.FOL" +
               Cp1252(" ist beschädigt: ") + std::to_string(whole) +
               Cp1252(" Titel vollständig gelesen, der Rest der Datei übergangen.");
    };
    // Fields 1..3 of a title, then the rest.
    const auto start = [] { return Bytes().text("K").text("A").text(" "); };
    const auto rest = [&start](int32_t anzPics) {
        Bytes t = start().text("T");
        for (int f = 5; f <= 27; ++f)
            t.text(" ");
        return t.i32(-1).i32(0).i32(-1).f32(-1.0f).i32(0).i32(anzPics);
    };
    const std::string whole = rest(0).f64(1.0).b;
    const std::string old = OldRecord("K1", "Erster", 0, 0) + OldRecord("K2", "Zweiter", 5, 12);
    const std::string pictureTitleCut = Header(3) + rest(1).i32(0).i32(257).text("Umschlag").b;
    const struct {
        const char* name;
        std::string bytes;
        std::string message;
        int32_t kept; // -1: refused
        int32_t anzPics; // of the last title kept
    } cases[] = {
        {"first text refused", Header(4) + Bytes().i32(1000000).raw("und noch etwas").b, refused("1|1") + report(1, 0), 0, 0},
        {"text count refused", Header(4) + whole + start().i32(1000000).b, refused("2|4") + report(2, 1), 1, 0},
        {"huge AnzPics", Header(4) + rest(0x7FFFFFFF).i32(3).i32(129).raw("abc").text("ok").b, report(1, 0), 0, 0}, // runs past the end
        {"negative AnzPics", Header(4) + rest(-5).f64(1.5).b, "", 1, -5},
        {"negative Size", Header(4) + rest(1).i32(-7).i32(129).text("neg").f64(2.5).b, "", 1, 1},
        {"picture size refused", Header(4) + whole + whole + rest(1).i32(1000000).i32(1).raw("x").b, refused("3|36") + report(3, 2), 2, 0},
        {"text count beyond the end", Header(4) + start().i32(999999).raw("short").b, report(1, 0), 0, 0}, // the file ends
        {"empty catalogue", "Folianto1.4#", "", 0, 0},
        {"20 bytes: the header, the first title cut short", "Folianto1.4#" + std::string(8, 'x'), report(1, 0), 0, 0},
        {"no database at all", "Liebe Leserin,\r\n", "", -1, 0},
        {"header cut short", "Folianto1.4", report(1, 0), 0, 0},
        {"older format, last record cut short", old + OldRecord("K3", "Rest", 1, 1).substr(0, 400), report(3, 2), 2, 0},
        {"older format, the only record cut short after a '#'", OldRecord("K1", "Erster#", 0, 0).substr(0, 366), report(1, 0), 0, 0},
        {"1.3 file ending inside a picture title", pictureTitleCut.substr(0, pictureTitleCut.size() - 3), report(1, 0), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        QByteArray bytes = QByteArray::fromStdString(c.bytes);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        ASSERT_EQ(ReadBuchData(t.app, buffer, "D.FOL"), c.kept >= 0);
        std::vector<std::string> texts;
        for (const auto& m : t.ui.messages)
            if (m.buttons != Buttons::YesNo) // the version question of a 1.3 file
                texts.push_back(m.text);
        EXPECT_EQ(texts, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
        EXPECT_EQ(t.app.LoadReportedDamage, !c.message.empty());
        ASSERT_EQ(t.app.store.AnzBuch, std::max(0, c.kept)); // the count told
        if (c.kept <= 0)
            continue;
        const TBuch& b = *t.app.store.at(c.kept);
        EXPECT_EQ(b.Kuerzel.Text.substr(0, 1), "K");
        EXPECT_EQ(b.AnzPics, c.anzPics);
        EXPECT_EQ(static_cast<int32_t>(b.Pics.size()), std::max(0, c.anzPics));
        for (const TPicRec& p : b.Pics)
            EXPECT_TRUE(p.Size > 0 || p.Data.empty());
    }
}

// A broken copy: whole titles, then 200 KB of garbage. One message, every
// whole title kept, quickly; the file itself stays as it was and becomes the
// newest backup at the next save.
TEST(DatabaseFile, GarbageTailIsOneMessage)
{
    Env env;
    FillSampleCatalogue(env.app.store, 500, 11);
    ASSERT_TRUE(env.save(env.path("k.FOL")));
    std::string bytes = ReadBytes(env.qpath("k.FOL"));
    std::mt19937 random(7);
    for (int i = 0; i < 200 * 1024; ++i)
        bytes += static_cast<char>(random() & 0xFF);
    WriteBytes(env.qpath("k.FOL"), bytes);

    for (const int32_t first : {0, 3}) { // a load, and a merge into three titles
        SCOPED_TRACE(first);
        Env reader;
        for (int32_t i = 0; i < first; ++i)
            reader.app.store.NewBuch();
        const auto started = std::chrono::steady_clock::now();
        ASSERT_TRUE(reader.load(env.path("k.FOL"), first ? LoadMode::Merge : LoadMode::Replace));
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
        ASSERT_EQ(reader.ui.messages.size(), 1u);
        EXPECT_NE(reader.ui.messages[0].text.find(" ist besch\xE4" "digt: 500 Titel vollst\xE4ndig gelesen"),
                  std::string::npos);
        ASSERT_EQ(reader.app.store.AnzBuch, first + 500);
        for (int32_t i = 1; i <= 500; ++i)
            ASSERT_EQ(reader.app.store.at(first + i)->Titel.Text, env.app.store.at(i)->Titel.Text) << i;
        EXPECT_TRUE(reader.app.LoadReportedDamage);
    }

    Env reader;
    ASSERT_TRUE(reader.load(env.path("k.FOL")));
    EXPECT_EQ(ReadBytes(env.qpath("k.FOL")), bytes);
    ASSERT_TRUE(reader.save(env.path("k.FOL")));
    EXPECT_EQ(ReadBytes(env.qpath("k.BAK_FOL")), bytes);
}

TEST(DatabaseFile, RoundTripKeepsEveryField)
{
    Env env;
    ASSERT_TRUE(env.save(env.path("e.FOL"))); // an empty store is the header alone
    EXPECT_EQ(ReadBytes(env.qpath("e.FOL")), "Folianto1.4#");
    FillSampleCatalogue(env.app.store, 300, 42);
    TitleStore& store = env.app.store;
    store.at(1)->Titel.Text.clear();
    store.at(2)->Titel.Text = " ";
    ASSERT_TRUE(env.save(env.path("r.FOL")));
    EXPECT_TRUE(store.Gesichert());
    EXPECT_EQ(ReadBytes(env.qpath("r.FOL")).substr(0, 12), "Folianto1.4#");

    Env back;
    back.app.store.NewBuch();
    ASSERT_TRUE(back.load(env.path("e.FOL")));
    EXPECT_EQ(back.app.store.AnzBuch, 0);
    ASSERT_TRUE(back.load(env.path("r.FOL")));
    ASSERT_EQ(back.app.store.AnzBuch, 300);
    const auto numbers = [](const TBuch& t) {
        return std::tuple(t.Auflage, t.Verleihstatus, t.JahrNum, t.Preis, t.TypNum, t.Kaufdatum, t.AnzPics);
    };
    const auto picture = [](const TPicRec& p) { return std::tuple(p.Size, p.Kind, p.Data, p.BildTitel.Text); };
    int pictures = 0;
    for (int32_t i = 1; i <= 300; ++i) {
        const TBuch& a = *store.at(i);
        const TBuch& b = *back.app.store.at(i);
        for (int f = 1; f <= TextFieldCount; ++f) {
            const std::string& expected = a.TextField(f).Text == " " ? std::string() : a.TextField(f).Text;
            ASSERT_EQ(b.TextField(f).Text, f == 14 || f == 15 ? (expected == "0" ? "" : expected) : expected)
                << i << " " << f;
        }
        ASSERT_EQ(numbers(b), numbers(a)) << i;
        for (std::size_t k = 0; k < a.Pics.size(); ++k, ++pictures)
            ASSERT_EQ(picture(b.Pics[k]), picture(a.Pics[k])) << i;
    }
    EXPECT_GT(pictures, 5);

    // A second save of the loaded data writes the same bytes.
    ASSERT_TRUE(back.save(back.path("s.FOL")));
    EXPECT_EQ(ReadBytes(back.qpath("s.FOL")), ReadBytes(env.qpath("r.FOL")));
}

TEST(DatabaseFile, SaveVersionQuestions)
{
    const std::string question = Cp1252(
        "Programm-Version stimmt nicht mit Daten-Version über ein!\r\n"
        "Sollen die Daten gemäß der Daten-Version [JA]\r\n"
        "oder gemäß der Programm-Version [NEIN] gespeichert werden?");
    struct Case {
        int32_t main, minor;
        std::vector<Answer> answers;
        bool saved;
        std::string start; // file start and size after the save
        std::size_t size;
        std::string message;
    };
    const std::string refused = Cp1252("Programm-Hauptversion stimmt nicht mit Daten-Hauptversion über ein!\r\n"
                                       "Daten können NICHT gespeichert werden !");
    // One title with one linked picture: 27 blanks, 5 numbers, count, entry, Kaufdatum.
    const std::size_t v2 = 12 + 27 * 5 + 5 * 4;
    const std::size_t v3 = v2 + 4 + 4 + 4 + 4 + 2; // AnzPics, Size, Kind, BildTitel "/p"
    const Case cases[] = {
        {1, 3, {Answer::Yes}, true, "Folianto1.3#", v3, question},
        {1, 2, {Answer::Yes}, true, "Folianto1.2#", v2, question},
        {1, 3, {Answer::No}, true, "Folianto1.4#", v3 + 8, question},
        {1, 3, {Answer::Abort}, false, "<missing>", 9, question},
        {-1, -1, {}, true, "Folianto1.4#", v3 + 8, ""},
        {2, 4, {}, false, "<missing>", 9, refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.main) + "." + std::to_string(c.minor));
        Env env;
        env.app.DataVerMain = c.main;
        env.app.DataVerMinor = c.minor;
        env.app.store.NewBuch();
        TBuch& b = *env.app.store.at(1);
        b.TypNum = 0;
        TPicRec pic;
        pic.Kind = 257;
        pic.BildTitel.Text = "/p";
        b.Pics.push_back(pic);
        b.AnzPics = 1;
        env.app.store.MarkChanged();
        env.ui.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(env.save(env.path("v.FOL")), c.saved);
        EXPECT_EQ(env.app.store.Gesichert(), c.saved);
        const std::string bytes = ReadBytes(env.qpath("v.FOL"));
        EXPECT_EQ(bytes.substr(0, c.start.size()), c.start);
        EXPECT_EQ(bytes.size(), c.size);
        ASSERT_EQ(env.ui.messages.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(env.ui.messages[0].text, c.message);
            EXPECT_EQ(env.ui.messages[0].buttons, c.answers.empty() ? Buttons::Ok : Buttons::YesNoAbort);
        }
        EXPECT_TRUE(env.idle());
    }
}

namespace {

// A file system without hard links: the newest backup is a copy.
class NoHardLinks : public FileSteps {
public:
    bool Link(const QString& existing, const QString& name) override { return Copy(existing, name); }
};

std::map<QString, std::string> FilesIn(const QTemporaryDir& dir)
{
    std::map<QString, std::string> contents;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        contents[name] = ReadBytes(dir.filePath(name));
    return contents;
}

} // namespace

TEST(DatabaseFile, BackupGenerations)
{
    for (bool links : {true, false}) {
        SCOPED_TRACE(links);
        Env env;
        FileSteps system;
        NoHardLinks copying;
        const std::string file = env.path("x.FOL");
        for (int generation = 1; generation <= 5; ++generation) {
            env.app.store.NewBuch();
            env.app.store.at(generation)->Titel.Text = "T" + std::to_string(generation);
            ASSERT_TRUE(Save_Buch_Data(env.app, file, env.err, links ? system : static_cast<FileSteps&>(copying)));
        }
        // Titles in x.FOL and its backups .BAK_FOL, .BAK_FOL1, .BAK_FOL2.
        const auto expectTitles = [&env](std::vector<int32_t> titles) {
            for (const char* name : {"x.FOL", "x.BAK_FOL", "x.BAK_FOL1", "x.BAK_FOL2"}) {
                Env reader;
                reader.load(env.path(name));
                EXPECT_EQ(reader.app.store.AnzBuch, titles.front()) << name;
                titles.erase(titles.begin());
            }
        };
        expectTitles({5, 4, 3, 2});
        EXPECT_EQ(QDir(env.dir.path()).entryList(QDir::Files).join(QLatin1Char(' ')),
                  QStringLiteral("x.BAK_FOL x.BAK_FOL1 x.BAK_FOL2 x.FOL"));

        // A gap an interrupted save left is closed before a generation is dropped.
        QFile::remove(env.qpath("x.BAK_FOL"));
        ASSERT_TRUE(env.save(file));
        expectTitles({5, 5, 3, 2});
    }

    // Copying instead of renaming keeps the source; older copies move up a
    // number, the oldest beyond the generations goes.
    Env env;
    for (const char* content : {"1", "2", "3", "4"}) {
        WriteBytes(env.qpath("x.FOL"), content);
        BackupFile(env.path("x.FOL"), env.path("copy.BAK"), false, 2);
    }
    EXPECT_EQ(QDir(env.dir.path()).entryList(QDir::Files).join(QLatin1Char(' ')),
              QStringLiteral("copy.BAK copy.BAK1 copy.BAK2 x.FOL"));
    EXPECT_EQ(ReadBytes(env.qpath("x.FOL")) + ReadBytes(env.qpath("copy.BAK")) + ReadBytes(env.qpath("copy.BAK1")) +
                  ReadBytes(env.qpath("copy.BAK2")),
              "4432");
    BackupFile(env.path("none.FOL"), env.path("none.BAK"), true, 2);
    EXPECT_FALSE(QFile::exists(env.qpath("none.BAK")));
}

namespace {

// The file system of a save that fails, or whose process is killed, at its
// `stopAt`-th call (1 = creating the new file): every step of FileSteps
// counts alike. With stopAt 0 nothing stops and `calls` counts them.
class StoppingFiles : public FileSteps {
public:
    StoppingFiles(int stopAt, bool kill, int code = EIO) : stopAt_(stopAt), kill_(kill), code_(code) {}

    Handle CreateBeside(const QString& target, QString& created) override
    {
        return Call() ? FileSteps::CreateBeside(target, created) : NoHandle;
    }
    bool Write(Handle file, const char* data, std::size_t size) override
    {
        return Call() && FileSteps::Write(file, data, size);
    }
    bool Sync(Handle file) override { return Call() && FileSteps::Sync(file); }
    bool Close(Handle file) override { return Call() && FileSteps::Close(file); }
    bool Rename(const QString& from, const QString& to) override { return Call() && FileSteps::Rename(from, to); }
    bool Link(const QString& existing, const QString& name) override
    {
        if (!hardLinks) // the backup becomes a copy, made by the steps above
            return Copy(existing, name);
        return Call() && FileSteps::Link(existing, name);
    }
    bool Remove(const QString& path) override
    {
        ++removes;
        return Call() && FileSteps::Remove(path);
    }
    bool SyncFolder(const QString& folder) override { return Call() && FileSteps::SyncFolder(folder); }

    bool hardLinks = true;
    int calls = 0;
    int removes = 0;

private:
    // False for the call that is to fail; the undoing after it is not counted.
    bool Call()
    {
        if (stopped_)
            return true;
        stopped_ = ++calls == stopAt_;
        if (stopped_ && kill_)
            std::raise(SIGKILL);
        return !stopped_ || Failed(code_);
    }

    int stopAt_;
    bool kill_;
    int code_;
    bool stopped_ = false;
};

// A catalogue whose file takes several writes (its pictures are larger than
// the writer's buffer), made once and read into each store.
void AppendSampleWithPictures(App& app)
{
    static const QByteArray file = [] {
        TestApp t;
        FillSampleCatalogue(t.app.store, 60, 5);
        t.app.DataVerMain = 1;
        t.app.DataVerMinor = 4;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        WriteBuchData(t.app, out, "sample");
        return out.data();
    }();
    QBuffer in;
    in.setData(file);
    in.open(QIODevice::ReadOnly);
    ReadBuchData(app, in, "sample");
}

// x.FOL with 4 titles and backups of 3, 2 and 1, then unsaved titles.
void PrepareGenerations(Env& env)
{
    for (int i = 0; i < 4; ++i) {
        env.app.store.NewBuch();
        env.app.store.at(env.app.store.AnzBuch)->Titel.Text = "Fassung " + std::to_string(i);
        EXPECT_TRUE(env.save(env.path("x.FOL")));
    }
    AppendSampleWithPictures(env.app);
    env.app.store.MarkChanged();
}

int CountSaveCalls(bool hardLinks = true)
{
    Env env;
    PrepareGenerations(env);
    StoppingFiles counting(0, false);
    counting.hardLinks = hardLinks;
    EXPECT_TRUE(Save_Buch_Data(env.app, env.path("x.FOL"), env.err, counting));
    EXPECT_EQ(counting.removes, 1); // the oldest generation, nothing else
    EXPECT_EQ(QDir(env.dir.path()).entryList(QDir::Files).join(QLatin1Char(' ')),
              QStringLiteral("x.BAK_FOL x.BAK_FOL1 x.BAK_FOL2 x.FOL"));
    // With room for another generation nothing goes.
    Env young;
    young.app.store.NewBuch();
    EXPECT_TRUE(young.save(young.path("y.FOL")));
    StoppingFiles spare(0, false);
    EXPECT_TRUE(Save_Buch_Data(young.app, young.path("y.FOL"), young.err, spare));
    EXPECT_EQ(spare.removes, 0);
    return counting.calls;
}

} // namespace

// Also where the file system has no hard links and the newest backup is a
// copy: a copy that fails leaves no file of its own behind.
TEST(DatabaseFile, SaveFailingAtAnyCallLeavesFileAndBackupsIntact)
{
    for (bool hardLinks : {true, false}) {
        const int calls = CountSaveCalls(hardLinks);
        ASSERT_GE(calls, 10); // create, writes, sync, close, three generations moved, link, rename, folder
        for (int failAt = 1; failAt <= calls; ++failAt) {
            SCOPED_TRACE(std::to_string(failAt) + (hardLinks ? "" : ", copying"));
            Env env;
            PrepareGenerations(env);
            const auto before = FilesIn(env.dir);
            ASSERT_EQ(before.size(), 4u);
            StoppingFiles failing(failAt, false);
            failing.hardLinks = hardLinks;
            try {
                const bool saved = Save_Buch_Data(env.app, env.path("x.FOL"), env.err, failing);
                // Only syncing the folder and dropping the parked oldest
                // generation come after the new content has its name.
                EXPECT_TRUE(saved);
                EXPECT_GE(failAt, calls - 1);
                continue;
            } catch (const AppError& e) {
                EXPECT_EQ(std::string(e.what()), "Fehler beim Speichern der Daten in " + env.path("x.FOL") +
                                                     ".\r\nSystemfehler Nr. " + std::to_string(EIO) + ".");
            }
            EXPECT_FALSE(env.app.store.Gesichert());
            EXPECT_TRUE(env.idle());
            EXPECT_EQ(FilesIn(env.dir), before);
        }
    }
    // No backup yet: the one linked before the failure goes again.
    for (int failAt = 1;; ++failAt) {
        Env env;
        env.app.store.NewBuch();
        ASSERT_TRUE(env.save(env.path("y.FOL")));
        env.app.store.MarkChanged();
        StoppingFiles failing(failAt, false);
        try {
            if (Save_Buch_Data(env.app, env.path("y.FOL"), env.err, failing))
                break;
        } catch (const AppError&) {
        }
        EXPECT_EQ(FilesIn(env.dir).size(), 1u) << failAt;
    }
}

// Whenever the process ends during a save, x.FOL is a whole database (the old
// content or the new), so is every backup there is, and at most the oldest
// generation is gone.
TEST(DatabaseFileDeathTest, SaveKilledAtAnyCallLeavesWholeFiles)
{
    const int calls = CountSaveCalls();
    for (int killAt = 1; killAt <= calls; ++killAt) {
        SCOPED_TRACE(killAt);
        Env env;
        PrepareGenerations(env);
        const int32_t saving = env.app.store.AnzBuch;
        EXPECT_EXIT(
            {
                StoppingFiles killing(killAt, true);
                Save_Buch_Data(env.app, env.path("x.FOL"), env.err, killing);
            },
            testing::KilledBySignal(SIGKILL), "");

        // Title counts of the whole databases under each name; -1: missing.
        std::map<std::string, int32_t> titles;
        for (const char* name : {"x.FOL", "x.BAK_FOL", "x.BAK_FOL1", "x.BAK_FOL2"}) {
            if (!QFile::exists(env.qpath(name))) {
                titles[name] = -1;
                continue;
            }
            Env reader;
            EXPECT_TRUE(reader.load(env.path(name))) << name;
            EXPECT_TRUE(reader.ui.messages.empty()) << name;
            titles[name] = reader.app.store.AnzBuch;
        }
        EXPECT_TRUE(titles["x.FOL"] == 4 || titles["x.FOL"] == saving) << titles["x.FOL"];
        std::multiset<int32_t> kept;
        for (const auto& [name, count] : titles)
            kept.insert(count);
        for (int32_t generation : {4, 3, 2})
            EXPECT_EQ(kept.count(generation) > 0, true) << generation;

        // The next save completes and shifts what is there by one.
        env.app.store.NewBuch();
        ASSERT_TRUE(env.save(env.path("x.FOL")));
        Env reader;
        ASSERT_TRUE(reader.load(env.path("x.BAK_FOL")));
        EXPECT_EQ(reader.app.store.AnzBuch, titles["x.FOL"]);
    }
}

// A failed save says why, after the usual message.
TEST(DatabaseFile, FailedSaveTellsTheReason)
{
    Env env;
    env.app.store.NewBuch();
    const std::string prefix = "Fehler beim Speichern der Daten in ";
    const auto failure = [&env](const std::string& path, FileSteps& steps) {
        try {
            Save_Buch_Data(env.app, path, env.err, steps);
        } catch (const AppError& e) {
            return std::string(e.what());
        }
        return std::string("gespeichert");
    };
    FileSteps system;
    const std::string missing = env.path("fehlt/x.FOL");
    EXPECT_EQ(failure(missing, system), prefix + missing + ".\r\nDer Ordner existiert nicht.");
    StoppingFiles full(2, false, ENOSPC); // the first write
    EXPECT_EQ(failure(env.path("x.FOL"), full), prefix + env.path("x.FOL") + Cp1252(".\r\nDer Datenträger ist voll."));
    EXPECT_FALSE(QFile::exists(env.qpath("x.FOL")));
    if (::geteuid() != 0) { // the superuser writes into any folder
        QDir(env.dir.path()).mkdir(QStringLiteral("nur-lesen"));
        QFile::setPermissions(env.dir.filePath(QStringLiteral("nur-lesen")),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const std::string readOnly = env.path("nur-lesen/x.FOL");
        EXPECT_EQ(failure(readOnly, system), prefix + readOnly + ".\r\nKeine Berechtigung zum Schreiben.");
    }
    EXPECT_EQ(FilesIn(env.dir).size(), 0u); // no new file left behind
}

// A read error of the device ends the load (truncations: DamagedFiles).
TEST(DatabaseFile, ReaderOnAFailingDevice)
{
    class BrokenDevice : public QIODevice {
    public:
        BrokenDevice() { open(QIODevice::ReadOnly); }

    protected:
        qint64 readData(char* data, qint64 len) override
        {
            if (served_ > 30)
                return -1;
            const qint64 n = std::min<qint64>(len, 16);
            std::memset(data, 'F', static_cast<std::size_t>(n));
            served_ += n;
            return n;
        }
        qint64 writeData(const char*, qint64) override { return -1; }

    private:
        qint64 served_ = 0;
    };
    TestApp t;
    BrokenDevice broken;
    EXPECT_THROW(ReadBuchData(t.app, broken, "kaputt"), AppError);
}
