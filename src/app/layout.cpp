#include "app/layout.h"

#include <cmath>

namespace lumipad {

int scaleUnits(int units, double dpi) {
    return static_cast<int>(std::round(static_cast<double>(units) * dpi / 96.0));
}

Layout computeLayout(ScreenDpi dpi) {
    Layout layout;
    layout.innerWidth = scaleUnits(kWindowInnerWidth, dpi.x);
    layout.innerHeight = scaleUnits(kWindowInnerHeight, dpi.y);
    layout.swatchSize = scaleUnits(kSwatchUnits, dpi.x);
    for (const ControlSpec& c : kControls) {
        layout.controls[c.number] = {scaleUnits(c.x, dpi.x), scaleUnits(c.y, dpi.y),
                                     scaleUnits(c.width, dpi.x), scaleUnits(c.height, dpi.y)};
    }
    return layout;
}

}  // namespace lumipad
