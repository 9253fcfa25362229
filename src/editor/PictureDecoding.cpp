#include "editor/PictureDecoding.h"

#include "editor/PictureSlots.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace folianto {
namespace {

bool SizeAllowed(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= MaxPictureSide && height <= MaxPictureSide &&
           width * height <= MaxPicturePixels;
}

uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }
int32_t Le32s(const uint8_t* p) { return static_cast<int32_t>(Le32(p)); }

// ---- JPEG ----------------------------------------------------------------

// Progressive files may hold any number of scans; real ones have a dozen.
constexpr int MaxJpegScans = 500;

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void JpegFail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Warnings about damaged data are tolerated, a missing end of file is not:
// a truncated picture would show up grey.
void JpegMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        JpegFail(info);
}

void JpegProgress(j_common_ptr info)
{
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxJpegScans)
        JpegFail(info);
}

// Adobe writes CMYK inverted; the usual conversion for it.
void CmykRowToRgb(const uint8_t* cmyk, uint8_t* rgb, int width)
{
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = cmyk[3];
        rgb[0] = static_cast<uint8_t>(cmyk[0] * k / 255);
        rgb[1] = static_cast<uint8_t>(cmyk[1] * k / 255);
        rgb[2] = static_cast<uint8_t>(cmyk[2] * k / 255);
    }
}

// ---- BMP -----------------------------------------------------------------

enum BmpCompression : uint32_t { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3 };

struct BmpChannel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit BmpChannel(uint32_t m = 0) : mask(m)
    {
        if (!m)
            return;
        while (!(m & 1u)) {
            m >>= 1;
            ++shift;
        }
        while (m & 1u) {
            m >>= 1;
            ++bits;
        }
    }
    uint8_t Value(uint32_t pixel) const
    {
        if (!bits)
            return 0;
        const uint32_t v = (pixel & mask) >> shift;
        const uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
        return static_cast<uint8_t>((static_cast<uint64_t>(v) * 255 + max / 2) / max);
    }
};

struct BmpImage {
    int width = 0;
    int height = 0;
    bool topDown = false;
    std::vector<uint8_t> rgb;
    void Put(int x, int y, const uint8_t* bgr) // y counted as stored
    {
        if (x < 0 || x >= width || y < 0 || y >= height)
            return;
        const int row = topDown ? y : height - 1 - y;
        uint8_t* p = rgb.data() + (static_cast<std::size_t>(row) * width + x) * 3;
        p[0] = bgr[2];
        p[1] = bgr[1];
        p[2] = bgr[0];
    }
};

// Run-length coded 4- and 8-bit pictures; false when the data ends early.
bool DecodeBmpRle(const uint8_t* p, const uint8_t* end, bool four, const std::vector<uint8_t>& palette,
                  BmpImage& image)
{
    auto colour = [&](unsigned index) {
        static const uint8_t black[3] = {0, 0, 0};
        return index * 3 + 3 <= palette.size() ? palette.data() + index * 3 : black;
    };
    int x = 0;
    int y = 0;
    while (p + 2 <= end) {
        const unsigned count = p[0];
        const unsigned value = p[1];
        p += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) {
                const unsigned index = four ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value;
                image.Put(x++, y, colour(index));
            }
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of picture
            return true;
        case 2: // delta
            if (p + 2 > end)
                return false;
            x += p[0];
            y += p[1];
            p += 2;
            break;
        default: { // literal run, padded to 16 bits
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (static_cast<std::size_t>(end - p) < bytes)
                return false;
            for (unsigned i = 0; i < value; ++i) {
                const unsigned index = four ? (i % 2 == 0 ? p[i / 2] >> 4 : p[i / 2] & 0x0F) : p[i];
                image.Put(x++, y, colour(index));
            }
            p += bytes + (bytes & 1);
            break;
        }
        }
        if (y >= image.height)
            return true;
    }
    return false;
}

// What the file and info headers say, with the channel masks and where the
// palette starts.
struct BmpLayout {
    uint32_t offBits = 0;
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bpp = 0;
    uint32_t compression = BiRgb;
    uint32_t colours = 0;
    bool core = false; // the 12-byte header of OS/2 pictures
    bool topDown = false;
    BmpChannel red, green, blue;
    std::size_t paletteStart = 0;
};

