// libFuzzer target. Decodes arbitrary bytes as a picture; seeds: fuzz/make_pictures_corpus.sh.
// The work per input: FuzzEntries.cpp.

#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!folianto::fuzz::DecodePictureFile(data, size))
        __builtin_trap();
    return 0;
}
