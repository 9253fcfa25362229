// Pictures: a title with ten 3000x2000 JPEG pictures shown as thumbnails
// against the same pictures decoded at full size; and loading the sample
// catalogue with and without its pictures against a plain copy of their bytes.

#include "application/App.h"
#include "application/BuchData.h"
#include "core/SampleCatalogue.h"
#include "editor/PictureDecoding.h"
#include "editor/PictureSlots.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <jpeglib.h>

namespace {

using namespace folianto;

// The scroll box of a picture tab in the editor.
constexpr PicSize ThumbnailBox{440, 300};

[[noreturn]] void Fail(j_common_ptr) { throw std::runtime_error("JPEG encoding failed"); }

// A photo-like 3000x2000 picture: gradients with fine grain, quality 85
// (about 1 MB, as a scan of that size).
std::vector<uint8_t> BigJpeg(unsigned seed)
{
    constexpr int width = 3000;
    constexpr int height = 2000;
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    error.error_exit = Fail;
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(width * 3);
    unsigned noise = seed * 2654435761u;
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int grain = static_cast<int>((noise >> 16) & 0x07);
            row[x * 3] = static_cast<uint8_t>((x * 255 / width + grain + seed * 40) & 0xFF);
            row[x * 3 + 1] = static_cast<uint8_t>((y * 255 / height + grain) & 0xFF);
            row[x * 3 + 2] = static_cast<uint8_t>(((x + y) * 128 / (width + height) + grain) & 0xFF);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

const std::vector<std::vector<uint8_t>>& TenPictures()
{
    static const std::vector<std::vector<uint8_t>> pictures = [] {
        std::vector<std::vector<uint8_t>> v;
        for (unsigned i = 0; i < 10; ++i)
            v.push_back(BigJpeg(i));
        return v;
    }();
    std::size_t total = 0;
    for (const auto& p : pictures)
        total += p.size();
    static const bool reported = (std::printf("ten pictures: %zu bytes\n", total), true);
    (void)reported;
    return pictures;
}

void DecodeTen(benchmark::State& state, std::optional<PicSize> box)
{
    const auto& pictures = TenPictures();
    for (auto _ : state)
        for (const auto& jpeg : pictures) {
            const DecodedPicture p = DecodePicture(jpeg.data(), jpeg.size(), PicJpg, box);
            if (p.IsEmpty())
                state.SkipWithError("decoding failed");
            benchmark::DoNotOptimize(p.Pixels.data());
        }
}

void TenThumbnails(benchmark::State& state) { DecodeTen(state, ThumbnailBox); }
void TenFullSize(benchmark::State& state) { DecodeTen(state, std::nullopt); }

struct SampleFiles {
    QByteArray withPictures;
    QByteArray withoutPictures;
    std::vector<std::vector<uint8_t>> pictureBytes;

    SampleFiles()
    {
        SilentUserInteraction user;
        NullPlatform platform;
        App app(user, platform);
        app.DataVerMain = ProgramVerMain;
        app.DataVerMinor = ProgramVerMinor;
        FillSampleCatalogue(app.store, 10000, 2024);
        withPictures = Write(app);
        for (int32_t i = 1; i <= app.store.AnzBuch; ++i) {
            TBuch& b = *app.store.at(i);
            for (TPicRec& pic : b.Pics)
                if (!pic.Data.empty())
                    pictureBytes.push_back(pic.Data);
            b.Pics.clear();
            b.AnzPics = 0;
        }
        withoutPictures = Write(app);
    }
    static QByteArray Write(const App& app)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteBuchData(app, buffer, "sample.FOL");
        return buffer.data();
    }
};

const SampleFiles& Samples()
{
    static const SampleFiles files;
    return files;
}

void LoadSample(benchmark::State& state, bool pictures)
{
    const SampleFiles& s = Samples();
    QByteArray bytes = pictures ? s.withPictures : s.withoutPictures;
    for (auto _ : state) {
        SilentUserInteraction user;
        NullPlatform platform;
        App app(user, platform);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        if (!ReadBuchData(app, buffer, "sample.FOL") || app.store.AnzBuch != 10000)
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void LoadWithPictures(benchmark::State& state) { LoadSample(state, true); }
void LoadWithoutPictures(benchmark::State& state) { LoadSample(state, false); }

// What the pictures must cost a load at most: one fresh copy of their bytes.
void CopyPictureBytes(benchmark::State& state)
{
    const SampleFiles& s = Samples();
    std::size_t total = 0;
    for (const auto& p : s.pictureBytes)
        total += p.size();
    for (auto _ : state) {
        std::vector<std::vector<uint8_t>> copies;
        copies.reserve(s.pictureBytes.size());
        for (const auto& p : s.pictureBytes)
            copies.emplace_back(p.begin(), p.end());
        benchmark::DoNotOptimize(copies.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(total));
    state.counters["pictures"] = static_cast<double>(s.pictureBytes.size());
}

} // namespace

BENCHMARK(TenThumbnails)->Unit(benchmark::kMillisecond);
BENCHMARK(TenFullSize)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadWithPictures)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadWithoutPictures)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyPictureBytes)->Unit(benchmark::kMillisecond);
