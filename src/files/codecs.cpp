#include "files/codecs.h"

namespace lumipad {

// The readers and writers arrive in their own change.
std::optional<Picture> loadImage(const std::string&) { return std::nullopt; }
std::optional<Picture> decodeImage(std::span<const std::uint8_t>) { return std::nullopt; }
bool saveImage(const Raster&, const std::string&, SaveFormat, int) { return false; }

}  // namespace lumipad
