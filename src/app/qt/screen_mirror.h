// What the canvas shows on screen, kept in the window system's 32-bit pixel layout. Each update
// finds the pixels that really differ from what is shown and converts only those, so a shape
// dragged over the whole canvas repaints a thin band, not the whole canvas.
#pragma once

#include <cstdint>
#include <vector>

#include "drawing/raster.h"

namespace lumipad {

class ScreenMirror {
  public:
    // Rows are grouped in bands of this height; each band changed yields one rectangle.
    static constexpr int kBandHeight = 16;

    // Starts showing the whole surface.
    void reset(const Raster& surface);

    // Takes over the pixels of `area` that differ from what is shown; returns the rectangles to
    // repaint, one per band of rows with any difference, spanning the differing columns.
    std::vector<Rect> update(const Raster& surface, const Rect& area);

    // 0xffRRGGBB pixels, rows of width() values.
    const std::uint32_t* pixels() const { return xrgb_.data(); }
    int width() const { return shown_.width(); }
    int height() const { return shown_.height(); }

  private:
    void convert(const Raster& surface, int y, int x0, int x1);

    Raster shown_;  // the shown pixels in the surface's own layout, for fast comparison
    std::vector<std::uint32_t> xrgb_;
};

}  // namespace lumipad
