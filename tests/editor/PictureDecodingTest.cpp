#include "editor/PictureDecoding.h"
#include "editor/PictureSlots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace folianto;

namespace {

std::vector<uint8_t> Fixture(const std::string& name)
{
    std::ifstream in(std::string(FOLIANTO_TEST_DATA) + "/pictures/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

DecodedPicture Decode(const std::vector<uint8_t>& bytes, int32_t format, std::optional<PicSize> box = {})
{
    return DecodePicture(bytes.data(), bytes.size(), format, box);
}

struct Rgb {
    int r, g, b;
};

Rgb PixelAt(const DecodedPicture& p, int x, int y)
{
    const uint8_t* px = p.Pixels.data() + (static_cast<std::size_t>(y) * p.Size.Width + x) * 3;
    return {px[0], px[1], px[2]};
}

void ExpectNear(Rgb actual, Rgb expected, const std::string& where)
{
    constexpr int tolerance = 40; // JPEG rounds colours at edges
    EXPECT_LE(std::abs(actual.r - expected.r), tolerance) << where;
    EXPECT_LE(std::abs(actual.g - expected.g), tolerance) << where;
    EXPECT_LE(std::abs(actual.b - expected.b), tolerance) << where;
}

} // namespace

// Every fixture shows its layout: red left, blue right, a green square top
// left; damaged, it gives an empty picture and no crash.
TEST(PictureDecoding, FixturesDecode)
{
    const std::pair<const char*, int32_t> fixtures[] = {
        {"baseline.jpg", PicJpg},    {"progressive.jpg", PicJpeg}, {"rgb24.bmp", PicBmp},
        {"palette8.bmp", PicBmp},    {"palette8-rle.bmp", PicBmp}, {"drawing.emf", PicEmf},
        {"drawing.wmf", PicWmf},     {"cmyk.jpg", PicJpg},
    };
    for (const auto& [file, format] : fixtures) {
        SCOPED_TRACE(file);
        const std::vector<uint8_t> bytes = Fixture(file);
        ASSERT_FALSE(bytes.empty());
        const std::pair<const char*, std::vector<uint8_t>> damaged[] = {
            {"empty", {}},
            {"header only", {bytes.begin(), bytes.begin() + 16}},
            {"half", {bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)}},
            {"last bytes missing", {bytes.begin(), bytes.end() - 4}},
            {"text", std::vector<uint8_t>(200, 'x')},
        };
        for (const auto& [name, data] : damaged)
            EXPECT_TRUE(Decode(data, format).IsEmpty()) << name;
        const DecodedPicture p = Decode(bytes, format);
        ASSERT_FALSE(p.IsEmpty());
        if (format == PicEmf || format == PicWmf) {
            EXPECT_TRUE(p.IsVector());
            EXPECT_NE(p.Svg.find("<svg"), std::string::npos);
            // Fills are opaque, also where the metafile's background mode is transparent.
            EXPECT_EQ(p.Svg.find("fill-opacity:0.5"), std::string::npos);
            EXPECT_EQ(p.Natural, (format == PicEmf ? PicSize{64, 49} : PicSize{63, 47})); // at 96 dpi
            continue;
        }
        EXPECT_EQ(p.Natural, (PicSize{64, 48}));
        EXPECT_EQ(p.Size, p.Natural);
        ASSERT_EQ(p.Pixels.size(), 64u * 48u * 3u);
        ExpectNear(PixelAt(p, 2, 40), {255, 0, 0}, "bottom left");
        ExpectNear(PixelAt(p, 60, 2), {0, 0, 255}, "top right");
        ExpectNear(PixelAt(p, 12, 12), {0, 255, 0}, "green square");
    }
    // Run-length data may stop at the end of its last line, without the end code.
    std::vector<uint8_t> rle = Fixture("palette8-rle.bmp");
    rle.resize(rle.size() - 2);
    EXPECT_EQ(Decode(rle, PicBmp).Size, (PicSize{64, 48}));
}

namespace {

// A BMP two pixels wide: `headerSize` 12 is the old core header; masks go
// behind a 40-byte header or inside a longer one; the palette holds 0xRRGGBB
// colours; `bits` are the rows as stored.
std::vector<uint8_t> Bmp(uint32_t headerSize, int height, uint16_t bpp, uint32_t compression,
                         const std::vector<uint32_t>& palette, const std::vector<uint32_t>& masks,
                         const std::vector<uint8_t>& bits)
{
    std::vector<uint8_t> b{'B', 'M'};
    // Little-endian; bytes past the fourth are zero.
    const auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(i < 4 ? static_cast<uint8_t>(v >> (8 * i)) : 0);
    };
    const bool core = headerSize == 12;
    const std::size_t paletteAt = 14 + headerSize + (headerSize == 40 ? 4 * masks.size() : 0);
    const std::size_t offBits = paletteAt + (core ? 3 : 4) * palette.size();
    put(static_cast<uint32_t>(offBits + bits.size()), 4);
    put(0, 4);
    put(static_cast<uint32_t>(offBits), 4);
    put(headerSize, 4);
    if (core) {
        put(2, 2), put(static_cast<uint32_t>(height), 2), put(1, 2), put(bpp, 2);
    } else {
        put(2, 4), put(static_cast<uint32_t>(height), 4), put(1, 2), put(bpp, 2), put(compression, 4);
        put(0, 12), put(static_cast<uint32_t>(palette.size()), 4), put(0, 4);
    }
    for (uint32_t m : masks)
        put(m, 4);
    b.resize(paletteAt, 0);
    for (uint32_t c : palette)
        put(c, core ? 3 : 4);
    b.insert(b.end(), bits.begin(), bits.end());
    return b;
}

// `bmp` with another number of colours in its header (0: as many as the bits allow).
std::vector<uint8_t> Declaring(std::vector<uint8_t> bmp, uint32_t colours)
{
    for (int i = 0; i < 4; ++i)
        bmp[46 + static_cast<std::size_t>(i)] = static_cast<uint8_t>(colours >> (8 * i));
    return bmp;
}

} // namespace

