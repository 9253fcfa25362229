// libFuzzer target. Changes of a recovery file replayed onto a catalogue.
// The work per input: FuzzEntries.cpp.

#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!folianto::fuzz::ReplayRecoveryFile(data, size))
        __builtin_trap();
    return 0;
}
