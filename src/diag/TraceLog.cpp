#include "diag/TraceLog.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/UserInteraction.h"
#include "platform/FatalEnd.h"
#include "platform/Platform.h"
#include "platform/RawFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>

namespace folianto {
namespace {

// The log whose ring a fatal signal writes out. A signal handler can reach
// it only through a global; it is set by Start and cleared by End.
TraceLog* g_fatalTarget = nullptr;

std::string Native(const std::string& path)
{
    return QFile::encodeName(PathFromCp1252(path)).toStdString();
}

} // namespace

TraceLog::~TraceLog()
{
    End();
    if (InstalledTraceSink() == this)
        InstallTraceSink(nullptr);
}

void TraceLog::Start(const std::string& logFilePath, UserInteraction& ui)
{
    WriteMasterAlways = 8;
    try {
        ring_.reset(new std::uint8_t[RingBytes]());
        head_ = 0;
    } catch (const std::bad_alloc&) {
        ui.message(MsgKind::Error,
                   Cp1252("TraceLog: Kein Speicher für MasterLogStrArray!\r\n"
                          "         Funktion kann nicht zur Verfügung gestellt werden!"),
                   Buttons::Ok);
    }
    try {
        masterLogFName_ = logFilePath;
        nativeFName_ = Native(masterLogFName_);
    } catch (const std::bad_alloc&) {
        std::fputs("------------- TraceLog32: Kein Speicher für \"MasterLogFName\"! ---------\n", stdout);
        std::exit(EXIT_FAILURE);
    }
    if (!masterLogFName_.empty()) // the end handler cannot create folders
        QDir().mkpath(QFileInfo(PathFromCp1252(masterLogFName_)).absolutePath());
    if (ring_ && !nativeFName_.empty()) {
        std::ifstream in(nativeFName_, std::ios::binary);
        if (in)
            in.read(reinterpret_cast<char*>(ring_.get()), static_cast<std::streamsize>(RingBytes));
    }
    g_fatalTarget = this;
    SetFatalEndHandler(&TraceLog::OnFatalEnd);
    AddLine(TimeStamp() + " | ############################ Protokoll-Beginn ###########################");
}

void TraceLog::End(int runtimeError)
{
    if (g_fatalTarget == this) {
        g_fatalTarget = nullptr;
        SetFatalEndHandler(nullptr);
    }
    if (!ring_)
        return;
    if (!(WriteMasterAlways < 0 || (WriteMasterAlways == 8 && runtimeError == 0))) {
        WriteMasterAlways = 1;
        if (runtimeError != 0)
            AddRuntimeErrorLine(runtimeError);
        else
            WriteRingFile();
    }
    ring_.reset();
}

void TraceLog::OnFatalEnd(int code) noexcept
{
    TraceLog* log = g_fatalTarget;
    if (!log || !log->ring_ || log->WriteMasterAlways < 0)
        return;
    log->WriteMasterAlways = 1;
    log->AddRuntimeErrorLine(code);
}

void TraceLog::WriteTraceLevel(int level, const std::string& text)
{
    if (!ring_ || MasterStoreLevel == 254 || level > static_cast<int8_t>(MasterStoreLevel))
        return;
    const int32_t saved = WriteMasterAlways;
    if (level == -1)
        WriteMasterAlways |= 1;
    AddLine(TimeStamp() + " | " + text);
    if (level == -1) // restore bit 0; a consumed skip (bit 7) stays consumed
        WriteMasterAlways = (WriteMasterAlways & ~1) | (saved & 1);
}

bool TraceLog::CheckIO(int result, int position)
{
    if (result != 0)
        WriteTrace("CoreSys: CheckIO: [ERROR] ioresult = " + IntToStr(result) + " at IDPos=" + IntToStr(position));
    return result == 0;
}

bool TraceLog::Extra_Save_KEL(Platform& platform, UserInteraction& ui)
{
    if (!ring_ || masterLogFName_.empty())
        return false;
    int n = 1;
    std::string name;
    for (;; ++n) {
        char ext[16];
        std::snprintf(ext, sizeof ext, ".%03d.KEL", n);
        name = ChangeFileExt(masterLogFName_, ext);
        if (n == 999 || !QFileInfo::exists(PathFromCp1252(name)))
            break;
    }
    if (n > 500)
        ui.message(MsgKind::Information,
                   Cp1252("Bitte, informieren Sie den Hersteller unverzüglich über die Probleme!"), Buttons::Ok);

    const int32_t saved = WriteMasterAlways;
    WriteMasterAlways = 1;
    AddLine("CoreSys32.Extra_Save_KEL: Version=" + platform.ProgramVersion());
    AddLine("CoreSys32.Extra_Save_KEL: User   =" + platform.UserName() + " an Computer \"" +
            platform.ComputerName() + "\" (MAC: " + platform.MacAddress() + "; IP: " + platform.IpAddress() + ")");
    const bool ok = WriteRingTo(Native(name).c_str());
    WriteMasterAlways = saved;
    return ok;
}

void TraceLog::AddLine(const std::string& text)
{
    Add(text.data(), text.size());
}

void TraceLog::Add(const char* text, std::size_t length) noexcept
{
    if (!ring_ || MasterStoreLevel == 254)
        return;
    head_ = head_ == 0 ? SlotCount - 1 : head_ - 1;
    std::uint8_t* slot = ring_.get() + std::size_t(head_) * SlotSize;
    const std::size_t n = std::min<std::size_t>(length, SlotSize);
    for (std::size_t i = 0; i < n; ++i)
        slot[i] = static_cast<std::uint8_t>(static_cast<unsigned char>(text[i]) + 128);
    std::memset(slot + n, 0, SlotSize - n);
    WriteRingFile();
}

void TraceLog::AddRuntimeErrorLine(int code) noexcept
{
    // Built without allocation: this also runs inside a signal handler.
    static const char prefix[] = "TraceLog erkennt Laufzeitfehler: ";
    char line[sizeof prefix + 16];
    std::memcpy(line, prefix, sizeof prefix - 1);
    std::size_t len = sizeof prefix - 1;
    unsigned int v = code < 0 ? 0u - static_cast<unsigned int>(code) : static_cast<unsigned int>(code);
    if (code < 0)
        line[len++] = '-';
    char digits[12];
    int d = 0;
    do {
        digits[d++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (d > 0)
        line[len++] = digits[--d];
    Add(line, len);
}

bool TraceLog::WriteRingFile() noexcept
{
    if (!ring_ || WriteMasterAlways < 0)
        return false;
    if (WriteMasterAlways & 128) {
        WriteMasterAlways &= ~128;
        return false;
    }
    if (!(WriteMasterAlways & 1) || nativeFName_.empty())
        return false;
    return WriteRingTo(nativeFName_.c_str());
}

bool TraceLog::WriteRingTo(const char* nativePath) const noexcept
{
    if (!ring_)
        return false;
    const std::size_t split = std::size_t(head_) * SlotSize;
    const ByteRange parts[2] = {{ring_.get() + split, RingBytes - split}, {ring_.get(), split}};
    return WriteWholeFile(nativePath, parts, 2);
}

std::string TraceLog::TimeStamp()
{
    const std::time_t now = std::time(nullptr);
    if (now != stampTime_) {
        const std::tm* tm = std::localtime(&now);
        char buf[40] = {};
        if (tm)
            std::snprintf(buf, sizeof buf, "%02d.%02d.%04d | %02d:%02d:%02d", tm->tm_mday, tm->tm_mon + 1,
                          tm->tm_year + 1900, tm->tm_hour, tm->tm_min, tm->tm_sec);
        stamp_ = buf;
        stampTime_ = now;
    }
    return stamp_;
}

std::string TraceLog::Line(int slot) const
{
    if (!ring_ || slot < 0 || slot >= SlotCount)
        return {};
    const std::uint8_t* p = ring_.get() + std::size_t((head_ + slot) % SlotCount) * SlotSize;
    std::string out;
    for (int i = 0; i < SlotSize && p[i] != 0; ++i)
        out += static_cast<char>(static_cast<std::uint8_t>(p[i] - 128));
    return out;
}

std::vector<std::uint8_t> TraceLog::FileImage() const
{
    std::vector<std::uint8_t> out;
    if (!ring_)
        return out;
    const std::size_t split = std::size_t(head_) * SlotSize;
    out.reserve(RingBytes);
    out.insert(out.end(), ring_.get() + split, ring_.get() + RingBytes);
    out.insert(out.end(), ring_.get(), ring_.get() + split);
    return out;
}

} // namespace folianto
