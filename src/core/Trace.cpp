#include "core/Trace.h"

namespace folianto {
namespace {
TraceSink* g_sink = nullptr;
}

void InstallTraceSink(TraceSink* sink) { g_sink = sink; }
TraceSink* InstalledTraceSink() { return g_sink; }

void WriteTrace(const std::string& text)
{
    if (g_sink)
        g_sink->WriteTraceLevel(0, text);
}

void WriteTraceLevel(int level, const std::string& text)
{
    if (g_sink)
        g_sink->WriteTraceLevel(level, text);
}

TraceScope::TraceScope(const char* name) : name_(name)
{
    if (g_sink)
        g_sink->WriteTraceLevel(0, std::string(name_) + " [ENTRY]");
}

TraceScope::TraceScope(const char* name, const std::string& detail) : name_(name)
{
    if (g_sink)
        g_sink->WriteTraceLevel(0, std::string(name_) + " [ENTRY]\r\n" + detail);
}

TraceScope::~TraceScope()
{
    if (g_sink)
        g_sink->WriteTraceLevel(0, std::string(name_) + " [EXIT]");
}

} // namespace folianto
