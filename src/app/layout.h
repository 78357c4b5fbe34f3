// Scaling of the layout units (1/96 inch) to screen pixels.
#pragma once

#include <array>
#include <cstdint>

#include "app/controls.h"
#include "drawing/raster.h"

namespace lumipad {

struct ScreenDpi {
    double x = 96;
    double y = 96;
};

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct Layout {
    int innerWidth = 0;
    int innerHeight = 0;
    int swatchSize = 0;
    std::array<PixelRect, kControlCount> controls{};
};

// Rounds to the nearest whole pixel, halves away from zero.
int scaleUnits(int units, double dpi);

Layout computeLayout(ScreenDpi dpi);

}  // namespace lumipad
