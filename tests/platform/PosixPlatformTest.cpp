#include "platform/AppendFile.h"
#include "platform/FatalEnd.h"
#include "platform/FileSteps.h"
#include "platform/PosixPlatform.h"
#include "platform/RawFile.h"
#include "platform/ReplacementFile.h"
#include "platform/SingleInstanceLock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <functional>
#include <sys/stat.h>

using namespace folianto;

TEST(PosixPlatform, NetworkFileSystemsByMagicAndFuseType)
{
    constexpr std::uint32_t fuse = 0x65735546;
    struct Case { std::uint32_t magic; const char* type; bool network; };
    for (const Case& k : {Case{0x6969, "nfs4", true}, Case{0xFF534D42, "cifs", true},
                          Case{0xFE534D42, "smb3", true}, Case{0x01021997, "9p", true},
                          Case{0xEF53, "ext4", false}, Case{0x01021994, "tmpfs", false},
                          Case{fuse, "fuse.sshfs", true}, Case{fuse, "fuse.rclone", true},
                          Case{fuse, "fuseblk", false}, Case{fuse, "fuse.ntfs-3g", false},
                          Case{fuse, "", false}, Case{0xEF53, "fuse.sshfs", false}})
        EXPECT_EQ(IsNetworkFileSystem(k.magic, k.type), k.network) << std::hex << k.magic << " " << k.type;
}

TEST(PosixPlatform, MountTypeOfThePathsMount)
{
    const std::string mountinfo =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "40 22 0:35 / /home/u/remote rw,nosuid shared:20 - fuse.sshfs u@host:/ rw,user_id=1000\n"
        "41 22 0:36 / /mnt/with\\040blank rw - fuse.rclone gdrive: rw\n"
        "42 22 0:37 / /srv rw - ext4 /dev/sdb1 rw\n"
        "43 22 0:38 / /srv rw master:3 - nfs4 server:/srv rw\n"
        "44 22 0:39 / /home rw - xfs /dev/sdc1 rw\n" // later, but shorter than the remote mount
        "bad line\n";
    struct Case { const char* path; const char* type; };
    for (const Case& k : {Case{"/home/u/remote/x/d.FOL", "fuse.sshfs"}, Case{"/home/u/remote", "fuse.sshfs"},
                          Case{"/home/u/remote2/d.FOL", "xfs"}, Case{"/mnt/with blank/d.FOL", "fuse.rclone"},
                          Case{"/srv/d.FOL", "nfs4"}, Case{"/", "ext4"}, Case{"relative", ""}})
        EXPECT_EQ(MountFsType(mountinfo, k.path), k.type) << k.path;
}

TEST(PosixPlatform, MacAddressOfTheFirstAdapterWithANonZeroAddress)
{
    using Adapters = std::vector<std::vector<std::uint8_t>>;
    struct Case { Adapters adapters; const char* mac; };
    for (const Case& k : {Case{{{0, 0, 0, 0, 0, 0}, {0x0a, 0xb1, 0x2c, 0xd3, 0x4e, 0xf5}, {1, 2, 3, 4, 5, 6}},
                               "0A-B1-2C-D3-4E-F5"},
                          Case{{{}, {1, 2, 3, 4}, {0xff, 0xfe, 0, 0, 0, 1, 9, 9}}, "FF-FE-00-00-00-01"},
                          Case{{{0, 0, 0, 0, 0, 0}}, ""}, Case{{}, ""}})
        EXPECT_EQ(SelectMacAddress(k.adapters), k.mac);
    EXPECT_EQ(FormatMacAddress({0, 0, 0, 0, 0, 0}), "00-00-00-00-00-00");
}

TEST(PosixPlatform, LastWriteTimeAndTheNetworkTestOfAMissingPath)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/x.SEM";
    PosixPlatform platform;
    EXPECT_FALSE(platform.FileLastWriteTime(path).has_value());
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const auto t1 = platform.FileLastWriteTime(path);
    const auto t2 = platform.FileLastWriteTime(path);
    ASSERT_TRUE(t1 && t2);
    EXPECT_EQ(*t1, *t2);
    const QDateTime now = QDateTime::currentDateTime();
    const double localNow =
        25569.0 + double(now.toMSecsSinceEpoch() + qint64(now.offsetFromUtc()) * 1000) / 86400000.0;
    EXPECT_LT(std::abs(*t1 - localNow), 2.0 / 1440) << "within two minutes";
    // The network test looks at the nearest existing directory.
    const std::string existing = dir.path().toStdString();
    EXPECT_EQ(platform.IsNetworkDrive(existing + "/missing/deeper/d.FOL"), platform.IsNetworkDrive(existing));
    EXPECT_FALSE(platform.IsNetworkDrive("/proc/self/no/such/file"));
}

