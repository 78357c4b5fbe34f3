// Saving the canvas and loading picture files. Saves include writing the file but not the final
// flush to disk, whose cost depends on the disk alone.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "files/codecs.h"
#include "files/formats.h"

namespace lumipad {
namespace {

enum Canvas { kBlack, kDrawing, kNoise };
const char* const kCanvasNames[] = {"black", "drawing", "noise"};
const char* const kFormatNames[] = {"png", "jpeg", "bmp"};

void fillRect(Raster& r, int x0, int y0, int x1, int y1, Color c) {
    for (int y = std::max(y0, 0); y < std::min(y1, r.height()); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, r.width()); ++x) r.setPixel(x, y, c);
}

void fillCircle(Raster& r, int cx, int cy, int radius, Color c) {
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if (r.contains(x, y) && (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
                r.setPixel(x, y, c);
}

// What a user paints: a background, filled boxes and ellipses, and brush strokes of a few
// widths, in a handful of colours.
Raster typicalDrawing() {
    Raster r(480, 480);
    std::mt19937 random(42);
    auto colour = [&] { return rgb(random() % 256, random() % 256, random() % 256); };
    fillRect(r, 0, 0, 480, 480, rgb(20, 40, 90));
    for (int i = 0; i < 12; ++i) {
        const int x = random() % 440, y = random() % 440;
        fillRect(r, x, y, x + 20 + random() % 120, y + 20 + random() % 90, colour());
    }
    for (int i = 0; i < 10; ++i)
        fillCircle(r, random() % 480, random() % 480, 10 + random() % 60, colour());
    for (int stroke = 0; stroke < 8; ++stroke) {
        const Color c = colour();
        const int width = 1 + random() % 12;
        double x = random() % 480, y = random() % 480, angle = (random() % 628) / 100.0;
        for (int step = 0; step < 300; ++step) {
            angle += ((random() % 21) - 10) / 100.0;
            x += 2 * std::cos(angle);
            y += 2 * std::sin(angle);
            fillCircle(r, static_cast<int>(x), static_cast<int>(y), width / 2, c);
        }
    }
    return r;
}

Raster noise(int width, int height) {
    Raster r(width, height);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) r.row(y)[x] = static_cast<std::uint8_t>(random());
    return r;
}

// Smooth gradients with a little grain, as a photograph has.
Raster photo(int width, int height) {
    Raster r(width, height);
    std::mt19937 random(3);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = r.row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const int grain = static_cast<int>(random() % 9) - 4;
            p[0] = static_cast<std::uint8_t>(std::clamp(x * 255 / width + grain, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(y * 255 / height + grain, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(128 + (x - y) / 40 + grain, 0, 255));
        }
    }
    return r;
}

const Raster& canvas(int which) {
    static const Raster canvases[] = {Raster(480, 480), typicalDrawing(), noise(480, 480)};
    return canvases[which];
}

class Folder {
  public:
    Folder() {
        std::string pattern = std::filesystem::temp_directory_path() / "lumipad-bench-XXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : ".";
    }
    ~Folder() {
        std::error_code ignored;
        if (path_ != ".") std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

const Folder& folder() {
    static const Folder f;
    return f;
}

const FileOutput kNoFlush{{}, false};

std::string canvasFile(int which, int format) {
    return folder().file(std::string(kCanvasNames[which]) + "." + kFormatNames[format]);
}

void BM_SaveCanvas(benchmark::State& state) {
    const Raster& r = canvas(static_cast<int>(state.range(0)));
    const auto format = static_cast<SaveFormat>(state.range(1));
    const std::string path =
        canvasFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state)
        if (!saveImage(r, path, format, 10, kNoFlush)) state.SkipWithError("save failed");
    state.SetLabel(std::string(kCanvasNames[state.range(0)]) + " " + kFormatNames[state.range(1)] +
                   ", " + std::to_string(std::filesystem::file_size(path)) + " bytes");
}

void BM_LoadCanvas(benchmark::State& state) {
    const std::string path =
        canvasFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    saveImage(canvas(static_cast<int>(state.range(0))), path,
              static_cast<SaveFormat>(state.range(1)), 10, kNoFlush);
    for (auto _ : state) {
        auto picture = loadImage(path);
        if (!picture) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(picture);
    }
    state.SetLabel(std::string(kCanvasNames[state.range(0)]) + " " + kFormatNames[state.range(1)]);
}

void canvasAndFormat(benchmark::internal::Benchmark* b) {
    for (int format = 0; format < 3; ++format)
        for (int which = 0; which < 3; ++which) b->Args({which, format});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_SaveCanvas)->Apply(canvasAndFormat);
BENCHMARK(BM_LoadCanvas)->Apply(canvasAndFormat);

// Where a PNG save's time goes: the encoder in memory, and zlib alone on the same bytes.
void BM_EncodePngInMemory(benchmark::State& state) {
    const Raster& r = canvas(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(encodePng(r));
    state.SetLabel(kCanvasNames[state.range(0)]);
}

void BM_DeflateLevel9Only(benchmark::State& state) {
    const Raster& r = canvas(static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < r.height(); ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), r.row(y), r.row(y) + r.width() * 3);
    }
    std::vector<std::uint8_t> out(compressBound(rows.size()));
    for (auto _ : state) {
        uLongf size = out.size();
        compress2(out.data(), &size, rows.data(), rows.size(), 9);
        benchmark::DoNotOptimize(size);
    }
    state.SetLabel(kCanvasNames[state.range(0)]);
}

BENCHMARK(BM_EncodePngInMemory)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeflateLevel9Only)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// A camera-sized picture, made once per format and quality: quality 10 is what this program
// writes, 9 (libjpeg quality 90) what cameras commonly do.
const std::string& largeFile(SaveFormat format, int quality) {
    static std::map<std::pair<SaveFormat, int>, std::string> files;
    auto& path = files[{format, quality}];
    if (path.empty()) {
        path = folder().file("large-q" + std::to_string(quality) + "." +
                             kFormatNames[static_cast<int>(format)]);
        saveImage(photo(4000, 3000), path, format, quality, kNoFlush);
    }
    return path;
}

void BM_LoadLarge(benchmark::State& state) {
    const auto format = static_cast<SaveFormat>(state.range(0));
    const auto quality = static_cast<int>(state.range(1));
    const std::string& path = largeFile(format, quality);
    for (auto _ : state) {
        auto picture = loadImage(path);
        if (!picture) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(picture);
    }
    state.SetLabel(std::string("4000x3000 ") + kFormatNames[state.range(0)] + " quality " +
                   std::to_string(quality) + ", " +
                   std::to_string(std::filesystem::file_size(path)) + " bytes");
}

BENCHMARK(BM_LoadLarge)
    ->Args({static_cast<int>(SaveFormat::Jpeg), 10})
    ->Args({static_cast<int>(SaveFormat::Jpeg), 9})
    ->Args({static_cast<int>(SaveFormat::Png), 10})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumipad
