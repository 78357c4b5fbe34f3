// Pixel data as bitmaps store it, shared by BMP files and bitmap icon entries: rows padded to
// four bytes, colour tables of blue, green, red and an unused byte, and the run-length forms.
#pragma once

#include <cstdint>
#include <span>

namespace lumipad {

enum class RowLayout {
    Indexed,  // 1, 4 or 8 bits of colour-table index, most significant bits leftmost
    Rgb555,   // 16 bits: blue 0-4, green 5-9, red 10-14
    Rgb565,   // 16 bits: blue 0-4, green 5-10, red 11-15
    Bgr,      // 24 bits
    Bgrx,     // 32 bits, the fourth byte not colour
};

struct RowFormat {
    RowLayout layout = RowLayout::Bgr;
    int bitsPerPixel = 24;
    // Four bytes per entry. An index past its end gives black: files may carry short tables.
    std::span<const std::uint8_t> palette;
};

// The bytes one stored row takes, padded to four; exact in 64 bits for any 32-bit width.
std::uint64_t storedRowSize(std::int64_t width, int bitsPerPixel);
// The bytes that hold a row's pixels, without the padding.
std::uint64_t usedRowSize(std::int64_t width, int bitsPerPixel);

// Red, green and blue of `width` pixels into dst, `step` bytes from one pixel to the next.
// src must hold usedRowSize(width, bitsPerPixel) bytes.
void unpackRow(const RowFormat& format, const std::uint8_t* src, int width, std::uint8_t* dst,
               int step);

// Colour `index` of a four-byte-per-entry table as red, green, blue into dst.
void putTableColor(std::span<const std::uint8_t> palette, unsigned index, std::uint8_t* dst);

// Run-length data (bitsPerPixel 8: RLE8, 4: RLE4) drawn into a black width × height RGB
// picture. Stored row 0 is the bottom row when `bottomUp`. Runs and jumps past a row's end are
// clipped; a jump past the last row ends the picture. False when the data stops before an end
// of picture.
bool decodeRunLengths(std::span<const std::uint8_t> data, int bitsPerPixel,
                      std::span<const std::uint8_t> palette, int width, int height, bool bottomUp,
                      std::uint8_t* rgb);

}  // namespace lumipad
