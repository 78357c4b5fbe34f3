// The pieces behind codecs.h: recognising a file, one decoder and one encoder per format, and
// the limits every decoder applies before it allocates. Tests, the benchmark and the fuzzer use
// these directly.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "drawing/raster.h"
#include "files/file_io.h"
#include "files/picture.h"

namespace lumipad {

// No header may make a decoder allocate more than this. 65,535 per side lets every JPEG through
// (its own limit is 65,500); 2^28 pixels (16,384²) is well above any camera's picture and keeps
// the largest picture, four channels, at 1 GiB. libjpeg's own working memory is held to four
// bytes per allowed pixel as well.
struct DecodeLimits {
    std::int64_t maxSide = 65535;
    std::int64_t maxPixels = std::int64_t{1} << 28;
};

bool withinLimits(std::int64_t width, std::int64_t height, const DecodeLimits& limits);
// A black picture; nullopt when the size is outside the limits or memory runs out.
std::optional<Picture> makePicture(std::int64_t width, std::int64_t height, int channels,
                                   const DecodeLimits& limits);

enum class FileKind { Unknown, Icon, Bmp, Jpeg, Png };
// Decided by the first bytes alone, in the order icon, BMP, JPEG, PNG.
FileKind recognise(std::span<const std::uint8_t> bytes);

std::optional<Picture> decodeImage(std::span<const std::uint8_t> bytes, const DecodeLimits& limits);
std::optional<Picture> decodePng(std::span<const std::uint8_t> bytes, const DecodeLimits& limits);
std::optional<Picture> decodeJpeg(std::span<const std::uint8_t> bytes, const DecodeLimits& limits);
std::optional<Picture> decodeBmp(std::span<const std::uint8_t> bytes, const DecodeLimits& limits);
std::optional<Picture> decodeIcon(std::span<const std::uint8_t> bytes, const DecodeLimits& limits);

using Bytes = std::vector<std::uint8_t>;

// Complete files in memory; nullopt when the library fails or the raster is empty.
std::optional<Bytes> encodeImage(const Raster& picture, SaveFormat format, int quality);
std::optional<Bytes> encodePng(const Raster& picture);
std::optional<Bytes> encodeJpeg(const Raster& picture, int quality);
std::optional<Bytes> encodeBmp(const Raster& picture);

// saveImage with a chosen way of reaching the disk.
bool saveImage(const Raster& picture, const std::string& path, SaveFormat format, int quality,
               const FileOutput& output);

}  // namespace lumipad
