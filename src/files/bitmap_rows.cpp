#include "files/bitmap_rows.h"

#include "files/le_bytes.h"

namespace lumipad {

std::uint64_t usedRowSize(std::int64_t width, int bitsPerPixel) {
    return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitsPerPixel) + 7) / 8;
}

std::uint64_t storedRowSize(std::int64_t width, int bitsPerPixel) {
    return (usedRowSize(width, bitsPerPixel) + 3) / 4 * 4;
}

void putTableColor(std::span<const std::uint8_t> palette, unsigned index, std::uint8_t* dst) {
    if (index >= palette.size() / 4) {
        dst[0] = dst[1] = dst[2] = 0;
        return;
    }
    const std::uint8_t* entry = palette.data() + index * 4;
    dst[0] = entry[2];
    dst[1] = entry[1];
    dst[2] = entry[0];
}

namespace {

unsigned indexAt(const std::uint8_t* src, int x, int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
            return (src[x >> 3] >> (7 - (x & 7))) & 1u;
        case 4:
            return (x & 1) ? src[x >> 1] & 0x0fu : src[x >> 1] >> 4;
        default:
            return src[x];
    }
}

void putPacked16(std::uint8_t* dst, unsigned v, bool sixBitGreen) {
    if (sixBitGreen) {
        dst[0] = static_cast<std::uint8_t>(((v >> 11) & 31) * 8);
        dst[1] = static_cast<std::uint8_t>(((v >> 5) & 63) * 4);
    } else {
        dst[0] = static_cast<std::uint8_t>(((v >> 10) & 31) * 8);
        dst[1] = static_cast<std::uint8_t>(((v >> 5) & 31) * 8);
    }
    dst[2] = static_cast<std::uint8_t>((v & 31) * 8);
}

}  // namespace

void unpackRow(const RowFormat& format, const std::uint8_t* src, int width, std::uint8_t* dst,
               int step) {
    switch (format.layout) {
        case RowLayout::Indexed:
            for (int x = 0; x < width; ++x, dst += step)
                putTableColor(format.palette, indexAt(src, x, format.bitsPerPixel), dst);
            break;
        case RowLayout::Rgb555:
        case RowLayout::Rgb565:
            for (int x = 0; x < width; ++x, src += 2, dst += step)
                putPacked16(dst, le16(src), format.layout == RowLayout::Rgb565);
            break;
        case RowLayout::Bgr:
        case RowLayout::Bgrx: {
            const int bytes = format.layout == RowLayout::Bgr ? 3 : 4;
            for (int x = 0; x < width; ++x, src += bytes, dst += step) {
                dst[0] = src[2];
                dst[1] = src[1];
                dst[2] = src[0];
            }
            break;
        }
    }
}

}  // namespace lumipad
