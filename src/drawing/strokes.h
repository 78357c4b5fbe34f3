// Canvas strokes: left-button press, moves and release turned into the current tool's drawing.
#pragma once

#include <cstdint>

#include "app/events.h"

namespace lumipad {

class Lumipad;

void handleCanvasEvent(Lumipad& app, const CanvasEvent& event);
void applyTool(Lumipad& app, std::int64_t x, std::int64_t y, const CanvasEvent& event);
// The raster point for coordinate v with raster step g.
std::int64_t snapToGrid(std::int64_t v, std::int64_t g);

}  // namespace lumipad
