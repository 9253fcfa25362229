#include "diag/TraceLog.h"
#include "support/Fakes.h"

#include <QRegularExpression>

#include <csignal>
#include <exception>

using namespace folianto;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The whole line matches the pattern.
bool Matches(const std::string& line, const char* pattern)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(QString::fromLatin1(pattern)))
        .match(QString::fromLatin1(line.c_str()))
        .hasMatch();
}

Bytes ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.readAll();
    return Bytes(data.begin(), data.end());
}

// One slot as the file holds it: encoded characters, zero padding.
Bytes Slot(const std::string& text)
{
    Bytes slot(TraceLog::SlotSize, 0);
    for (std::size_t i = 0; i < text.size() && i < slot.size(); ++i)
        slot[i] = static_cast<std::uint8_t>((static_cast<unsigned char>(text[i]) + 128) % 256);
    return slot;
}

Bytes SlotOf(const Bytes& image, int slot)
{
    const auto begin = image.begin() + slot * TraceLog::SlotSize;
    return Bytes(begin, begin + TraceLog::SlotSize);
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class TraceLogTest : public ::testing::Test {
protected:
    std::string logFile() const { return dir.path().toStdString() + "/Folianto.KEL"; }
    QString kel() const { return dir.path() + QStringLiteral("/Folianto.KEL"); }

    QTemporaryDir dir;
    test::FakeUserInteraction ui;
    test::FakePlatform platform;
};

} // namespace

TEST_F(TraceLogTest, EncodesEachCharacterPlus128AndCutsLongLines)
{
    TraceLog log;
    log.Start("", ui);
    // CheckIO logs only errors.
    EXPECT_TRUE(log.CheckIO(0, 3));
    EXPECT_TRUE(Matches(log.Line(0), ".*Protokoll-Beginn.*"));
    EXPECT_FALSE(log.CheckIO(5, 17));
    EXPECT_TRUE(EndsWith(log.Line(0), " | CoreSys: CheckIO: [ERROR] ioresult = 5 at IDPos=17")) << log.Line(0);
    struct Case { unsigned char c; std::uint8_t stored; };
    for (const Case& k : {Case{200, 72}, Case{100, 228}, Case{'A', 0xC1}, Case{0, 128}, Case{255, 127}}) {
        log.AddLine(std::string(1, static_cast<char>(k.c)) + "x");
        const Bytes image = log.FileImage();
        EXPECT_EQ(image[0], k.stored) << int(k.c);
        EXPECT_EQ(image[1], 'x' + 128);
        EXPECT_EQ(image[2], 0);
    }
    // A long line keeps its first 256 characters, without terminator.
    std::string line;
    for (int i = 0; i < 300; ++i)
        line += static_cast<char>('a' + i % 26);
    log.AddLine(line);
    EXPECT_EQ(SlotOf(log.FileImage(), 0), Slot(line.substr(0, 256)));
    EXPECT_EQ(log.Line(0), line.substr(0, 256));
}

TEST_F(TraceLogTest, FileHoldsNewestSlotFirstAfterTheRingHasWrapped)
{
    TraceLog log;
    log.Start(logFile(), ui);
    log.WriteMasterAlways = 1;
    for (int i = 0; i < 300; ++i) {
        log.AddLine("line " + std::to_string(i));
        if (i == 253) { // the start line is in the last slot and leaves with the next line
            EXPECT_NE(log.Line(254).find("Protokoll-Beginn"), std::string::npos);
        }
    }
    const Bytes file = ReadBytes(kel());
    ASSERT_EQ(file.size(), 65280u);
    for (int s = 0; s < TraceLog::SlotCount; ++s)
        ASSERT_EQ(SlotOf(file, s), Slot("line " + std::to_string(299 - s))) << "slot " << s;
    EXPECT_EQ(file, log.FileImage());
}

TEST_F(TraceLogTest, StartContinuesTheRingFromTheFileAndAddsTheStartLine)
{
    {
        TraceLog earlier;
        earlier.Start(logFile(), ui);
        earlier.WriteMasterAlways = 2;
        earlier.AddLine("from the earlier run");
    }
    TraceLog log;
    log.Start(logFile(), ui);
    EXPECT_EQ(log.WriteMasterAlways, 8);
    EXPECT_EQ(log.MasterLogFName(), logFile());
    EXPECT_TRUE(Matches(log.Line(0), R"(\d\d\.\d\d\.\d{4} \| \d\d:\d\d:\d\d \| #{28} Protokoll-Beginn #{27})")) << log.Line(0);
    EXPECT_EQ(log.Line(1), "from the earlier run");
    EXPECT_TRUE(Matches(log.Line(2), R"(.* Protokoll-Beginn .*)"));
}