TEST(PosixPlatform, SystemAnswers)
{
    PosixPlatform platform;
    const std::string program = platform.ProgramPath();
    EXPECT_EQ(program.substr(program.find_last_of('/') + 1).rfind("folianto_tests", 0), 0u) << program;
    // The version has four numbers.
    EXPECT_EQ(std::tuple(FourPartVersion("1.4.0.0"), FourPartVersion("2.1"), FourPartVersion("3.0.1.7.9")),
              std::tuple("1.4.0.0", "2.1.0.0", "3.0.1.7"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^\d+\.\d+\.\d+\.\d+$)"))
                    .match(QString::fromStdString(platform.ProgramVersion()))
                    .hasMatch());
    // One of this machine's IPv4 addresses other than the loopback, if it has one.
    QStringList own;
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            own << a.toString();
    const std::string ip = platform.IpAddress();
    EXPECT_TRUE(ip.empty() ? own.isEmpty() : own.contains(QString::fromStdString(ip))) << ip;
    // Likewise one of its adapters' addresses (their first six bytes) other than zero.
    QStringList macs;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces())
        if (const QString mac = i.hardwareAddress().left(17); mac.size() == 17 && mac != QStringLiteral("00:00:00:00:00:00"))
            macs << QString(mac).replace(QLatin1Char(':'), QLatin1Char('-'));
    const std::string mac = platform.MacAddress();
    EXPECT_TRUE(mac.empty() ? macs.isEmpty() : macs.contains(QString::fromStdString(mac))) << mac;
}

// TEMP before TMPDIR, an empty one not at all; trailing slashes go.
TEST(PosixPlatform, TempDirFromTheEnvironment)
{
    const QByteArray temp = qgetenv("TEMP"), tmpdir = qgetenv("TMPDIR");
    const bool hadTemp = qEnvironmentVariableIsSet("TEMP"), hadTmpdir = qEnvironmentVariableIsSet("TMPDIR");
    const auto set = [](const char* name, const char* value) { value ? qputenv(name, value) : qunsetenv(name); };
    struct Case { const char *temp, *tmpdir, *dir; };
    for (const Case& k : {Case{"/a//", "/b", "/a"}, Case{"", "/b/", "/b"}, Case{nullptr, "/", "/"},
                          Case{nullptr, nullptr, "/tmp"}}) {
        set("TEMP", k.temp);
        set("TMPDIR", k.tmpdir);
        EXPECT_EQ(PosixPlatform().TempDir(), k.dir) << (k.temp ? k.temp : "-") << " " << (k.tmpdir ? k.tmpdir : "-");
    }
    set("TEMP", hadTemp ? temp.constData() : nullptr);
    set("TMPDIR", hadTmpdir ? tmpdir.constData() : nullptr);
}

// A step whose system call fails says so and keeps the system's reason.
TEST(FileSteps, EveryFailedCallIsReportedWithItsReason)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("da")), missing = dir.filePath(QStringLiteral("fehlt/x"));
    QFile(file).open(QIODevice::WriteOnly);
    FileSteps steps;
    AppendFile journal;
    QString created;
    const QString full = QStringLiteral("/dev/full"); // every write fails with ENOSPC
    const struct {
        const char* step;
        std::function<bool()> call;
        int code;
        const FileError* error = nullptr; // the file steps' when null
    } cases[] = {
        {"Write", [&] { return steps.Write(FileSteps::NoHandle, "x", 1); }, EBADF},
        {"Sync", [&] { return steps.Sync(FileSteps::NoHandle); }, EBADF},
        {"Close", [&] { return steps.Close(FileSteps::NoHandle); }, EBADF},
        {"Rename", [&] { return steps.Rename(missing, file); }, ENOENT},
        {"Link", [&] { return steps.Link(missing, dir.filePath(QStringLiteral("neu"))); }, ENOENT},
        {"Link onto a name in use", [&] { return steps.Link(file, file); }, EEXIST},
        {"Remove", [&] { return steps.Remove(missing); }, ENOENT},
        {"SyncFolder", [&] { return steps.SyncFolder(missing); }, ENOENT},
        {"CreateBeside", [&] { return steps.CreateBeside(missing, created) != FileSteps::NoHandle; }, ENOENT},
        {"Open the journal", [&] { return journal.Open(missing); }, ENOENT, &journal.error()},
        {"Open the journal keeping a length", [&] { return journal.Open(full, 0); }, EINVAL, &journal.error()},
        {"Append", [&] { return journal.Open(full) && journal.Append("x", 1); }, ENOSPC, &journal.error()},
        {"Append when closed", [&] { journal.Close(); return journal.Append("x", 1); }, EBADF, &journal.error()},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.call()) << c.step;
        EXPECT_EQ((c.error ? *c.error : steps.error()).code, c.code) << c.step;
    }
    EXPECT_TRUE(steps.SyncFolder(dir.path()));

    // The signal handler's writer has no reason to tell, only success.
    const ByteRange ranges[] = {{"ab", 2}, {"cde", 3}};
    EXPECT_FALSE(WriteWholeFile(QFile::encodeName(missing).constData(), ranges, 2));
    EXPECT_FALSE(WriteWholeFile("/dev/full", ranges, 2));
    ASSERT_TRUE(WriteWholeFile(QFile::encodeName(file).constData(), ranges, 2));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "abcde");
    EXPECT_FALSE(journal.Sync()); // closed
}

