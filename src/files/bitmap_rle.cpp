// The run-length forms of bitmap pixel data. Each code is two bytes: a count above zero is a run
// of that many pixels; a zero count is followed by 0 (end of line), 1 (end of picture), 2 (a
// jump right and up by the next two bytes) or a number of pixels given literally, their bytes
// filled to an even count.
#include <algorithm>

#include "files/bitmap_rows.h"

namespace lumipad {

namespace {

class RunPainter {
  public:
    RunPainter(std::span<const std::uint8_t> palette, int width, int height, bool bottomUp,
               std::uint8_t* rgb)
        : palette_(palette), width_(width), height_(height), bottomUp_(bottomUp), rgb_(rgb) {}

    bool pastLastRow() const { return row_ >= height_; }

    // Pixels past the row's end are dropped; the position stays clamped there, so that no
    // amount of runs can overflow it.
    void put(unsigned index) {
        if (x_ < width_) {
            const int y = bottomUp_ ? height_ - 1 - row_ : row_;
            const std::size_t at = (static_cast<std::size_t>(y) * width_ + x_) * 3;
            putTableColor(palette_, index, rgb_ + at);
            ++x_;
        }
    }
    void skip(int right, int up) {
        x_ = std::min(x_ + right, width_);
        row_ = std::min(row_ + up, height_);
    }
    void nextLine() {
        x_ = 0;
        row_ = std::min(row_ + 1, height_);
    }

  private:
    std::span<const std::uint8_t> palette_;
    int width_;
    int height_;
    bool bottomUp_;
    std::uint8_t* rgb_;
    int x_ = 0;
    int row_ = 0;
};

// Pixel i of a run or literal group: a byte each for RLE8, the high then the low half of a
// byte for RLE4.
unsigned pixelOf(const std::uint8_t* bytes, int i, int bitsPerPixel) {
    if (bitsPerPixel == 8) return bytes[i];
    const std::uint8_t b = bytes[i / 2];
    return (i & 1) ? b & 0x0fu : b >> 4;
}

}  // namespace

bool decodeRunLengths(std::span<const std::uint8_t> data, int bitsPerPixel,
                      std::span<const std::uint8_t> palette, int width, int height, bool bottomUp,
                      std::uint8_t* rgb) {
    RunPainter painter(palette, width, height, bottomUp, rgb);
    std::size_t pos = 0;
    while (!painter.pastLastRow()) {
        if (data.size() - pos < 2) return false;
        const int count = data[pos];
        const std::uint8_t value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            // An RLE4 run alternates the two halves of its byte.
            const unsigned first = bitsPerPixel == 8 ? value : value >> 4u;
            const unsigned second = bitsPerPixel == 8 ? value : value & 0x0fu;
            for (int i = 0; i < count; ++i) painter.put(i % 2 ? second : first);
        } else if (value == 0) {
            painter.nextLine();
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (data.size() - pos < 2) return false;
            painter.skip(data[pos], data[pos + 1]);
            pos += 2;
        } else {
            const std::size_t bytes = bitsPerPixel == 8 ? value : (value + 1u) / 2;
            if (data.size() - pos < bytes) return false;
            for (int i = 0; i < value; ++i)
                painter.put(pixelOf(data.data() + pos, i, bitsPerPixel));
            pos += std::min(data.size() - pos, (bytes + 1) / 2 * 2);
        }
    }
    return true;
}

}  // namespace lumipad
