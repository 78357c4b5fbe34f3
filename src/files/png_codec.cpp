// PNG through libpng. libpng reports errors by longjmp: the functions that call setjmp hold no
// C++ object with a destructor, and everything that needs freeing lives in their callers.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>

#include "files/formats.h"

namespace lumipad {

namespace {

constexpr std::uint64_t kMaxInflation = 1032;

[[noreturn]] void failPng(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignorePngWarning(png_structp, png_const_charp) {}

struct MemorySource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

void readFromMemory(png_structp png, png_bytep out, std::size_t count) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > source->size - source->position) png_error(png, "file cut short");
    std::memcpy(out, source->data + source->position, count);
    source->position += count;
}

struct PngShape {
    std::size_t storedRowBytes = 0;  // as the file holds a row, before any conversion
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int channels = 0;
    std::size_t rowBytes = 0;
};

// Reads up to the pixels and asks libpng for 8-bit RGB or RGBA whatever the file holds: palette
// entries looked up, grey widened and copied to all three colours, 16-bit samples cut to their
// high byte, tRNS turned into alpha, all interlace passes combined.
bool readPngHeader(png_structp png, png_infop info, PngShape* shape) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    shape->storedRowBytes = png_get_rowbytes(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    shape->width = png_get_image_width(png, info);
    shape->height = png_get_image_height(png, info);
    shape->channels = png_get_channels(png, info);
    shape->rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool readPngRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    return true;
}

class PngReader {
  public:
    PngReader() {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failPng, ignorePngWarning);
        if (png_) info_ = png_create_info_struct(png_);
    }
    ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

std::optional<Picture> decodePng(std::span<const std::uint8_t> bytes, const DecodeLimits& limits) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return std::nullopt;
    PngReader reader;
    png_structp png = reader.png();
    if (!png || !reader.info()) return std::nullopt;

    const auto side =
        static_cast<png_uint_32>(std::min<std::int64_t>(limits.maxSide, PNG_UINT_31_MAX));
    png_set_user_limits(png, side, side);
    // Ancillary chunks are never used; cap what a file can make libpng keep of them.
    png_set_chunk_cache_max(png, 128);
    png_set_chunk_malloc_max(png, 8u << 20);
    MemorySource source{bytes.data(), bytes.size(), 0};
    png_set_read_fn(png, &source, readFromMemory);

    PngShape shape;
    if (!readPngHeader(png, reader.info(), &shape)) return std::nullopt;
    // Deflate makes at most 258 bytes of two bits, so the file cannot hold more rows than this;
    // a header claiming more is not worth allocating for.
    const std::uint64_t storedSize = std::uint64_t{shape.height} * (shape.storedRowBytes + 1);
    if (storedSize / kMaxInflation > bytes.size()) return std::nullopt;
    if ((shape.channels != 3 && shape.channels != 4) ||
        shape.rowBytes != std::size_t{shape.width} * static_cast<std::size_t>(shape.channels)) {
        return std::nullopt;
    }
    auto picture = makePicture(shape.width, shape.height, shape.channels, limits);
    if (!picture) return std::nullopt;
    std::vector<png_bytep> rows(shape.height);
    for (png_uint_32 y = 0; y < shape.height; ++y)
        rows[y] = picture->pixels.data() + y * shape.rowBytes;
    if (!readPngRows(png, rows.data())) return std::nullopt;
    return picture;
}

namespace {

struct MemorySink {
    Bytes* out;
};

void writeToMemory(png_structp png, png_bytep data, std::size_t count) {
    auto* sink = static_cast<MemorySink*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        sink->out->insert(sink->out->end(), data, data + count);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    // Raised outside the handler: an exception must not cross libpng, and a longjmp must not
    // leave a catch block.
    if (!stored) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

// 8-bit RGB, no interlace, every row unfiltered, zlib level 9, and no chunk beyond IHDR, IDAT
// and IEND.
bool writePng(png_structp png, png_infop info, const Raster* picture) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture->width()),
                 static_cast<png_uint_32>(picture->height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < picture->height(); ++y) png_write_row(png, picture->row(y));
    png_write_end(png, nullptr);
    return true;
}

class PngWriter {
  public:
    PngWriter() {
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failPng, ignorePngWarning);
        if (png_) info_ = png_create_info_struct(png_);
    }
    ~PngWriter() { png_destroy_write_struct(&png_, info_ ? &info_ : nullptr); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

std::optional<Bytes> encodePng(const Raster& picture) {
    if (picture.width() <= 0 || picture.height() <= 0) return std::nullopt;
    PngWriter writer;
    if (!writer.png() || !writer.info()) return std::nullopt;
    Bytes out;
    // Room for the stored size of the rows; drawings need far less, noise about this.
    out.reserve(static_cast<std::size_t>(picture.height()) *
                    (static_cast<std::size_t>(picture.width()) * 3 + 1) +
                4096);
    MemorySink sink{&out};
    png_set_write_fn(writer.png(), &sink, writeToMemory, flushNothing);
    if (!writePng(writer.png(), writer.info(), &picture)) return std::nullopt;
    return out;
}

}  // namespace lumipad
