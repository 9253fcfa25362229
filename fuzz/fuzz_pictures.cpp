// Decodes arbitrary bytes as a picture. The first byte picks the format (and
// whether a thumbnail is asked for); the rest is the picture file.
// Seed corpus: the files in tests/data/pictures, each behind its format byte
// (fuzz/make_pictures_corpus.sh).

#include "editor/PictureDecoding.h"
#include "editor/PictureSlots.h"

#include <cstddef>
#include <cstdint>

using namespace folianto;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const int32_t formats[] = {PicJpg, PicBmp, PicEmf, PicWmf};
    const int32_t format = formats[data[0] % 4];
    std::optional<PicSize> box;
    if (data[0] & 4)
        box = PicSize{120, 90};
    const DecodedPicture picture = DecodePicture(data + 1, size - 1, format, box);
    // A raster picture holds exactly the pixels its size says.
    if (!picture.Pixels.empty() &&
        picture.Pixels.size() != static_cast<std::size_t>(picture.Size.Width) * picture.Size.Height * 3)
        __builtin_trap();
    return 0;
}
