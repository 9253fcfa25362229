// The real program end to end: a fresh process of the desktop program (this
// benchmark started again as a child that runs the same start-up as
// Folianto's main) from exec to the first painted grid that shows every
// title, and from "Ö&ffnen..." to that grid, each also on until the program
// has been idle for a second; against `folianto-cli list` of the same
// catalogue. The child reports its own CPU time and memory, so the figures
// hold up on a busy machine better than wall-clock time does.

#include "bench_program.h"

#include "application/App.h"
#include "application/BuchData.h"
#include "application/SettingsFile.h"
#include "core/Codec.h"
#include "core/SampleCatalogue.h"
#include "platform/PosixPlatform.h"
#include "support/Fakes.h"
#include "ui/QtUserInteraction.h"
#include "ui/shell/Startup.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QMainWindow>
#include <QPointer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

extern char** environ;

using namespace folianto;

namespace {

constexpr const char* kChildFlag = "--program-child";

int64_t MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double Seconds(const timeval& tv)
{
    return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1e6;
}

double CpuSeconds(const rusage& ru)
{
    return Seconds(ru.ru_utime) + Seconds(ru.ru_stime);
}

double SelfCpuSeconds()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return CpuSeconds(ru);
}

// Resident memory now, in MB.
double ResidentMb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// ---------------------------------------------------------------- the child

// The real user interaction; only the file dialog answers by itself.
class ScriptedOpenInteraction : public QtUserInteraction {
public:
    explicit ScriptedOpenInteraction(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> openFile(const FileDialogSpec&) override { return path_; }

private:
    std::string path_;
};

// The program file lives in the benchmark's directory, so the settings file
// and the trace log are the benchmark's own.
class BenchPlatform : public PosixPlatform {
public:
    explicit BenchPlatform(std::string programPath) : programPath_(std::move(programPath)) {}
    std::string ProgramPath() override { return programPath_; }

private:
    std::string programPath_;
};

// Watches the grid's paints; once one shows `rows` rows (any number when
// negative) and the event queue has drained, `done` runs once.
class PaintWatcher : public QObject {
public:
    explicit PaintWatcher(std::function<void()> done) : done_(std::move(done)) {}

    void Arm(int rows)
    {
        rows_ = rows;
        armed_ = true;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (armed_ && event->type() == QEvent::Paint) {
            auto* grid = qobject_cast<QTableView*>(watched->parent());
            if (grid && grid->objectName() == QLatin1String("BuchStringGrid") && watched == grid->viewport() &&
                grid->model() && (rows_ < 0 || grid->model()->rowCount() == rows_)) {
                armed_ = false;
                QTimer::singleShot(0, this, [this] { done_(); });
            }
        }
        return false;
    }

private:
    std::function<void()> done_;
    int rows_ = -1;
    bool armed_ = false;
};

QAction* OpenAction()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w))
            for (QAction* a : w->findChildren<QAction*>())
                if (a->text() == QString::fromUtf8("Ö&ffnen..."))
                    return a;
    return nullptr;
}

// Peak resident memory of this process image, in MB. (ru_maxrss would carry
// the spawning benchmark's peak across the exec.)
double MaxRssMb()
{
    double kb = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %lf", &kb) == 1)
                break;
        std::fclose(f);
    }
    return kb / 1024.0;
}

