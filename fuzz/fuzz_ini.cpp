// libFuzzer target. Any bytes as a settings file.
// The work per input: FuzzEntries.cpp.

#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!folianto::fuzz::ReadSettingsFile(data, size))
        __builtin_trap();
    return 0;
}