// Every pixel layout of a BMP: palettes of 1 and 4 bits, 16 and 32 bits with
// the standard or the file's own channel masks, the core header top down, and
// 4-bit run lengths with a jump and a literal run.
TEST(PictureDecoding, BmpPixelLayouts)
{
    const std::vector<uint8_t> oneBit = Bmp(40, 2, 1, 0, {0x000000, 0xFFFFFF}, {}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    const std::vector<uint32_t> checkered = {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000};
    const struct {
        const char* name;
        std::vector<uint8_t> bmp;
        std::vector<uint32_t> pixels; // 0xRRGGBB: top left, top right, bottom left, bottom right
    } cases[] = {
        {"1 bit", oneBit, checkered},
        {"1 bit, colours not declared", Declaring(oneBit, 0), checkered},
        {"1 bit, more colours declared than it allows", Declaring(oneBit, 3), checkered},
        {"4 bit, fewer colours declared than stored",
         Declaring(Bmp(40, 2, 4, 0, {0xFF0000, 0x00FF00, 0x0000FF}, {}, {0x12, 0, 0, 0, 0x21, 0, 0, 0}), 2),
         {0x000000, 0x00FF00, 0x00FF00, 0x000000}},
        {"4 bit, index past the palette", Bmp(40, 2, 4, 0, {0xFF0000, 0x00FF00}, {}, {0x10, 0, 0, 0, 0x0F, 0, 0, 0}),
         {0xFF0000, 0x000000, 0x00FF00, 0xFF0000}},
        {"16 bit 5-5-5", Bmp(40, 2, 16, 0, {}, {}, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F}),
         {0x0000FF, 0xFFFFFF, 0xFF0000, 0x00FF00}},
        {"16 bit masks behind the header",
         Bmp(40, 2, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x00, 0x04}),
         {0x0000FF, 0x008200, 0xFF0000, 0x00FF00}},
        {"16 bit masks ending a 52-byte header",
         Bmp(52, 2, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x00, 0x04}),
         {0x0000FF, 0x008200, 0xFF0000, 0x00FF00}},
        {"32 bit", Bmp(40, 2, 32, 0, {}, {}, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0x30, 0x20, 0x10, 0}),
         {0x0000FF, 0x102030, 0xFF0000, 0x00FF00}},
        {"32 bit masks in the header",
         Bmp(56, 2, 32, 3, {}, {0xFF000000, 0x00FF0000, 0x0000FF00},
             {0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0}),
         {0x0000FF, 0x000000, 0xFF0000, 0x00FF00}},
        {"core header top down", Bmp(12, -2, 24, 0, {}, {}, {0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0}),
         {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}},
        {"4 bit run lengths", Bmp(40, 2, 4, 2, {0xFF0000, 0x00FF00, 0x0000FF}, {},
                                  {2, 0x12, 0, 0, 0, 2, 1, 0, 0, 3, 0x21, 0x00, 0, 1}),
         {0x000000, 0x0000FF, 0x00FF00, 0x0000FF}},
        {"4 bit literal runs of five", Bmp(40, 2, 4, 2, {0xFF0000, 0x00FF00, 0x0000FF}, {},
                                           {0, 5, 0x12, 0, 0, 0, 0, 0, 0, 5, 0x21, 0, 0, 0, 0, 1}),
         {0x0000FF, 0x00FF00, 0x00FF00, 0x0000FF}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedPicture p = Decode(c.bmp, PicBmp);
        ASSERT_EQ(p.Size, (PicSize{2, 2}));
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) {
                const Rgb px = PixelAt(p, x, y);
                pixels.push_back(static_cast<uint32_t>(px.r << 16 | px.g << 8 | px.b));
            }
        EXPECT_EQ(pixels, c.pixels);
    }
}

