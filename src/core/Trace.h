#pragma once
// Trace writers used by every routine. Lines go to the sink the program
// installed (the trace log); without one they are dropped, as in tests.

#include <string>

namespace folianto {

class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void WriteTraceLevel(int level, const std::string& text) = 0;
};

// The program installs its trace log once at start and removes it at the end.
void InstallTraceSink(TraceSink* sink);
TraceSink* InstalledTraceSink();

void WriteTrace(const std::string& text);
void WriteTraceLevel(int level, const std::string& text);

// "<name> [ENTRY]" on construction, "<name> [EXIT]" on destruction.
// An optional detail follows the entry line after a line break.
class TraceScope {
public:
    explicit TraceScope(const char* name);
    TraceScope(const char* name, const std::string& detail);
    ~TraceScope();
    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;

private:
    const char* name_;
};

inline const char* TraceBool(bool b) { return b ? "TRUE" : "FALSE"; }

} // namespace folianto