// The measured span ends at the painted grid: its start (0: the exec), end,
// CPU seconds and memory. The program then runs on until it has been idle for
// a second, and the CPU seconds and memory at that point follow; then the
// child ends.
void Report(int fd, int64_t startNs, double cpuBefore)
{
    const std::string painted = std::to_string(startNs) + " " + std::to_string(MonotonicNs()) + " " +
                                std::to_string(SelfCpuSeconds() - cpuBefore) + " " +
                                std::to_string(ResidentMb()) + " " + std::to_string(MaxRssMb());
    auto* idle = new QTimer;
    idle->setSingleShot(true);
    QObject::connect(idle, &QTimer::timeout, [fd, cpuBefore, painted] {
        const std::string line = painted + " " + std::to_string(SelfCpuSeconds() - cpuBefore) + " " +
                                 std::to_string(ResidentMb()) + " " + std::to_string(MaxRssMb()) + "\n";
        if (write(fd, line.data(), line.size()) < 0)
            std::_Exit(3);
        close(fd);
        std::_Exit(0);
    });
    // Restarted by every event that reaches the program but the repaints of
    // a blinking cursor, so it fires after a second without work; at the
    // latest ten seconds after the paint.
    class Restart : public QObject {
    public:
        explicit Restart(QTimer* timer) : timer_(timer), deadlineNs_(MonotonicNs() + 9000000000LL) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            const QEvent::Type t = event->type();
            if (t != QEvent::Timer && t != QEvent::UpdateRequest && t != QEvent::Paint &&
                MonotonicNs() < deadlineNs_)
                timer_->start(1000);
            return false;
        }

    private:
        QTimer* timer_;
        int64_t deadlineNs_;
    };
    QApplication::instance()->installEventFilter(new Restart(idle));
    idle->start(1000);
}

// argv: flag, mode ("start" or "open"), directory, database path, shown rows, result fd.
int RunChild(int argc, char** argv)
{
    if (argc != 7)
        return 2;
    const std::string mode = argv[2];
    const std::string dir = argv[3];
    const std::string dbPath = argv[4];
    const int rows = std::atoi(argv[5]);
    const int fd = std::atoi(argv[6]);

    int qtArgc = 1;
    FoliantoApplication application(qtArgc, argv);
    ScriptedOpenInteraction ui(dbPath);
    BenchPlatform platform(dir + "/Folianto");
    App app(ui, platform);

    // "open": the empty program paints, then "Ö&ffnen..." is chosen and
    // measured; "start": measured from exec.
    bool opened = false;
    int64_t startNs = 0;
    double cpuBefore = 0;
    PaintWatcher watcher([&] {
        if (mode == "start" || opened) {
            Report(fd, startNs, cpuBefore);
            return;
        }
        QAction* open = OpenAction();
        if (!open)
            std::_Exit(4);
        opened = true;
        watcher.Arm(rows);
        startNs = MonotonicNs();
        cpuBefore = SelfCpuSeconds();
        open->trigger();
    });
    watcher.Arm(mode == "open" ? -1 : rows);
    application.installEventFilter(&watcher);
    return RunFolianto(app, dir);
}

// ---------------------------------------------------------------- the parent

struct Catalogue {
    std::string path;
    int titles = 0;
    double megabytes = 0;
};

struct Fixture {
    QTemporaryDir dir;
    Catalogue plain;
    Catalogue pictures;
    std::string emptyDir;
    std::string plainDir;
    std::string picturesDir;

    Fixture()
    {
        test::TestApp source;
        FillSampleCatalogue(source.app.store, 10000, 7);
        pictures = Save(source.app, "pictures.FOL");
        for (int32_t i = 1; i <= source.app.store.AnzBuch; ++i) {
            TBuch& b = *source.app.store.at(i);
            b.Pics.clear();
            b.AnzPics = 0;
        }
        plain = Save(source.app, "plain.FOL");
        emptyDir = ProgramDir("empty", "");
        plainDir = ProgramDir("plain", plain.path);
        picturesDir = ProgramDir("pictures", pictures.path);
    }

    Catalogue Save(App& app, const char* name)
    {
        Catalogue c;
        c.path = PathToCp1252(dir.filePath(QString::fromLatin1(name)));
        c.titles = app.store.AnzBuch;
        std::string errParam;
        Save_Buch_Data(app, c.path, errParam);
        c.megabytes = static_cast<double>(QFileInfo(PathFromCp1252(c.path)).size()) / (1024.0 * 1024.0);
        return c;
    }

    // A directory with the settings file of a program that opens `db` at start.
    std::string ProgramDir(const char* name, const std::string& db)
    {
        const QString sub = dir.filePath(QString::fromLatin1(name));
        QDir().mkpath(sub);
        const std::string programDir = PathToCp1252(sub);
        test::TestApp t;
        t.app.settings.OpenFileAtStart = !db.empty();
        t.app.DataFileName = db;
        Write_IniFile(t.app, programDir + "/Folianto.INI");
        return programDir;
    }
};

