// Reading PNG, JPEG, BMP and icon files, recognised by their content, and writing PNG, JPEG
// and BMP files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "drawing/raster.h"
#include "files/picture.h"

namespace lumipad {

// Reads the whole file and decodes it; nullopt for anything that is not a picture we can read.
std::optional<Picture> loadImage(const std::string& path);
std::optional<Picture> decodeImage(std::span<const std::uint8_t> bytes);

// Writes `picture` as a complete file in `format`; quality 0 to 10 matters for JPEG only. On
// failure nothing of an existing file of that name is lost.
bool saveImage(const Raster& picture, const std::string& path, SaveFormat format, int quality);

}  // namespace lumipad
