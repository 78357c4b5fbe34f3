// Small helpers for tests that look at which pixels of a raster took a colour.
#pragma once

#include <set>
#include <utility>

#include "drawing/raster.h"

namespace lumipad::test {

using Pixel = std::pair<int, int>;  // (x, y)
using PixelSet = std::set<Pixel>;

inline constexpr Color kInk = rgb(200, 30, 90);

inline PixelSet pixelsOf(const Raster& raster, Color color) {
    PixelSet found;
    for (int y = 0; y < raster.height(); ++y) {
        for (int x = 0; x < raster.width(); ++x) {
            if (raster.pixel(x, y) == color) found.insert({x, y});
        }
    }
    return found;
}

// Every pixel of columns x0..x1 and rows y0..y1 (both included).
inline PixelSet block(int x0, int x1, int y0, int y1) {
    PixelSet s;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) s.insert({x, y});
    }
    return s;
}

inline PixelSet joined(PixelSet a, const PixelSet& b) {
    a.insert(b.begin(), b.end());
    return a;
}

// The smallest rectangle holding the pixels; empty for none.
inline Rect boundsOf(const PixelSet& pixels) {
    if (pixels.empty()) return {};
    Rect r{pixels.begin()->first, pixels.begin()->second, pixels.begin()->first + 1,
           pixels.begin()->second + 1};
    for (const auto& [x, y] : pixels) r = unite(r, {x, y, x + 1, y + 1});
    return r;
}

}  // namespace lumipad::test
