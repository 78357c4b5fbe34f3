// A decoded picture file, and the formats the program writes.
#pragma once

#include <cstdint>
#include <vector>

namespace lumipad {

enum class SaveFormat { Png, Jpeg, Bmp };

struct Picture {
    int width = 0;
    int height = 0;
    // 3: red, green, blue; 4: red, green, blue, alpha (not premultiplied, 255 opaque).
    int channels = 3;
    // Icons are the only pictures drawn with their transparency.
    bool isIcon = false;
    // Rows top to bottom, width × channels bytes each, no padding.
    std::vector<std::uint8_t> pixels;
};

}  // namespace lumipad
