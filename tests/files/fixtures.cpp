#include "files/fixtures.h"

#include <stdlib.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace lumipad::test {

void putLe16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void putLe32(Bytes& b, std::size_t at, std::uint32_t v) {
    putLe16(b, at, v);
    putLe16(b, at + 2, v >> 16);
}

void appendLe16(Bytes& b, std::uint32_t v) {
    b.resize(b.size() + 2);
    putLe16(b, b.size() - 2, v);
}

void appendLe32(Bytes& b, std::uint32_t v) {
    b.resize(b.size() + 4);
    putLe32(b, b.size() - 4, v);
}

void append(Bytes& b, std::initializer_list<std::uint8_t> values) {
    for (std::uint8_t v : values) b.push_back(v);
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Raster noiseRaster(int width, int height, std::uint32_t seed) {
    Raster r(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) r.row(y)[x] = static_cast<std::uint8_t>(random());
    return r;
}

// --- PNG

namespace {

void appendToBytes(png_structp png, png_bytep data, std::size_t size) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

}  // namespace

Bytes makePng(const PngFixture& fixture) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendToBytes, nullptr);
    png_set_IHDR(png, info, fixture.width, fixture.height, fixture.bitDepth, fixture.colorType,
                 fixture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (!fixture.palette.empty())
        png_set_PLTE(png, info, fixture.palette.data(), static_cast<int>(fixture.palette.size()));
    if (!fixture.paletteAlpha.empty()) {
        png_set_tRNS(png, info, fixture.paletteAlpha.data(),
                     static_cast<int>(fixture.paletteAlpha.size()), nullptr);
    }
    if (fixture.transparentColor) {
        png_color_16 color = *fixture.transparentColor;
        png_set_tRNS(png, info, nullptr, 0, &color);
    }
    png_write_info(png, info);
    const std::size_t rowBytes = fixture.rows.size() / fixture.height;
    std::vector<png_bytep> rows;
    for (int y = 0; y < fixture.height; ++y)
        rows.push_back(const_cast<png_bytep>(fixture.rows.data() + y * rowBytes));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes pngSignature() { return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}; }

Bytes pngChunk(const char* type, const Bytes& data) {
    const auto length = static_cast<std::uint32_t>(data.size());
    Bytes out(12 + data.size());
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
        out[4 + i] = static_cast<std::uint8_t>(type[i]);
    }
    std::copy(data.begin(), data.end(), out.begin() + 8);
    const auto crc = static_cast<std::uint32_t>(crc32(0, out.data() + 4, 4 + length));
    for (int i = 0; i < 4; ++i)
        out[8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    return out;
}

Bytes pngHeader(std::uint32_t width, std::uint32_t height, int bitDepth, int colorType) {
    Bytes data;
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            data.push_back(static_cast<std::uint8_t>(v >> shift));
    append(data,
           {static_cast<std::uint8_t>(bitDepth), static_cast<std::uint8_t>(colorType), 0, 0, 0});
    return pngChunk("IHDR", data);
}

std::vector<PngChunk> pngChunks(const Bytes& file) {
    std::vector<PngChunk> chunks;
    std::size_t at = 8;
    while (at + 12 <= file.size()) {
        const std::uint32_t length = static_cast<std::uint32_t>(file[at]) << 24 |
                                     file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        if (at + 12 + length > file.size()) throw std::runtime_error("chunk past the end");
        chunks.push_back({std::string(file.begin() + at + 4, file.begin() + at + 8),
                          Bytes(file.begin() + at + 8, file.begin() + at + 8 + length)});
        at += 12 + length;
    }
    return chunks;
}

Bytes inflateAll(const Bytes& zlibStream) {
    z_stream z{};
    inflateInit(&z);
    z.next_in = const_cast<Bytef*>(zlibStream.data());
    z.avail_in = static_cast<uInt>(zlibStream.size());
    Bytes out;
    std::uint8_t buffer[65536];
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = buffer;
        z.avail_out = sizeof buffer;
        status = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END) throw std::runtime_error("bad zlib stream");
    return out;
}

