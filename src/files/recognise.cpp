#include <algorithm>

#include "files/formats.h"
#include "files/le_bytes.h"

namespace lumipad {

FileKind recognise(std::span<const std::uint8_t> bytes) {
    const std::uint8_t* p = bytes.data();
    if (holds(bytes, 0, 4) && le16(p) == 0 && le16(p + 2) == 1) return FileKind::Icon;
    if (holds(bytes, 0, 10) && p[0] == 'B' && p[1] == 'M' && le16(p + 6) == 0 && le16(p + 8) == 0)
        return FileKind::Bmp;
    if (holds(bytes, 0, 2) && p[0] == 0xff && p[1] == 0xd8) return FileKind::Jpeg;
    static constexpr std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (holds(bytes, 0, 8) && std::equal(kPng, kPng + 8, p)) return FileKind::Png;
    return FileKind::Unknown;
}

}  // namespace lumipad
