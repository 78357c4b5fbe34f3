#include "drawing/raster.h"

#include <algorithm>
#include <cstring>

namespace lumipad {

Rect unite(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

std::ptrdiff_t rasterStride(int width) {
    return (static_cast<std::ptrdiff_t>(width) * 3 + 3) / 4 * 4;
}

Raster::Raster(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_(rasterStride(width_)),
      pixels_(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_), 0) {}

Raster Raster::reuse(std::vector<std::uint8_t>&& memory, int width, int height, bool clear) {
    Raster r;
    r.width_ = std::max(width, 0);
    r.height_ = std::max(height, 0);
    r.stride_ = rasterStride(r.width_);
    r.pixels_ = std::move(memory);
    const std::size_t size =
        static_cast<std::size_t>(r.stride_) * static_cast<std::size_t>(r.height_);
    r.pixels_.resize(size);
    if (clear) std::memset(r.pixels_.data(), 0, size);
    return r;
}

std::vector<std::uint8_t> Raster::releaseMemory() {
    width_ = height_ = 0;
    stride_ = 0;
    return std::move(pixels_);
}

Color Raster::pixel(int x, int y) const {
    const std::uint8_t* p = row(y) + x * 3;
    return rgb(p[0], p[1], p[2]);
}

void Raster::setPixel(int x, int y, Color c) {
    std::uint8_t* p = row(y) + x * 3;
    p[0] = static_cast<std::uint8_t>(red(c));
    p[1] = static_cast<std::uint8_t>(green(c));
    p[2] = static_cast<std::uint8_t>(blue(c));
}

}  // namespace lumipad