const Fixture& Files()
{
    static const Fixture fixture;
    return fixture;
}

struct Sample {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double residentMb = 0;
    double maxResidentMb = 0;
    // After a second without events (the desktop program only).
    double idleCpuSeconds = 0;
    double idleResidentMb = 0;
    double idleMaxResidentMb = 0;
};

std::string SelfPath()
{
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

bool Spawn(const std::vector<std::string>& args, int stdoutFd, pid_t& pid)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0;
}

// One child of the desktop program; false when it did not report.
bool RunProgram(const std::string& mode, const std::string& programDir, const std::string& db, int rows,
                Sample& out)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);
    const int64_t startNs = MonotonicNs();
    pid_t pid = 0;
    const bool spawned = Spawn({SelfPath(), kChildFlag, mode, programDir, db, std::to_string(rows),
                                std::to_string(pipeFds[1])},
                               -1, pid);
    close(pipeFds[1]);
    if (!spawned) {
        close(pipeFds[0]);
        return false;
    }
    std::string text;
    char buf[256];
    ssize_t n;
    while ((n = read(pipeFds[0], buf, sizeof buf)) > 0)
        text.append(buf, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long childStartNs = 0;
    long long endNs = 0;
    if (std::sscanf(text.c_str(), "%lld %lld %lf %lf %lf %lf %lf %lf", &childStartNs, &endNs, &out.cpuSeconds,
                    &out.residentMb, &out.maxResidentMb, &out.idleCpuSeconds, &out.idleResidentMb,
                    &out.idleMaxResidentMb) != 8)
        return false;
    out.wallSeconds = static_cast<double>(endNs - (childStartNs != 0 ? childStartNs : startNs)) / 1e9;
    return true;
}

