// Pixel-exact drawing primitives on a Raster. Everything clips silently to the raster; each
// returns the rectangle of pixels it may have changed (empty when it touched nothing).
#pragma once

#include <cstdint>

#include "drawing/raster.h"

namespace lumipad {

// A negative width or height extends left of / above the anchor, without the anchor's own
// column or row; a size of 0 covers nothing.
Rect fillRect(Raster& target, std::int64_t x, std::int64_t y, std::int64_t width,
              std::int64_t height, Color color);

// Midpoint-rule filled ellipse; nothing for a negative radius. Radii above kMaxRadius are drawn
// as kMaxRadius: far larger than any canvas, and it keeps the work bounded and the exact
// arithmetic within 64 bits.
constexpr std::int64_t kMaxRadius = 16384;
Rect fillEllipse(Raster& target, std::int64_t cx, std::int64_t cy, std::int64_t rx, std::int64_t ry,
                 Color color);
Rect fillCircle(Raster& target, std::int64_t cx, std::int64_t cy, std::int64_t r, Color color);

// One-pixel line: clipped in double precision, then one pixel per column (or row) by the
// nearest-pixel rule. The same pixels result whichever end is given first.
Rect drawLine(Raster& target, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
              Color color);

// The union of the w × w one-pixel lines from (x1 + i, y1 + j) to (x2 + i, y2 + j), 0 ≤ i, j < w,
// each clipped on its own exactly as drawLine clips it; nothing for w < 1. Away from the edges
// this is the one-pixel line with every pixel grown into a w × w square hanging right and down.
Rect drawThickLine(Raster& target, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                   std::int64_t y2, std::int64_t w, Color color);

// Four-connected fill of the region of exactly the start pixel's colour.
Rect floodFill(Raster& target, std::int64_t x, std::int64_t y, Color color);

// Copies the source's colours with its top-left pixel at (x, y); no scaling, no blending.
Rect blitImage(Raster& target, const Raster& source, std::int64_t x, std::int64_t y);

// The same pixels as blitImage, but rows that already hold the source's pixels are left alone
// and only the rows actually rewritten are reported. Putting a snapshot back over a canvas that
// differs from it in a few rows costs a comparison instead of a copy, and the window repaints
// only those rows.
Rect blitChangedRows(Raster& target, const Raster& source, std::int64_t x, std::int64_t y);

}  // namespace lumipad
