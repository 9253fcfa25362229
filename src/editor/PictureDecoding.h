#pragma once
// Picture files to something a widget can show, from memory: JPEG and BMP to
// RGB pixels, EMF and WMF to SVG text. Every decoder is bounded in size and
// time; input it cannot read yields an empty picture, never an exception.

#include "editor/PictureGeometry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

// Pictures larger than this on either side, or in all, are not decoded.
constexpr int MaxPictureSide = 20000;
constexpr int64_t MaxPicturePixels = 50'000'000;

struct DecodedPicture {
    PicSize Natural;             // the picture's own size
    PicSize Size;                // size of Pixels; smaller than Natural when scaled down
    std::vector<uint8_t> Pixels; // raster: RGB, 3 bytes a pixel, rows top down, no padding
    std::string Svg;             // vector pictures: an SVG document, UTF-8
    bool IsEmpty() const { return Pixels.empty() && Svg.empty(); }
    bool IsVector() const { return !Svg.empty(); }
};

// `format` is PicFormat of the picture's kind. With a thumbnail box the
// decoder may return fewer pixels (as many as ThumbnailFit needs).
DecodedPicture DecodePicture(const uint8_t* data, std::size_t size, int32_t format,
                             std::optional<PicSize> thumbnailBox = std::nullopt);

DecodedPicture DecodeJpeg(const uint8_t* data, std::size_t size, std::optional<PicSize> thumbnailBox = std::nullopt);
DecodedPicture DecodeBmp(const uint8_t* data, std::size_t size);
DecodedPicture DecodeEmf(const uint8_t* data, std::size_t size);
DecodedPicture DecodeWmf(const uint8_t* data, std::size_t size);

// Record framing checks done before a metafile reaches its library: every
// record lies inside the data and the end record is there.
bool EmfFramingOk(const uint8_t* data, std::size_t size);
bool WmfFramingOk(const uint8_t* data, std::size_t size);

} // namespace folianto