TEST_F(TraceLogTest, EndHandlerFollowsTheWritePolicy)
{
    struct Case { int32_t policy; int error; bool written; const char* newest; };
    for (const Case& k : {Case{8, 0, false, ""}, Case{2, 0, true, "x"}, Case{1, 0, true, "x"},
                          Case{-1, 0, false, ""}, Case{-1, 11, false, ""},
                          Case{8, 11, true, "TraceLog erkennt Laufzeitfehler: 11"},
                          Case{2, 6, true, "TraceLog erkennt Laufzeitfehler: 6"},
                          Case{2, -217, true, "TraceLog erkennt Laufzeitfehler: -217"}}) {
        QFile::remove(kel());
        {
            TraceLog seed;
            seed.Start(logFile(), ui);
            seed.WriteMasterAlways = 1;
            seed.AddLine("previous");
        }
        const Bytes before = ReadBytes(kel());
        ASSERT_EQ(before.size(), 65280u);

        TraceLog log;
        log.Start(logFile(), ui);
        log.AddLine("x");
        EXPECT_EQ(ReadBytes(kel()), before) << "policy 8 keeps lines in memory";
        log.WriteMasterAlways = k.policy;
        log.End(k.error);
        const Bytes after = ReadBytes(kel());
        if (!k.written) {
            EXPECT_EQ(after, before) << k.policy << "/" << k.error;
            continue;
        }
        ASSERT_EQ(after.size(), 65280u);
        EXPECT_EQ(SlotOf(after, 0), Slot(k.newest)) << k.policy << "/" << k.error;
        EXPECT_FALSE(log.HasRing());
    }
}

TEST_F(TraceLogTest, Bit7SkipsTheNextWriteOnceLevelMinusOneWritesAtOnce)
{
    TraceLog log;
    log.Start(logFile(), ui);
    log.WriteMasterAlways = 1 | 128;
    log.AddLine("a");
    EXPECT_FALSE(QFile::exists(kel()));
    EXPECT_EQ(log.WriteMasterAlways, 1);
    log.AddLine("b");
    EXPECT_EQ(SlotOf(ReadBytes(kel()), 0), Slot("b"));

    // Level -1 writes at once and keeps the policy.
    log.WriteMasterAlways = 2;
    log.WriteTraceLevel(-1, "now");
    EXPECT_EQ(log.WriteMasterAlways, 2);
    log.WriteTrace("later");
    const Bytes file = ReadBytes(kel());
    ASSERT_EQ(file.size(), 65280u);
    EXPECT_EQ(SlotOf(file, 0), Slot(log.Line(1)));
    EXPECT_TRUE(EndsWith(log.Line(1), " | now"));
}

TEST_F(TraceLogTest, StoreLevelIsComparedAsSignedByte)
{
    struct Case { std::uint8_t storeLevel; int level; bool enters; };
    for (const Case& k : {Case{1, 0, true}, Case{1, 1, true}, Case{1, 2, false}, Case{1, -128, true},
                          Case{0xFB, -5, true}, Case{0xFB, -4, false}, Case{0xFB, 0, false},
                          Case{127, 127, true}, Case{254, -128, false}, Case{254, 0, false}}) {
        TraceLog log;
        log.Start("", ui);
        log.MasterStoreLevel = k.storeLevel;
        log.WriteTraceLevel(k.level, "probe");
        EXPECT_EQ(EndsWith(log.Line(0), " | probe"), k.enters) << int(k.storeLevel) << " " << k.level;
    }
}

TEST_F(TraceLogTest, SnapshotTakesTheFirstFreeNumberAndAbove500AsksToInformTheMaker)
{
    const auto occupy = [this](int from, int to) {
        for (int n = from; n <= to; ++n) {
            QFile f(dir.path() + QStringLiteral("/Folianto.%1.KEL").arg(n, 3, 10, QLatin1Char('0')));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    };
    occupy(1, 3);
    TraceLog log;
    EXPECT_FALSE(log.Extra_Save_KEL(platform, ui)); // not started
    log.Start("", ui);
    EXPECT_FALSE(log.Extra_Save_KEL(platform, ui)); // no log file
    log.Start(logFile(), ui);
    ASSERT_TRUE(log.Extra_Save_KEL(platform, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(log.WriteMasterAlways, 8);
    const Bytes snapshot = ReadBytes(dir.path() + QStringLiteral("/Folianto.004.KEL"));
    ASSERT_EQ(snapshot.size(), 65280u);
    EXPECT_EQ(SlotOf(snapshot, 0),
              Slot("CoreSys32.Extra_Save_KEL: User   =tester an Computer \"testhost\" "
                   "(MAC: 00-11-22-33-44-55; IP: 127.0.0.1)"));
    EXPECT_EQ(SlotOf(snapshot, 1), Slot("CoreSys32.Extra_Save_KEL: Version=1.4.0.0"));
    EXPECT_EQ(ReadBytes(kel()), snapshot) << "the lines were written with policy 1";

    occupy(5, 500);
    ASSERT_TRUE(log.Extra_Save_KEL(platform, ui));
    EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/Folianto.501.KEL")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MsgKind::Information);
    EXPECT_EQ(ui.messages[0].text, "Bitte, informieren Sie den Hersteller unverz\xFCglich \xFC" "ber die Probleme!");
}

TEST_F(TraceLogTest, FatalEndWritesTheRingWithTheErrorCode)
{
    struct Case { void (*die)(); int signal; };
    for (const Case& k : {Case{[] { std::raise(SIGSEGV); }, SIGSEGV},
                          Case{[] { std::terminate(); }, SIGABRT}}) {
        QFile::remove(kel());
        EXPECT_EXIT(
            {
                TraceLog log;
                log.Start(logFile(), ui);
                log.AddLine("before the fault");
                k.die();
            },
            ::testing::KilledBySignal(k.signal), "");
        const Bytes file = ReadBytes(kel());
        ASSERT_EQ(file.size(), 65280u);
        EXPECT_EQ(SlotOf(file, 0), Slot("TraceLog erkennt Laufzeitfehler: " + std::to_string(k.signal)));
        EXPECT_EQ(SlotOf(file, 1), Slot("before the fault"));
    }
}
