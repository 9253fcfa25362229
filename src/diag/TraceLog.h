#pragma once
// The ring of the last 255 trace lines and its file beside the program.

#include "diag/Trace.h"

#include <cstdint>
#include <string>

namespace folianto {

class TraceLog : public TraceSink {
public:
    void WriteTraceLevel(int level, const std::string& text) override;

    int32_t WriteMasterAlways = 1;
    uint8_t MasterStoreLevel = 1;
};

} // namespace folianto
