// libFuzzer target: any bytes through the BibTeX reader (byte 0 even) or the
// RIS reader (odd), then into an empty store.
// The work per input: FuzzEntries.cpp.

#include "FuzzEntries.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication qapp(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!folianto::fuzz::ReadReferences(data, size))
        __builtin_trap();
    return 0;
}
