// Picture files made inside the tests: PNG and JPEG through their libraries, BMP and icon files
// byte by byte, and the parsers that look inside what our writers produce.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "drawing/raster.h"
#include "temp_dir.h"

namespace lumipad::test {

using Bytes = std::vector<std::uint8_t>;

void putLe16(Bytes& b, std::size_t at, std::uint32_t v);
void putLe32(Bytes& b, std::size_t at, std::uint32_t v);
void appendLe16(Bytes& b, std::uint32_t v);
void appendLe32(Bytes& b, std::uint32_t v);
Bytes concat(std::initializer_list<Bytes> parts);
void append(Bytes& b, std::initializer_list<std::uint8_t> values);

// Pseudo-random pixels, the same for the same seed.
Raster noiseRaster(int width, int height, std::uint32_t seed);

struct PngFixture {
    int width = 1;
    int height = 1;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    // Rows as the file stores them, top row first; 16-bit samples big-endian.
    Bytes rows{};
    std::vector<png_color> palette{};
    Bytes paletteAlpha{};
    std::optional<png_color_16> transparentColor{};
};
Bytes makePng(const PngFixture& fixture);
// One chunk with its length and CRC, for files libpng would refuse to write.
Bytes pngChunk(const char* type, const Bytes& data);
Bytes pngSignature();
Bytes pngHeader(std::uint32_t width, std::uint32_t height, int bitDepth, int colorType);

struct PngChunk {
    std::string type;
    Bytes data;
};
std::vector<PngChunk> pngChunks(const Bytes& file);
Bytes inflateAll(const Bytes& zlibStream);

struct JpegFixture {
    int width = 8;
    int height = 8;
    int components = 3;
    J_COLOR_SPACE input = JCS_RGB;
    J_COLOR_SPACE stored = JCS_YCbCr;
    int quality = 100;
    bool progressive = false;
    Bytes pixels{};
    bool subsampled = true;  // 4:2:0 YCbCr, else 4:4:4
};
Bytes makeJpeg(const JpegFixture& fixture);

struct JpegSegment {
    std::uint8_t marker;
    Bytes data;  // without the marker and the length
};
// Every marker segment in order, the entropy-coded data after each scan skipped.
std::vector<JpegSegment> jpegSegments(const Bytes& file);

struct BmpFixture {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t infoSize = 40;
    std::uint32_t colorsUsed = 0;
    Bytes colorTable{};  // four bytes an entry: blue, green, red, unused
    Bytes pixels{};      // as stored, rows padded
    // Default: right after the colour table.
    std::optional<std::uint32_t> dataOffset{};
};
Bytes makeBmp(const BmpFixture& fixture);

struct IconEntry {
    std::uint8_t width = 16;
    std::uint8_t height = 16;
    std::uint16_t bitsPerPixel = 32;
    Bytes image{};
    // Default: the image's true size and place.
    std::optional<std::uint32_t> size{};
    std::optional<std::uint32_t> offset{};
};
Bytes makeIcon(const std::vector<IconEntry>& entries);
// A bitmap icon entry: header with doubled height, colour table, colour rows, mask rows.
Bytes iconBitmap(int width, int height, int bitsPerPixel, const Bytes& colorTable,
                 const Bytes& colorRows, const Bytes& maskRows);

Bytes readBytes(const std::string& path);
void writeBytes(const std::string& path, const Bytes& bytes);

}  // namespace lumipad::test
