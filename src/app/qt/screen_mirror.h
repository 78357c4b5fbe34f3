// A copy of what the canvas shows on screen. Each update finds the pixels that really differ
// from what is shown and takes over only those, so a shape dragged over the whole canvas
// repaints a thin band, not the whole canvas.
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

    // What the screen shows, in the surface's own layout.
    const Raster& shown() const { return shown_; }

  private:
    Raster shown_;
};

}  // namespace lumipad