// False for a header that is short, out of range or of a kind not decoded.
bool ReadBmpLayout(const uint8_t* data, std::size_t size, BmpLayout& l)
{
    if (!data || size < 26 || data[0] != 'B' || data[1] != 'M')
        return false;
    l.offBits = Le32(data + 10);
    l.headerSize = Le32(data + 14);
    if (l.headerSize < 12 || l.headerSize > size - 14)
        return false;
    const uint8_t* h = data + 14;
    l.core = l.headerSize < 40;
    if (l.core) {
        l.width = Le16(h + 4);
        l.height = static_cast<int16_t>(Le16(h + 6));
        l.bpp = Le16(h + 10);
    } else {
        l.width = Le32s(h + 4);
        l.height = Le32s(h + 8);
        l.bpp = Le16(h + 14);
        l.compression = Le32(h + 16);
        l.colours = Le32(h + 32);
    }
    l.topDown = l.height < 0;
    if (l.topDown)
        l.height = -l.height;
    if (!SizeAllowed(l.width, l.height))
        return false;

    // Channel masks: inside the header from 52 bytes on, else just behind it.
    l.paletteStart = 14 + l.headerSize;
    if (l.compression == BiBitfields) {
        if (l.bpp != 16 && l.bpp != 32)
            return false;
        const std::size_t maskAt = l.headerSize >= 52 ? 14 + 40 : 14 + l.headerSize;
        if (maskAt + 12 > size)
            return false;
        l.red = BmpChannel(Le32(data + maskAt));
        l.green = BmpChannel(Le32(data + maskAt + 4));
        l.blue = BmpChannel(Le32(data + maskAt + 8));
        if (l.headerSize < 52)
            l.paletteStart += 12;
    } else if (l.compression == BiRle8 ? l.bpp != 8 : l.compression == BiRle4 ? l.bpp != 4 : l.compression != BiRgb) {
        return false;
    } else if (l.bpp == 16) {
        l.red = BmpChannel(0x7C00);
        l.green = BmpChannel(0x03E0);
        l.blue = BmpChannel(0x001F);
    } else if (l.bpp == 32) {
        l.red = BmpChannel(0x00FF0000);
        l.green = BmpChannel(0x0000FF00);
        l.blue = BmpChannel(0x000000FF);
    }
    return l.bpp == 1 || l.bpp == 4 || l.bpp == 8 || l.bpp == 16 || l.bpp == 24 || l.bpp == 32;
}

// The palette as BGR triples, as far as it lies before the pixels.
std::vector<uint8_t> ReadBmpPalette(const uint8_t* data, std::size_t size, const BmpLayout& l)
{
    std::vector<uint8_t> palette;
    const uint32_t maxColours = 1u << l.bpp;
    const uint32_t count = l.colours == 0 || l.colours > maxColours ? maxColours : l.colours;
    const std::size_t entry = l.core ? 3 : 4;
    for (uint32_t i = 0; i < count; ++i) {
        const std::size_t at = l.paletteStart + i * entry;
        if (at + 3 > size || at + 3 > l.offBits)
            break;
        palette.insert(palette.end(), data + at, data + at + 3);
    }
    return palette;
}

// Uncompressed rows; false when the data is shorter than the rows.
bool DecodeBmpRows(const uint8_t* bits, const uint8_t* end, const BmpLayout& l, const std::vector<uint8_t>& palette,
                   BmpImage& image)
{
    const uint32_t bpp = l.bpp;
    const uint64_t stride = (static_cast<uint64_t>(l.width) * bpp + 31) / 32 * 4;
    if (stride * static_cast<uint64_t>(l.height) > static_cast<uint64_t>(end - bits))
        return false;
    static const uint8_t black[3] = {0, 0, 0};
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = bits + stride * static_cast<uint64_t>(y);
        for (int x = 0; x < image.width; ++x) {
            if (bpp <= 8) {
                const unsigned bitPos = static_cast<unsigned>(x) * bpp;
                const unsigned index = (row[bitPos / 8] >> (8 - bpp - bitPos % 8)) & ((1u << bpp) - 1);
                image.Put(x, y, index * 3 + 3 <= palette.size() ? palette.data() + index * 3 : black);
            } else if (bpp == 24) {
                image.Put(x, y, row + x * 3);
            } else {
                const uint32_t pixel = bpp == 16 ? Le16(row + x * 2) : Le32(row + x * 4);
                const uint8_t bgr[3] = {l.blue.Value(pixel), l.green.Value(pixel), l.red.Value(pixel)};
                image.Put(x, y, bgr);
            }
        }
    }
    return true;
}

// ---- metafiles -------------------------------------------------------------

constexpr uint32_t EmrHeader = 1;
constexpr uint32_t EmrEof = 14;
constexpr uint32_t EmfSignature = 0x464D4520; // " EMF"
constexpr uint32_t WmfPlaceableKey = 0x9AC6CDD7;

constexpr const char* HalfFill = "fill-opacity:0.5;";
constexpr const char* FullFill = "fill-opacity:1.0;";

