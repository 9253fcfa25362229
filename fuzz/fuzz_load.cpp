// libFuzzer target. Loads arbitrary bytes as a database file.
// The work per input: FuzzEntries.cpp.

#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!folianto::fuzz::LoadDatabase(data, size))
        __builtin_trap();
    return 0;
}