bool RunCliList(const std::string& db, Sample& out)
{
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const int64_t startNs = MonotonicNs();
    pid_t pid = 0;
    const bool spawned = Spawn({FOLIANTO_CLI, "list", db}, devNull, pid);
    close(devNull);
    if (!spawned)
        return false;
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    out.wallSeconds = static_cast<double>(MonotonicNs() - startNs) / 1e9;
    out.cpuSeconds = CpuSeconds(ru);
    out.maxResidentMb = static_cast<double>(ru.ru_maxrss) / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Medians of every run, for the summary after the benchmarks.
std::map<std::string, std::vector<Sample>>& Results()
{
    static std::map<std::string, std::vector<Sample>> results;
    return results;
}

void Record(benchmark::State& state, const std::string& name, const Sample& s)
{
    std::vector<Sample>& runs = Results()[name];
    runs.push_back(s);
    state.SetIterationTime(s.cpuSeconds);
    double wall = 0;
    double rss = 0;
    for (const Sample& r : runs) {
        wall += r.wallSeconds;
        rss = std::max(rss, r.maxResidentMb);
    }
    state.counters["wall_ms"] = wall * 1000 / static_cast<double>(runs.size());
    state.counters["maxrss_MB"] = rss;
}

const Catalogue* CatalogueOf(int which)
{
    return which == 0 ? nullptr : which == 1 ? &Files().plain : &Files().pictures;
}

const char* NameOf(int which)
{
    return which == 0 ? "empty" : which == 1 ? "plain" : "pictures";
}

// Process start to the first painted grid with every title (0 none, 1 the
// catalogue without pictures, 2 with pictures).
void BM_ProgramStart(benchmark::State& state)
{
    Files(); // written once, outside the measurements
    const int which = static_cast<int>(state.range(0));
    const Catalogue* c = CatalogueOf(which);
    const std::string dir = which == 0 ? Files().emptyDir : which == 1 ? Files().plainDir : Files().picturesDir;
    for (auto _ : state) {
        Sample s;
        if (!RunProgram("start", dir, c ? c->path : "", c ? c->titles : 1, s)) {
            state.SkipWithError("the program did not report");
            return;
        }
        Record(state, std::string("start/") + NameOf(which), s);
    }
}
BENCHMARK(BM_ProgramStart)->Arg(0)->Arg(1)->Arg(2)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Ö&ffnen..." in the idle empty program to the painted grid.
void BM_ProgramOpen(benchmark::State& state)
{
    Files(); // written once, outside the measurements
    const int which = static_cast<int>(state.range(0));
    const Catalogue* c = CatalogueOf(which);
    for (auto _ : state) {
        Sample s;
        if (!RunProgram("open", Files().emptyDir, c->path, c->titles, s)) {
            state.SkipWithError("the program did not report");
            return;
        }
        Record(state, std::string("open/") + NameOf(which), s);
    }
}
BENCHMARK(BM_ProgramOpen)->Arg(1)->Arg(2)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CliList(benchmark::State& state)
{
    Files(); // written once, outside the measurements
    const int which = static_cast<int>(state.range(0));
    const Catalogue* c = CatalogueOf(which);
    for (auto _ : state) {
        Sample s;
        if (!RunCliList(c->path, s)) {
            state.SkipWithError("folianto-cli list failed");
            return;
        }
        Record(state, std::string("cli/") + NameOf(which), s);
    }
}
BENCHMARK(BM_CliList)->Arg(1)->Arg(2)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

Sample Median(const std::vector<Sample>& samples)
{
    const auto pick = [&](double Sample::*field) {
        std::vector<double> v;
        for (const Sample& s : samples)
            v.push_back(s.*field);
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    Sample m;
    m.wallSeconds = pick(&Sample::wallSeconds);
    m.cpuSeconds = pick(&Sample::cpuSeconds);
    m.residentMb = pick(&Sample::residentMb);
    m.maxResidentMb = pick(&Sample::maxResidentMb);
    m.idleCpuSeconds = pick(&Sample::idleCpuSeconds);
    m.idleResidentMb = pick(&Sample::idleResidentMb);
    m.idleMaxResidentMb = pick(&Sample::idleMaxResidentMb);
    return m;
}

} // namespace

bool IsProgramChild(int argc, char** argv)
{
    return argc > 1 && std::strcmp(argv[1], kChildFlag) == 0;
}

int RunProgramChild(int argc, char** argv)
{
    return RunChild(argc, argv);
}

void PrintProgramSummary()
{
    auto& r = Results();
    if (r.find("start/empty") == r.end())
        return;
    const Sample empty = Median(r["start/empty"]);
    std::printf("\nMedian CPU seconds to the painted grid, and in brackets until a second idle (targets:\n"
                "catalogue share of start-up and opening at most 3x cli list; memory at most the file's\n"
                "size + 60 MB):\n");
    std::printf("  empty start %.3f s (%.3f s) CPU, %.0f MB peak (%.0f MB)\n", empty.cpuSeconds,
                empty.idleCpuSeconds, empty.maxResidentMb, empty.idleMaxResidentMb);
    for (const char* which : {"plain", "pictures"}) {
        const std::string w = which;
        if (r.find("start/" + w) == r.end() || r.find("cli/" + w) == r.end())
            continue;
        const Sample start = Median(r["start/" + w]);
        const Sample cli = Median(r["cli/" + w]);
        const double share = start.cpuSeconds - empty.cpuSeconds;
        const double idleShare = start.idleCpuSeconds - empty.idleCpuSeconds;
        const double fileMb = w == "plain" ? Files().plain.megabytes : Files().pictures.megabytes;
        std::printf("  %-8s (%.1f MB file), cli list %.3f s:\n", which, fileMb, cli.cpuSeconds);
        std::printf("    start share %.3f s = %.1fx (%.3f s = %.1fx)", share, share / cli.cpuSeconds, idleShare,
                    idleShare / cli.cpuSeconds);
        if (r.find("open/" + w) != r.end()) {
            const Sample open = Median(r["open/" + w]);
            std::printf("; open %.3f s = %.1fx (%.3f s = %.1fx)", open.cpuSeconds, open.cpuSeconds / cli.cpuSeconds,
                        open.idleCpuSeconds, open.idleCpuSeconds / cli.cpuSeconds);
        }
        std::printf("\n    peak %.0f MB = file + %.1f MB (idle: peak file + %.1f MB, resident file + %.1f MB)\n",
                    start.maxResidentMb, start.maxResidentMb - fileMb, start.idleMaxResidentMb - fileMb,
                    start.idleResidentMb - fileMb);
    }
}
