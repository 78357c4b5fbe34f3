// Icon files: a directory of images of one picture at several sizes and depths, each stored as a
// bitmap with a transparency mask or as an embedded PNG file.
#include <algorithm>

#include "files/bitmap_rows.h"
#include "files/formats.h"
#include "files/le_bytes.h"

namespace lumipad {

namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

struct Entry {
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    int bitsPerPixel = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

Entry entryAt(std::span<const std::uint8_t> bytes, std::size_t i) {
    const std::uint8_t* e = bytes.data() + kDirectoryHeader + i * kEntrySize;
    return {e[0], e[1], le16(e + 6), le32(e + 8), le32(e + 12)};
}

// Among the entries as large as the first, the deepest; the earlier one on a tie.
Entry chooseEntry(std::span<const std::uint8_t> bytes, std::size_t count) {
    Entry best = entryAt(bytes, 0);
    const Entry first = best;
    for (std::size_t i = 1; i < count; ++i) {
        const Entry e = entryAt(bytes, i);
        if (e.width == first.width && e.height == first.height &&
            e.bitsPerPixel > best.bitsPerPixel) {
            best = e;
        }
    }
    return best;
}

std::optional<Picture> withAlpha(std::optional<Picture> picture) {
    if (!picture || picture->channels == 4) return picture;
    const std::size_t pixels = static_cast<std::size_t>(picture->width) * picture->height;
    std::vector<std::uint8_t> rgba(pixels * 4);
    for (std::size_t i = 0; i < pixels; ++i) {
        std::copy_n(picture->pixels.data() + i * 3, 3, rgba.data() + i * 4);
        rgba[i * 4 + 3] = 255;
    }
    picture->pixels = std::move(rgba);
    picture->channels = 4;
    return picture;
}

bool layoutOf(int bitsPerPixel, std::uint32_t compression, RowLayout& layout) {
    switch (bitsPerPixel) {
        case 1:
        case 4:
        case 8:
            layout = RowLayout::Indexed;
            return compression == 0;
        case 16:
            layout = compression == 3 ? RowLayout::Rgb565 : RowLayout::Rgb555;
            return compression == 0 || compression == 3;
        case 24:
            layout = RowLayout::Bgr;
            return compression == 0;
        case 32:
            layout = RowLayout::Bgrx;
            return compression == 0 || compression == 3;
        default:
            return false;
    }
}

// Opacity from the fourth byte of 32-bit pixels; false when every one of them is zero, which
// is how icons without an alpha channel of their own store it.
bool takeOwnAlpha(const std::uint8_t* xorData, std::uint64_t rowSize, Picture& picture) {
    bool any = false;
    for (int r = 0; r < picture.height; ++r) {
        const std::uint8_t* src = xorData + rowSize * static_cast<std::uint64_t>(r);
        std::uint8_t* dst = picture.pixels.data() +
                            static_cast<std::size_t>(picture.height - 1 - r) * picture.width * 4;
        for (int x = 0; x < picture.width; ++x) {
            dst[x * 4 + 3] = src[x * 4 + 3];
            any = any || src[x * 4 + 3] != 0;
        }
    }
    return any;
}

// The AND mask: one bit per pixel, set for transparent.
void applyMask(const std::uint8_t* mask, std::uint64_t rowSize, Picture& picture) {
    for (int r = 0; r < picture.height; ++r) {
        const std::uint8_t* src = mask + rowSize * static_cast<std::uint64_t>(r);
        std::uint8_t* dst = picture.pixels.data() +
                            static_cast<std::size_t>(picture.height - 1 - r) * picture.width * 4;
        for (int x = 0; x < picture.width; ++x) {
            const bool transparent = (src[x >> 3] >> (7 - (x & 7))) & 1;
            dst[x * 4 + 3] = transparent ? 0 : 255;
        }
    }
}

// A bitmap entry: an information header whose height counts the colour image and the mask
// together, the colour table, the colour rows, then the mask rows, all bottom row first.
std::optional<Picture> decodeIconBitmap(std::span<const std::uint8_t> image,
                                        const DecodeLimits& limits) {
    if (!holds(image, 0, 40)) return std::nullopt;
    const std::uint8_t* p = image.data();
    const std::uint32_t headerSize = le32(p);
    const std::int32_t width = le32s(p + 4);
    const std::int32_t height = le32s(p + 8) / 2;
    const int bitsPerPixel = le16(p + 14);
    const std::uint32_t compression = le32(p + 16);
    const std::uint32_t colorsUsed = le32(p + 32);
    RowLayout layout = RowLayout::Bgr;
    if (headerSize < 40 || width <= 0 || height <= 0 ||
        !layoutOf(bitsPerPixel, compression, layout))
        return std::nullopt;
    if (!withinLimits(width, height, limits)) return std::nullopt;

    std::uint64_t tableSize = 0;
    if (layout == RowLayout::Indexed) {
        const std::uint64_t entries = std::uint64_t{1} << bitsPerPixel;
        tableSize = 4 * (colorsUsed != 0 && colorsUsed < entries ? colorsUsed : entries);
    } else if (compression == 3 && headerSize == 40) {
        tableSize = 12;  // three colour masks follow the short header; we assume the usual ones
    }
    const std::uint64_t xorOffset = std::uint64_t{headerSize} + tableSize;
    const std::uint64_t xorRow = storedRowSize(width, bitsPerPixel);
    const std::uint64_t maskRow = storedRowSize(width, 1);
    const std::uint64_t xorSize = xorRow * static_cast<std::uint64_t>(height);
    const std::uint64_t maskSize = maskRow * static_cast<std::uint64_t>(height);
    if (!holds(image, xorOffset, xorSize)) return std::nullopt;
    const bool hasMask = holds(image, xorOffset + xorSize, maskSize);
    // Without a 32-bit alpha channel the mask is the only word on transparency.
    if (!hasMask && bitsPerPixel != 32) return std::nullopt;

    auto picture = makePicture(width, height, 4, limits);
    if (!picture) return std::nullopt;
    picture->isIcon = true;
    const auto table = layout == RowLayout::Indexed ? image.subspan(headerSize, tableSize)
                                                    : std::span<const std::uint8_t>();
    const RowFormat format{layout, bitsPerPixel, table};
    const std::uint8_t* xorData = p + xorOffset;
    for (int r = 0; r < height; ++r) {
        std::uint8_t* dst = picture->pixels.data() + static_cast<std::size_t>(height - 1 - r) *
                                                         static_cast<std::size_t>(width) * 4;
        unpackRow(format, xorData + xorRow * static_cast<std::uint64_t>(r), width, dst, 4);
    }
    if (bitsPerPixel == 32 && takeOwnAlpha(xorData, xorRow, *picture)) return picture;
    if (hasMask) {
        applyMask(xorData + xorSize, maskRow, *picture);
    } else {
        for (std::size_t i = 3; i < picture->pixels.size(); i += 4) picture->pixels[i] = 255;
    }
    return picture;
}

}  // namespace

std::optional<Picture> decodeIcon(std::span<const std::uint8_t> bytes, const DecodeLimits& limits) {
    if (!holds(bytes, 0, kDirectoryHeader)) return std::nullopt;
    const std::size_t count = le16(bytes.data() + 4);
    if (count == 0 || !holds(bytes, kDirectoryHeader, count * kEntrySize)) return std::nullopt;
    const Entry entry = chooseEntry(bytes, count);
    if (!holds(bytes, entry.offset, entry.size)) return std::nullopt;
    const auto image = bytes.subspan(entry.offset, entry.size);

    if (image.size() >= sizeof kPngSignature &&
        std::equal(kPngSignature, kPngSignature + sizeof kPngSignature, image.begin())) {
        auto picture = withAlpha(decodePng(image, limits));
        if (picture) picture->isIcon = true;
        return picture;
    }
    return decodeIconBitmap(image, limits);
}

}  // namespace lumipad