// --- JPEG

Bytes makeJpeg(const JpegFixture& fixture) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = fixture.width;
    cinfo.image_height = fixture.height;
    cinfo.input_components = fixture.components;
    cinfo.in_color_space = fixture.input;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, fixture.stored);
    jpeg_set_quality(&cinfo, fixture.quality, FALSE);
    if (!fixture.subsampled)
        cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 1;
    if (fixture.progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(fixture.width) * fixture.components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(fixture.pixels.data() + cinfo.next_scanline * rowBytes);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

std::vector<JpegSegment> jpegSegments(const Bytes& file) {
    std::vector<JpegSegment> segments;
    std::size_t at = 2;  // after SOI
    while (at + 2 <= file.size()) {
        if (file[at] != 0xff) throw std::runtime_error("marker expected");
        const std::uint8_t marker = file[at + 1];
        at += 2;
        if (marker == 0xd9) {
            segments.push_back({marker, {}});
            break;
        }
        const std::size_t length = file[at] << 8 | file[at + 1];
        segments.push_back({marker, Bytes(file.begin() + at + 2, file.begin() + at + length)});
        at += length;
        if (marker == 0xda) {
            // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a
            // restart marker.
            while (at + 1 < file.size() &&
                   !(file[at] == 0xff && file[at + 1] != 0 && (file[at + 1] & 0xf8) != 0xd0))
                ++at;
        }
    }
    return segments;
}

// --- BMP and icons

Bytes makeBmp(const BmpFixture& fixture) {
    Bytes file(14 + fixture.infoSize, 0);
    const std::uint32_t offset = fixture.dataOffset.value_or(
        static_cast<std::uint32_t>(file.size() + fixture.colorTable.size()));
    file[0] = 'B';
    file[1] = 'M';
    putLe32(file, 2, static_cast<std::uint32_t>(offset + fixture.pixels.size()));
    putLe32(file, 10, offset);
    putLe32(file, 14, fixture.infoSize);
    putLe32(file, 18, static_cast<std::uint32_t>(fixture.width));
    putLe32(file, 22, static_cast<std::uint32_t>(fixture.height));
    putLe16(file, 26, 1);
    putLe16(file, 28, fixture.bitsPerPixel);
    putLe32(file, 30, fixture.compression);
    if (fixture.infoSize >= 40) putLe32(file, 46, fixture.colorsUsed);
    file.insert(file.end(), fixture.colorTable.begin(), fixture.colorTable.end());
    if (offset > file.size()) file.resize(offset, 0);
    file.insert(file.end(), fixture.pixels.begin(), fixture.pixels.end());
    return file;
}

Bytes makeIcon(const std::vector<IconEntry>& entries) {
    Bytes file;
    appendLe16(file, 0);
    appendLe16(file, 1);
    appendLe16(file, static_cast<std::uint32_t>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const IconEntry& e : entries) {
        append(file, {e.width, e.height, 0, 0});
        appendLe16(file, 1);
        appendLe16(file, e.bitsPerPixel);
        appendLe32(file, e.size.value_or(static_cast<std::uint32_t>(e.image.size())));
        appendLe32(file, e.offset.value_or(offset));
        offset += static_cast<std::uint32_t>(e.image.size());
    }
    for (const IconEntry& e : entries) file.insert(file.end(), e.image.begin(), e.image.end());
    return file;
}

Bytes iconBitmap(int width, int height, int bitsPerPixel, const Bytes& colorTable,
                 const Bytes& colorRows, const Bytes& maskRows) {
    Bytes header(40, 0);
    putLe32(header, 0, 40);
    putLe32(header, 4, static_cast<std::uint32_t>(width));
    putLe32(header, 8, static_cast<std::uint32_t>(height * 2));
    putLe16(header, 12, 1);
    putLe16(header, 14, static_cast<std::uint32_t>(bitsPerPixel));
    putLe32(header, 32, static_cast<std::uint32_t>(colorTable.size() / 4));
    return concat({header, colorTable, colorRows, maskRows});
}

// --- files

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace lumipad::test
