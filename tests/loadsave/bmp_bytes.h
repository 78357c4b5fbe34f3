// Small 24-bit BMP files written and read byte by byte, so that tests can make pictures with
// known pixels and look into written files without going through the program's own codecs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <vector>

#include "drawing/raster.h"

namespace lumipad::test {

using PixelAt = std::function<Color(int x, int y)>;

inline void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Bottom row first, rows filled to a multiple of four bytes, each pixel blue, green, red.
inline std::vector<std::uint8_t> bmpBytes(int width, int height, const PixelAt& pixel) {
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = rowSize * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putLe(out, 54 + dataSize, 4);
    putLe(out, 0, 4);
    putLe(out, 54, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<std::uint32_t>(width), 4);
    putLe(out, static_cast<std::uint32_t>(height), 4);
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);
    putLe(out, dataSize, 4);
    for (int i = 0; i < 4; ++i) putLe(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Color c = pixel(x, y);
            out.push_back(static_cast<std::uint8_t>(blue(c)));
            out.push_back(static_cast<std::uint8_t>(green(c)));
            out.push_back(static_cast<std::uint8_t>(red(c)));
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < rowSize; ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBmp(const std::filesystem::path& path, int width, int height,
                     const PixelAt& pixel) {
    writeBytes(path, bmpBytes(width, height, pixel));
}

// The pixels of an uncompressed 24-bit BMP with a 40-byte header and positive height, as
// written by the program; nullopt for anything else.
inline std::optional<Raster> readBmp24(const std::vector<std::uint8_t>& bytes) {
    auto le = [&bytes](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | bytes[at + static_cast<std::size_t>(i)];
        return v;
    };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    const auto width = static_cast<int>(le(18, 4));
    const auto height = static_cast<int>(le(22, 4));
    if (le(28, 2) != 24 || le(30, 4) != 0 || width <= 0 || height <= 0) return std::nullopt;
    const std::size_t rowSize = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t offset = le(10, 4);
    if (offset + rowSize * static_cast<std::size_t>(height) > bytes.size()) return std::nullopt;
    Raster out(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* p =
            bytes.data() + offset + rowSize * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x, p += 3) out.setPixel(x, y, rgb(p[2], p[1], p[0]));
    }
    return out;
}

}  // namespace lumipad::test
