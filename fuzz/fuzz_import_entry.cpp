// libFuzzer target. Import lines of any bytes, any delimiter and any column assignment.
// The work per input: FuzzEntries.cpp.

#include "FuzzEntries.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication qapp(*argc, *argv); // locale and codecs for dates and paths
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!folianto::fuzz::ImportLines(data, size))
        __builtin_trap();
    return 0;
}
