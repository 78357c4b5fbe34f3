// BMP files: read in all the common forms, written as 24-bit, bottom row first.
#include <climits>

#include "files/bitmap_rows.h"
#include "files/formats.h"
#include "files/le_bytes.h"

namespace lumipad {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
// The last field the reader needs, the compression, ends here.
constexpr std::size_t kFieldsEnd = 34;

struct BmpHeader {
    std::uint32_t dataOffset = 0;
    std::uint32_t infoSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
};

enum class Encoding { Rows, Rle, Unsupported };

Encoding encodingOf(const BmpHeader& h, RowLayout& layout) {
    switch (h.bitsPerPixel) {
        case 1:
            layout = RowLayout::Indexed;
            return Encoding::Rows;
        case 4:
            layout = RowLayout::Indexed;
            return h.compression == 2 ? Encoding::Rle : Encoding::Rows;
        case 8:
            layout = RowLayout::Indexed;
            return h.compression == 1 ? Encoding::Rle : Encoding::Rows;
        case 16:
            if (h.compression != 0 && h.compression != 3) return Encoding::Unsupported;
            layout = h.compression == 3 ? RowLayout::Rgb565 : RowLayout::Rgb555;
            return Encoding::Rows;
        case 24:
            layout = RowLayout::Bgr;
            return Encoding::Rows;
        case 32:
            layout = RowLayout::Bgrx;
            return Encoding::Rows;
        default:
            return Encoding::Unsupported;
    }
}

// The colour table starts right after the information header. Its length is the colours-used
// field when that is set, else one entry per index value, and never more than the file holds.
std::span<const std::uint8_t> colorTable(std::span<const std::uint8_t> bytes, const BmpHeader& h) {
    const std::uint64_t start = kFileHeaderSize + std::uint64_t{h.infoSize};
    if (start >= bytes.size()) return {};
    std::uint64_t entries = std::uint64_t{1} << h.bitsPerPixel;
    if (h.infoSize >= kInfoHeaderSize && holds(bytes, 46, 4)) {
        const std::uint32_t used = le32(bytes.data() + 46);
        if (used != 0 && used < entries) entries = used;
    }
    const std::uint64_t available = (bytes.size() - start) / 4;
    if (entries > available) entries = available;
    return bytes.subspan(start, entries * 4);
}

// One bit per pixel is always black and white: the colour table is not used.
constexpr std::uint8_t kBlackWhite[8] = {0, 0, 0, 0, 255, 255, 255, 0};

}  // namespace

std::optional<Picture> decodeBmp(std::span<const std::uint8_t> bytes, const DecodeLimits& limits) {
    if (!holds(bytes, 0, kFieldsEnd)) return std::nullopt;
    const std::uint8_t* p = bytes.data();
    BmpHeader h;
    h.dataOffset = le32(p + 10);
    h.infoSize = le32(p + 14);
    h.width = le32s(p + 18);
    h.height = le32s(p + 22);
    h.bitsPerPixel = le16(p + 28);
    h.compression = le32(p + 30);

    // A negative height stores the top row first; INT32_MIN has no positive counterpart.
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return std::nullopt;
    const bool bottomUp = h.height > 0;
    const int width = h.width;
    const int height = bottomUp ? h.height : -h.height;
    if (!withinLimits(width, height, limits)) return std::nullopt;

    RowLayout layout = RowLayout::Bgr;
    const Encoding encoding = encodingOf(h, layout);
    const std::uint64_t rowSize = storedRowSize(width, h.bitsPerPixel);
    if (encoding == Encoding::Rows) {
        // Every pixel must be in the file; only the last row's padding may be missing.
        const std::uint64_t needed =
            rowSize * static_cast<std::uint64_t>(height - 1) + usedRowSize(width, h.bitsPerPixel);
        if (!holds(bytes, h.dataOffset, needed)) return std::nullopt;
    } else if (encoding == Encoding::Rle && h.dataOffset > bytes.size()) {
        return std::nullopt;
    }

    auto picture = makePicture(width, height, 3, limits);
    if (!picture) return std::nullopt;
    std::uint8_t* out = picture->pixels.data();
    const std::size_t outRow = static_cast<std::size_t>(width) * 3;
    const auto palette = h.bitsPerPixel == 1   ? std::span<const std::uint8_t>(kBlackWhite)
                         : h.bitsPerPixel <= 8 ? colorTable(bytes, h)
                                               : std::span<const std::uint8_t>();

    switch (encoding) {
        case Encoding::Unsupported:
            // Forms we do not decode still give a picture of the stated size.
            return picture;
        case Encoding::Rle:
            if (!decodeRunLengths(bytes.subspan(h.dataOffset), h.bitsPerPixel, palette, width,
                                  height, bottomUp, out)) {
                return std::nullopt;
            }
            return picture;
        case Encoding::Rows: {
            const RowFormat format{layout, h.bitsPerPixel, palette};
            for (int r = 0; r < height; ++r) {
                const std::uint8_t* stored = p + h.dataOffset + rowSize * r;
                const int y = bottomUp ? height - 1 - r : r;
                unpackRow(format, stored, width, out + static_cast<std::size_t>(y) * outRow, 3);
            }
            return picture;
        }
    }
    return std::nullopt;
}

std::optional<Bytes> encodeBmp(const Raster& picture) {
    const int width = picture.width();
    const int height = picture.height();
    if (width <= 0 || height <= 0) return std::nullopt;
    const std::uint64_t rowSize = storedRowSize(width, 24);
    const std::uint64_t dataSize = rowSize * static_cast<std::uint64_t>(height);
    const std::uint64_t headersSize = kFileHeaderSize + kInfoHeaderSize;
    if (headersSize + dataSize > UINT32_MAX) return std::nullopt;

    Bytes file(headersSize + dataSize, 0);
    std::uint8_t* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    putLe32(h + 2, static_cast<std::uint32_t>(headersSize + dataSize));
    putLe32(h + 10, static_cast<std::uint32_t>(headersSize));
    putLe32(h + 14, kInfoHeaderSize);
    putLe32(h + 18, static_cast<std::uint32_t>(width));
    putLe32(h + 22, static_cast<std::uint32_t>(height));
    putLe16(h + 26, 1);
    putLe16(h + 28, 24);
    putLe32(h + 34, static_cast<std::uint32_t>(dataSize));
    // Reserved words, compression, resolutions and colour counts stay zero.

    std::uint8_t* dst = h + headersSize;
    for (int y = height - 1; y >= 0; --y, dst += rowSize) {
        const std::uint8_t* src = picture.row(y);
        for (int x = 0; x < width * 3; x += 3) {
            dst[x] = src[x + 2];
            dst[x + 1] = src[x + 1];
            dst[x + 2] = src[x];
        }
    }
    return file;
}

}  // namespace lumipad
