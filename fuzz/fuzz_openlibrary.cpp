// libFuzzer target. Any bytes as the answer of the Open Library books API.
// The work per input: FuzzEntries.cpp.

#include "FuzzEntries.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!folianto::fuzz::ReadOpenLibraryJson(data, size))
        __builtin_trap();
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication qapp(*argc, *argv);
    return 0;
}
