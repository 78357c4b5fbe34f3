// The program's shared settings. Every subsystem reads and writes them directly.
#pragma once

#include <cstdint>
#include <string>

#include "drawing/raster.h"
#include "files/picture.h"

namespace lumipad {

struct Point64 {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const Point64&, const Point64&) = default;
};

// Zero or empty until start-up fills them in.
struct Settings {
    Color penColor = kBlack;
    Color backgroundColor = kBlack;
    std::int64_t lineWidth = 0;    // 1 to 33
    std::int64_t gridStep = 0;     // 1 = no raster, else 2 to 96
    std::int64_t currentTool = 0;  // 0 = none, else the tool button's control number 7 to 12
    std::int64_t swatchSize = 0;   // side of the swatch images in pixels
    Point64 strokeStart;           // snapped point of the last left-button press
    std::string fileName;
    SaveFormat saveFormat = SaveFormat::Png;
    std::int64_t filterIndex = 0;  // 0 PNG, 1 JPG, 2 BMP in the file dialogs
};

}  // namespace lumipad
