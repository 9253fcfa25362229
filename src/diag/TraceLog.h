#pragma once
// The ring of the last 255 trace lines and its file beside the program.
//
// MasterLogStrArray: 255 slots of 256 bytes, slot 0 the newest line. A slot
// holds a line's first 256 characters, each stored as (c + 128) mod 256, and
// zero bytes after it. The file is exactly these 65280 bytes, slot 0 first.
// In memory the ring turns by a head index, so adding a line costs one slot.

#include "core/Trace.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace folianto {

class Platform;
class UserInteraction;

class TraceLog : public TraceSink {
public:
    static constexpr int SlotCount = 255;
    static constexpr int SlotSize = 256;
    static constexpr std::size_t RingBytes = std::size_t(SlotCount) * SlotSize; // 65280

    TraceLog() = default;
    // Runs the end handler of a normal end when End() has not run.
    ~TraceLog() override;
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Starts the log: policy 8, the end handler armed for fatal signals and
    // std::terminate, the ring reserved and continued from an existing file
    // named like the program with ".KEL", then the start line. An empty
    // programPath gives a ring without a file.
    void Start(const std::string& programPath, UserInteraction& ui);
    // End handler: runtimeError 0 for a normal end, else the error code.
    // Releases the ring; later lines are ignored.
    void End(int runtimeError = 0);

    // The line time stamp + " | " + text, when level (-128..127) is not above
    // MasterStoreLevel; level -1 writes the file for this line.
    void WriteTraceLevel(int level, const std::string& text) override;
    void WriteTrace(const std::string& text) { WriteTraceLevel(0, text); }
    // Logs a non-zero I/O result; true when it is 0.
    bool CheckIO(int result, int position);
    // Copies the ring into the first free numbered file (Folianto.001.KEL ...).
    bool Extra_Save_KEL(Platform& platform, UserInteraction& ui);

    // Adds a line as it is (no time stamp) and writes the file by the policy.
    void AddLine(const std::string& text);
    // "dd.mm.yyyy | hh:nn:ss", local time now.
    std::string TimeStamp();

    bool HasRing() const { return ring_ != nullptr; }
    // Decoded text of a slot (0 newest), up to its first zero byte.
    std::string Line(int slot) const;
    // The ring in file layout; empty without a ring.
    std::vector<std::uint8_t> FileImage() const;
    const std::string& MasterLogFName() const { return masterLogFName_; }

    // 1 write after each line, 2 write at the end, 8 keep the file at a normal
    // end, negative (-1) write no more; bit 7 skips the next write once.
    int32_t WriteMasterAlways = 1;
    // Compared as a signed byte; 254 switches the log off.
    uint8_t MasterStoreLevel = 1;

private:
    void Add(const char* text, std::size_t length) noexcept;
    void AddRuntimeErrorLine(int code) noexcept;
    // Writes the ring to the log file by the policy; false when skipped or failed.
    bool WriteRingFile() noexcept;
    bool WriteRingTo(const char* nativePath) const noexcept;
    static void OnFatalEnd(int code) noexcept;

    std::unique_ptr<std::uint8_t[]> ring_;
    int head_ = 0; // physical slot of the newest line
    std::string masterLogFName_;
    std::string nativeFName_; // the same as local file-name bytes, ready for a fatal end
    std::time_t stampTime_ = -1;
    std::string stamp_;
};

} // namespace folianto