TEST(ReplacementFile, TakesThePlaceOnlyWhenWrittenWholeAndFinished)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("D.FOL"));
    const auto content = [&target] {
        QFile f(target);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    };
    FileError why;
    ASSERT_TRUE(ReplaceFileContent(target, "alt", 3, why));
    {
        ReplacementFile file(target);
        EXPECT_FALSE(file.finish()); // not open
        EXPECT_FALSE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_FALSE(file.open(QIODevice::WriteOnly)); // open already
        EXPECT_EQ(file.write("neu", 3), 3);
        EXPECT_FALSE(file.replace()); // not finished
    } // dropped: its new file goes, the old content stays
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("D.FOL")});
    EXPECT_EQ(content(), "alt");
    EXPECT_FALSE(ReplaceFileContent(dir.filePath(QStringLiteral("fehlt/D.FOL")), "x", 1, why));
    EXPECT_EQ(why.code, ENOENT);
    ::chmod(QFile::encodeName(target).constData(), 0640); // kept, not a new file's 0666 less the umask
    ASSERT_TRUE(ReplaceFileContent(target, "neu", 3, why));
    EXPECT_EQ(content(), "neu");
    struct stat replaced {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &replaced), 0);
    EXPECT_EQ(replaced.st_mode & 07777, 0640u);
}

// The fatal signals are caught only while a handler is set.
TEST(FatalEnd, SignalHandlersOnlyWhileAHandlerIsSet)
{
    const auto onSegv = [] {
        struct sigaction now {};
        ::sigaction(SIGSEGV, nullptr, &now);
        return now.sa_handler;
    };
    const auto before = onSegv();
    for (int set = 0; set < 2; ++set) { // a second handler takes the first one's place
        SetFatalEndHandler([](int) noexcept {});
        EXPECT_NE(onSegv(), before) << set;
    }
    for (int clear = 0; clear < 2; ++clear) {
        SetFatalEndHandler(nullptr);
        EXPECT_EQ(onSegv(), before) << clear;
    }
}

TEST(SingleInstanceLock, SecondHolderIsRefusedUntilTheFirstEndsAndForeignFilesAlways)
{
    QTemporaryDir dir;
    const std::string d = dir.path().toStdString();
    auto first = std::make_unique<SingleInstanceLock>("Folianto", d);
    SingleInstanceLock second("Folianto", d);
    SingleInstanceLock other("Andere", d);
    EXPECT_TRUE(first->tryAcquire());
    EXPECT_TRUE(first->tryAcquire());
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_TRUE(other.tryAcquire());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // a lock file each, in the folder
    first.reset();
    EXPECT_TRUE(second.tryAcquire());

    // Without a folder: the runtime folder when there is one, else /tmp.
    const bool runtimeSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const std::string uid = std::to_string(::geteuid());
    for (const char* value : {"/run/x", "", static_cast<const char*>(nullptr)}) {
        value ? qputenv("XDG_RUNTIME_DIR", value) : qunsetenv("XDG_RUNTIME_DIR");
        EXPECT_EQ(SingleInstanceLock("F").path(),
                  std::string(value && *value ? value : "/tmp") + "/F-" + uid + ".lock");
    }
    runtimeSet ? qputenv("XDG_RUNTIME_DIR", runtime) : qunsetenv("XDG_RUNTIME_DIR");

    // A symlink planted at its path is refused.
    SingleInstanceLock lock("Gelinkt", d);
    const QString target = dir.path() + QStringLiteral("/target");
    ASSERT_TRUE(QFile::link(target, QString::fromStdString(lock.path())));
    EXPECT_FALSE(lock.tryAcquire());
    EXPECT_FALSE(QFile::exists(target));

    // Nor is a lock file (or a socket) that another user owns.
    SingleInstanceLock foreign("Fremd", d);
    QFile(QString::fromStdString(foreign.path())).open(QIODevice::WriteOnly);
    if (::chown(foreign.path().c_str(), 65534, 65534) == 0) { // only the superuser may give a file away
        EXPECT_FALSE(foreign.tryAcquire());
        EXPECT_EQ(std::pair(IsOwnFile(foreign.path()), IsOwnFile(d)), std::pair(false, true));
    }
}
