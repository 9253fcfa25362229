// libFuzzer target. The workbook reader on untrusted bytes.
// The work per input: FuzzEntries.cpp.

#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!folianto::fuzz::ReadWorkbook(data, size))
        __builtin_trap();
    return 0;
}