std::string ToSvgText(const char* text, std::size_t length)
{
    std::string svg(text, length);
    // Both libraries may add an XML declaration; the renderer wants the <svg> element.
    return svg.find("<svg") == std::string::npos ? std::string() : svg;
}

} // namespace

DecodedPicture DecodeJpeg(const uint8_t* data, std::size_t size, std::optional<PicSize> thumbnailBox)
{
    DecodedPicture result;
    if (!data || size < 4 || size > static_cast<std::size_t>(ULONG_MAX))
        return result;
    jpeg_decompress_struct info;
    JpegError error;
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = JpegFail;
    error.mgr.emit_message = JpegMessage;
    progress.progress_monitor = JpegProgress;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> cmykRow;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return DecodedPicture{};
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    const PicSize natural{static_cast<int>(std::min<JDIMENSION>(info.image_width, INT32_MAX)),
                          static_cast<int>(std::min<JDIMENSION>(info.image_height, INT32_MAX))};
    if (!SizeAllowed(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return result;
    }
    if (thumbnailBox) {
        const ThumbnailShape fit = ThumbnailFit(natural, *thumbnailBox);
        if (fit.Stretched) {
            info.scale_num = 1;
            info.scale_denom = static_cast<unsigned>(JpegScaleDenominator(natural, fit.Size));
            // The picture is shrunk once more on the screen: the fast paths do.
            info.dct_method = JDCT_IFAST;
            info.do_fancy_upsampling = FALSE;
            info.do_block_smoothing = FALSE;
        }
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const int components = info.output_components;
    if (width <= 0 || height <= 0 || components != (cmyk ? 4 : 3)) {
        jpeg_destroy_decompress(&info);
        return result;
    }
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    pixels.resize(stride * static_cast<std::size_t>(height));
    if (cmyk)
        cmykRow.resize(static_cast<std::size_t>(width) * 4);
    while (info.output_scanline < info.output_height) {
        uint8_t* target = pixels.data() + info.output_scanline * stride;
        JSAMPROW row = cmyk ? cmykRow.data() : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break;
        if (cmyk)
            CmykRowToRgb(cmykRow.data(), target, width);
    }
    const bool complete = info.output_scanline == info.output_height;
    jpeg_abort_decompress(&info); // the rest of the file (trailing markers) does not matter
    jpeg_destroy_decompress(&info);
    if (!complete)
        return result;
    result.Natural = natural;
    result.Size = {width, height};
    result.Pixels = std::move(pixels);
    return result;
}

DecodedPicture DecodeBmp(const uint8_t* data, std::size_t size)
{
    DecodedPicture result;
    BmpLayout layout;
    if (!ReadBmpLayout(data, size, layout))
        return result;
    std::vector<uint8_t> palette;
    if (layout.bpp <= 8) {
        palette = ReadBmpPalette(data, size, layout);
        if (palette.empty())
            return result;
    }
    if (layout.offBits >= size)
        return result;

    BmpImage image;
    image.width = static_cast<int>(layout.width);
    image.height = static_cast<int>(layout.height);
    image.topDown = layout.topDown;
    image.rgb.assign(static_cast<std::size_t>(layout.width * layout.height) * 3, 0);
    const uint8_t* bits = data + layout.offBits;
    const uint8_t* end = data + size;
    const bool rle = layout.compression == BiRle8 || layout.compression == BiRle4;
    if (rle ? !DecodeBmpRle(bits, end, layout.compression == BiRle4, palette, image)
            : !DecodeBmpRows(bits, end, layout, palette, image))
        return result;
    result.Natural = result.Size = {image.width, image.height};
    result.Pixels = std::move(image.rgb);
    return result;
}

bool EmfFramingOk(const uint8_t* data, std::size_t size)
{
    if (!data || size < 88 || Le32(data) != EmrHeader || Le32(data + 40) != EmfSignature)
        return false;
    const uint32_t headerSize = Le32(data + 4);
    const uint32_t total = Le32(data + 48);
    if (headerSize < 88 || headerSize > size || total > size || total < headerSize)
        return false;
    std::size_t at = 0;
    while (at + 8 <= total) {
        const uint32_t type = Le32(data + at);
        const uint32_t recordSize = Le32(data + at + 4);
        if (recordSize < 8 || recordSize % 4 != 0 || recordSize > total - at)
            return false;
        if (type == EmrEof)
            return true;
        at += recordSize;
    }
    return false;
}

bool WmfFramingOk(const uint8_t* data, std::size_t size)
{
    if (!data)
        return false;
    std::size_t at = 0;
    if (size >= 22 && Le32(data) == WmfPlaceableKey)
        at = 22;
    if (size < at + 18)
        return false;
    const uint32_t type = Le16(data + at);
    const uint32_t headerWords = Le16(data + at + 2);
    const uint32_t version = Le16(data + at + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return false;
    // The player allocates a buffer of the announced largest record.
    const uint64_t maxRecordWords = Le32(data + at + 12);
    if (maxRecordWords * 2 > size - at)
        return false;
    at += 18;
    while (at + 6 <= size) {
        const uint64_t words = Le32(data + at);
        const uint32_t function = Le16(data + at + 4);
        if (words < 3 || words * 2 > size - at)
            return false;
        if (function == 0)
            return true;
        at += static_cast<std::size_t>(words * 2);
    }
    return false;
}

DecodedPicture DecodeEmf(const uint8_t* data, std::size_t size)
{
    DecodedPicture result;
    if (!EmfFramingOk(data, size))
        return result;
    // Natural size: the frame (hundredths of a millimetre) at 96 pixels an inch,
    // else the bounds in device pixels.
    auto extent = [&](std::size_t at, double scale) {
        const int64_t w = static_cast<int64_t>(Le32s(data + at + 8)) - Le32s(data + at);
        const int64_t h = static_cast<int64_t>(Le32s(data + at + 12)) - Le32s(data + at + 4);
        return PicSize{static_cast<int>(std::clamp<int64_t>(std::llround(w * scale), -1, INT32_MAX)),
                       static_cast<int>(std::clamp<int64_t>(std::llround(h * scale), -1, INT32_MAX))};
    };
    PicSize natural = extent(24, 96.0 / 2540.0);
    if (!SizeAllowed(natural.Width, natural.Height))
        natural = extent(8, 1.0);
    if (!SizeAllowed(natural.Width, natural.Height))
        return result;
    // The converter takes a writable buffer.
    std::vector<char> contents(data, data + size);
    char nameSpace[] = "svg";
    generatorOptions options{};
    options.nameSpace = nameSpace;
    options.svgDelimiter = true;
    options.emfplus = true;
    options.imgWidth = natural.Width;
    options.imgHeight = natural.Height;
    char* out = nullptr;
    std::size_t outLength = 0;
    const int ok = emf2svg(contents.data(), contents.size(), &out, &outLength, &options);
    if (ok && out) {
        result.Svg = ToSvgText(out, outLength);
        result.Natural = natural;
    }
    std::free(out);
    return result;
}

DecodedPicture DecodeWmf(const uint8_t* data, std::size_t size)
{
    DecodedPicture result;
    if (!WmfFramingOk(data, size) || size > static_cast<std::size_t>(LONG_MAX))
        return result;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* api = nullptr;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return result;
    }
    std::vector<unsigned char> contents(data, data + size);
    char* svg = nullptr;
    unsigned long svgLength = 0;
    wmfD_Rect bbox{};
    if (wmf_mem_open(api, contents.data(), static_cast<long>(contents.size())) == wmf_E_None &&
        wmf_scan(api, 0, &bbox) == wmf_E_None) {
        wmf_svg_t* device = WMF_SVG_GetData(api);
        unsigned int width = 0;
        unsigned int height = 0;
        if (wmf_display_size(api, &width, &height, 96, 96) == wmf_E_None && SizeAllowed(width, height)) {
            char description[] = "Folianto";
            device->out = wmf_stream_create(api, nullptr);
            device->Description = description;
            device->bbox = bbox;
            device->width = width;
            device->height = height;
            // Pictures inside the metafile go into the SVG, never into files.
            device->flags |= WMF_SVG_INLINE_IMAGES;
            const bool played = wmf_play(api, 0, &bbox) == wmf_E_None;
            wmf_stream_destroy(api, device->out, &svg, &svgLength);
            device->out = nullptr;
            device->Description = nullptr;
            if (played && svg) {
                result.Svg = ToSvgText(svg, svgLength);
                // The SVG device draws every fill half transparent when the
                // metafile's background mode is transparent; in a metafile
                // that mode only concerns hatches and text backgrounds.
                for (std::size_t at; (at = result.Svg.find(HalfFill)) != std::string::npos;)
                    result.Svg.replace(at, std::strlen(HalfFill), FullFill);
                result.Natural = {static_cast<int>(width), static_cast<int>(height)};
            }
        }
        wmf_mem_close(api);
    }
    wmf_api_destroy(api); // frees the stream's memory too
    return result;
}

DecodedPicture DecodePicture(const uint8_t* data, std::size_t size, int32_t format,
                             std::optional<PicSize> thumbnailBox)
{
    switch (format) {
    case PicJpg:
    case PicJpeg:
        return DecodeJpeg(data, size, thumbnailBox);
    case PicBmp:
        return DecodeBmp(data, size);
    case PicEmf:
        return DecodeEmf(data, size);
    case PicWmf:
        return DecodeWmf(data, size);
    default:
        return {};
    }
}

} // namespace folianto
