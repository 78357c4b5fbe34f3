#include "drawing/raster_ops.h"

namespace lumipad {

// The raster operations arrive in their own change.
Rect fillRect(Raster&, std::int64_t, std::int64_t, std::int64_t, std::int64_t, Color) { return {}; }
Rect fillEllipse(Raster&, std::int64_t, std::int64_t, std::int64_t, std::int64_t, Color) {
    return {};
}
Rect fillCircle(Raster&, std::int64_t, std::int64_t, std::int64_t, Color) { return {}; }
Rect drawLine(Raster&, std::int64_t, std::int64_t, std::int64_t, std::int64_t, Color) { return {}; }
Rect floodFill(Raster&, std::int64_t, std::int64_t, Color) { return {}; }
Rect blitImage(Raster&, const Raster&, std::int64_t, std::int64_t) { return {}; }

}  // namespace lumipad
