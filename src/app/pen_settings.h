// Pen and background colours, line width, raster, and the whole-canvas commands Clear and Reset.
#pragma once

#include <cstdint>

namespace lumipad {

class Lumipad;

void choosePenColor(Lumipad& app);
void chooseBackgroundColor(Lumipad& app);
void repaintPenSwatch(Lumipad& app);
void repaintBackgroundSwatch(Lumipad& app);
void readSliders(Lumipad& app);
void showSettings(Lumipad& app);
void clearCanvas(Lumipad& app);
void resetSettings(Lumipad& app);

// Raster slider position 0..32 to the raster step, and back (0 for a step that has none).
std::int64_t gridStepForPosition(int position);
int positionForGridStep(std::int64_t step);

}  // namespace lumipad