// BMPs whose header and data do not hold together, or a picture under another
// format's name, give an empty picture and no crash.
TEST(PictureDecoding, DamagedOrMislabelledInputIsEmpty)
{
    const std::vector<uint8_t> rows(16, 0); // two rows of 24 bits, four of 16
    std::vector<uint8_t> cut = Bmp(40, 2, 24, 0, {}, {}, rows);
    cut.resize(40);
    const struct {
        const char* name;
        std::vector<uint8_t> bmp;
    } bmps[] = {
        {"header longer than the file", cut},
        {"masks for 24 bits", Bmp(40, 2, 24, 3, {}, {0xFF0000, 0xFF00, 0xFF}, rows)},
        {"masks past the end", Bmp(40, 2, 16, 3, {}, {}, {0, 0, 0, 0, 0, 0, 0, 0})},
        {"8-bit run lengths of 4 bits", Bmp(40, 2, 4, 1, {0xFF0000}, {}, rows)},
        {"run lengths ending in a jump", Bmp(40, 2, 4, 2, {0xFF0000}, {}, {2, 0x00, 0, 2})},
        {"literal run past the end", Bmp(40, 2, 4, 2, {0xFF0000}, {}, {0, 5, 0x00})},
    };
    for (const auto& b : bmps)
        EXPECT_TRUE(Decode(b.bmp, PicBmp).IsEmpty()) << b.name;
    // A picture decoded under another format's name is not shown.
    const struct {
        const char* file;
        int32_t claimed;
    } cases[] = {
        {"baseline.jpg", PicBmp}, {"rgb24.bmp", PicJpg}, {"drawing.emf", PicWmf},
        {"drawing.wmf", PicEmf},  {"rgb24.bmp", PicEmf}, {"baseline.jpg", 3},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(Decode(Fixture(c.file), c.claimed).IsEmpty()) << c.file << " as " << c.claimed;
}

// Headers that announce more than is sane are refused before any allocation.
TEST(PictureDecoding, OversizedHeadersRefused)
{
    static const uint8_t kStartOfScan[] = {0xFF, 0xDA};
    std::vector<uint8_t> bmp = Fixture("rgb24.bmp");
    const auto put32 = [&](std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(18, 100000); // width
    EXPECT_TRUE(Decode(bmp, PicBmp).IsEmpty());
    put32(18, 64);
    put32(22, 0x80000000u); // height of INT_MIN
    EXPECT_TRUE(Decode(bmp, PicBmp).IsEmpty());

    std::vector<uint8_t> jpeg = Fixture("baseline.jpg");
    // Start of frame: FF C0, length, precision, then height and width.
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = jpeg[i + 6] = jpeg[i + 7] = jpeg[i + 8] = 0xFF;
            break;
        }
    EXPECT_TRUE(Decode(jpeg, PicJpg).IsEmpty());

    // Stray bytes before a marker are only a warning: the picture shows.
    std::vector<uint8_t> stray = Fixture("baseline.jpg");
    const auto scan = std::search(stray.begin(), stray.end(), std::begin(kStartOfScan), std::end(kStartOfScan));
    ASSERT_NE(scan, stray.end());
    stray.insert(scan, {'x', 'y'});
    EXPECT_EQ(Decode(stray, PicJpg).Pixels, Decode(Fixture("baseline.jpg"), PicJpg).Pixels);

    // The largest record of a metafile: 2 GB announced in a small file.
    std::vector<uint8_t> wmf = Fixture("drawing.wmf");
    ASSERT_TRUE(WmfFramingOk(wmf.data(), wmf.size()));
    const std::size_t maxRecord = 22 + 12; // behind the placeable header
    wmf[maxRecord + 3] = 0x40;
    EXPECT_FALSE(WmfFramingOk(wmf.data(), wmf.size()));
    EXPECT_TRUE(Decode(wmf, PicWmf).IsEmpty());
    wmf[maxRecord + 3] = 0;
    ASSERT_TRUE(WmfFramingOk(wmf.data(), wmf.size()));
    EXPECT_FALSE(WmfFramingOk(wmf.data(), 22 + 17)); // cut inside its header
    const uint8_t version = std::exchange(wmf[22 + 5], 0x02); // 0x0200: no version
    EXPECT_FALSE(WmfFramingOk(wmf.data(), wmf.size()));
    wmf[22 + 5] = version;
    EXPECT_FALSE(WmfFramingOk(wmf.data(), wmf.size() - 6)); // without its end record
    wmf[22 + 18] = 2; // the first record: shorter than its own head
    wmf[22 + 19] = wmf[22 + 20] = wmf[22 + 21] = 0;
    EXPECT_FALSE(WmfFramingOk(wmf.data(), wmf.size()));

    // The smallest EMF header (88 bytes), then the end record, is framed well;
    // not with a shorter header, without the end record or with a record size
    // that is no multiple of four.
    std::vector<uint8_t> emf(108, 0);
    for (const auto& [at, value] : std::vector<std::pair<std::size_t, uint32_t>>{
             {0, 1}, {4, 88}, {40, 0x464D4520}, {48, 108}, {88, 14}, {92, 20}})
        for (int i = 0; i < 4; ++i)
            emf[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    for (const auto& [at, value, framed] : std::vector<std::tuple<std::size_t, uint8_t, bool>>{
             {0, 1, true}, {4, 84, false}, {88, 2, false}, {92, 22, false}}) {
        std::vector<uint8_t> changed = emf;
        changed[at] = value;
        EXPECT_EQ(EmfFramingOk(changed.data(), changed.size()), framed) << at;
    }
}

// For a thumbnail libjpeg decodes a fraction of the pixels, never much fewer than shown.
TEST(PictureDecoding, JpegThumbnailScales)
{
    const std::vector<uint8_t> jpeg = Fixture("baseline.jpg");
    const struct {
        PicSize box;
        PicSize decoded;
    } cases[] = {
        {{200, 200}, {64, 48}}, // fits: natural size
        {{20, 20}, {16, 12}},   // shown 15x11: a quarter
        {{12, 12}, {8, 6}},     // shown 7x5: an eighth
        {{30, 30}, {32, 24}},   // shown 25x19: a half (a quarter is too small)
        {{40, 40}, {32, 24}},   // shown 35x26: a half, drawn a little larger
        {{66, 50}, {64, 48}},   // shown 61x46: a half is too small
    };
    for (const auto& c : cases) {
        const DecodedPicture p = Decode(jpeg, PicJpg, c.box);
        EXPECT_EQ(p.Natural, (PicSize{64, 48}));
        EXPECT_EQ(p.Size, c.decoded) << c.box.Width;
        EXPECT_GE(p.Size.Width * 5, ThumbnailFit(p.Natural, c.box).Size.Width * 4);
    }
}
