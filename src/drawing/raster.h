// A 24-bit RGB pixel surface: the canvas, the numbered images and the history snapshots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumipad {

// 0x00BBGGRR: red in the lowest byte. The top byte never reaches a pixel.
using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>(r & 0xff) | static_cast<Color>(g & 0xff) << 8 |
           static_cast<Color>(b & 0xff) << 16;
}
constexpr int red(Color c) { return static_cast<int>(c & 0xff); }
constexpr int green(Color c) { return static_cast<int>((c >> 8) & 0xff); }
constexpr int blue(Color c) { return static_cast<int>((c >> 16) & 0xff); }

constexpr Color kBlack = 0;
constexpr Color kWhite = rgb(255, 255, 255);

// Half-open pixel rectangle [x0, x1) × [y0, y1); used to report which part of a target changed.
struct Rect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool empty() const { return x0 >= x1 || y0 >= y1; }
    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Smallest rectangle holding both; an empty side does not count.
Rect unite(const Rect& a, const Rect& b);

// Rows are R, G, B bytes per pixel, padded to a multiple of four bytes so that toolkit images
// can wrap the memory directly. Every pixel starts black.
class Raster {
  public:
    Raster() = default;
    Raster(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    std::ptrdiff_t stride() const { return stride_; }
    bool contains(std::int64_t x, std::int64_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }

    std::uint8_t* row(int y) { return pixels_.data() + y * stride_; }
    const std::uint8_t* row(int y) const { return pixels_.data() + y * stride_; }
    std::uint8_t* data() { return pixels_.data(); }
    const std::uint8_t* data() const { return pixels_.data(); }
    std::size_t byteSize() const { return pixels_.size(); }

    Color pixel(int x, int y) const;
    void setPixel(int x, int y, Color c);

    // Takes the pixel memory of a raster that is dropped, so that a new one of the same size
    // needs no fresh pages from the system. Black unless `clear` is false, when the caller
    // writes every pixel itself.
    static Raster reuse(std::vector<std::uint8_t>&& memory, int width, int height,
                        bool clear = true);
    std::vector<std::uint8_t> releaseMemory();

  private:
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t stride_ = 0;
    std::vector<std::uint8_t> pixels_;
};

std::ptrdiff_t rasterStride(int width);

}  // namespace lumipad
