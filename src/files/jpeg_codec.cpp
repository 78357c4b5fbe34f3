// JPEG through libjpeg. libjpeg reports errors through the error manager's exit hook, which
// longjmps back: the functions that call setjmp hold no C++ object with a destructor, and
// everything that needs freeing lives in their callers.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

// After <cstdio>: jpeglib.h expects FILE and size_t to be declared already.
#include <jpeglib.h>

#include "files/formats.h"

namespace lumipad {

namespace {

struct JpegFailure {
    jpeg_error_mgr manager;  // first, so that libjpeg's pointer to it is a pointer to us
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegFailure*>(cinfo->err)->jump, 1);
}

void stayQuiet(j_common_ptr) {}

void useFailure(JpegFailure& failure) {
    jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jumpBack;
    failure.manager.output_message = stayQuiet;
}

// A progressive file may hold any number of scans, each a pass over the whole picture. Real
// encoders write a dozen at most; this bounds the work a hostile file can ask for.
constexpr int kMaxScans = 500;

void limitScans(j_common_ptr cinfo) {
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) jumpBack(cinfo);
}

// The CMYK convention of files that store inverted values: the colour is what the ink and the
// black leave of white.
void cmykToRgb(const std::uint8_t* cmyk, std::uint8_t* rgb, unsigned width) {
    for (unsigned x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = cmyk[3];
        rgb[0] = static_cast<std::uint8_t>(cmyk[0] * k / 255);
        rgb[1] = static_cast<std::uint8_t>(cmyk[1] * k / 255);
        rgb[2] = static_cast<std::uint8_t>(cmyk[2] * k / 255);
    }
}

bool createDecompressor(jpeg_decompress_struct* cinfo, JpegFailure* failure) {
    if (setjmp(failure->jump)) return false;
    jpeg_create_decompress(cinfo);
    return true;
}

// Reads the header and asks for RGB, or CMYK that we turn into RGB ourselves.
bool readJpegHeader(jpeg_decompress_struct* cinfo, JpegFailure* failure,
                    std::span<const std::uint8_t> bytes, bool* cmyk) {
    if (setjmp(failure->jump)) return false;
    jpeg_mem_src(cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(cinfo, TRUE);
    switch (cinfo->jpeg_color_space) {
        case JCS_GRAYSCALE:
        case JCS_YCbCr:
        case JCS_RGB:
            cinfo->out_color_space = JCS_RGB;
            *cmyk = false;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            cinfo->out_color_space = JCS_CMYK;
            *cmyk = true;
            break;
        default:
            return false;
    }
    cinfo->dct_method = JDCT_ISLOW;
    return true;
}

// `rgb` holds the whole picture; `cmykRow` one row of four channels when the file is CMYK.
bool readJpegPixels(jpeg_decompress_struct* cinfo, JpegFailure* failure, std::uint8_t* rgb,
                    std::uint8_t* cmykRow) {
    if (setjmp(failure->jump)) return false;
    jpeg_start_decompress(cinfo);
    const int expected = cmykRow ? 4 : 3;
    if (cinfo->output_components != expected) return false;
    const std::size_t rowBytes = std::size_t{cinfo->output_width} * 3;
    while (cinfo->output_scanline < cinfo->output_height) {
        std::uint8_t* out = rgb + cinfo->output_scanline * rowBytes;
        JSAMPROW row = cmykRow ? cmykRow : out;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) return false;
        if (cmykRow) cmykToRgb(cmykRow, out, cinfo->output_width);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

class Decompressor {
  public:
    Decompressor() {
        useFailure(failure_);
        cinfo_.err = &failure_.manager;
        progress_.progress_monitor = limitScans;
    }
    // Safe whether or not creation got anywhere: libjpeg frees only what it allocated.
    ~Decompressor() { jpeg_destroy_decompress(&cinfo_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    bool create(long memoryLimit) {
        if (!createDecompressor(&cinfo_, &failure_)) return false;
        cinfo_.progress = &progress_;
        // Progressive and multi-scan files keep every coefficient of the picture until the
        // last scan: several bytes a pixel, asked for by the header alone.
        cinfo_.mem->max_memory_to_use = memoryLimit;
        return true;
    }
    jpeg_decompress_struct* cinfo() { return &cinfo_; }
    JpegFailure* failure() { return &failure_; }

  private:
    jpeg_decompress_struct cinfo_{};
    JpegFailure failure_{};
    jpeg_progress_mgr progress_{};
};

}  // namespace

std::optional<Picture> decodeJpeg(std::span<const std::uint8_t> bytes, const DecodeLimits& limits) {
    Decompressor d;
    if (!d.create(static_cast<long>(limits.maxPixels * 4))) return std::nullopt;
    bool cmyk = false;
    if (!readJpegHeader(d.cinfo(), d.failure(), bytes, &cmyk)) return std::nullopt;
    const auto width = d.cinfo()->image_width;
    const auto height = d.cinfo()->image_height;
    // Checked before libjpeg allocates anything for the picture.
    auto picture = makePicture(width, height, 3, limits);
    if (!picture) return std::nullopt;
    std::vector<std::uint8_t> cmykRow(cmyk ? std::size_t{width} * 4 : 0);
    if (!readJpegPixels(d.cinfo(), d.failure(), picture->pixels.data(),
                        cmyk ? cmykRow.data() : nullptr)) {
        return std::nullopt;
    }
    return picture;
}

namespace {

// libjpeg fills a block of our own, which is appended to the output whenever it is full.
struct VectorDestination {
    jpeg_destination_mgr manager;  // first, so that libjpeg's pointer to it is a pointer to us
    Bytes* out;
    unsigned char block[1 << 16];
};

VectorDestination* destinationOf(j_compress_ptr cinfo) {
    return reinterpret_cast<VectorDestination*>(cinfo->dest);
}

// An exception must not cross libjpeg, and its error exit must not leave a catch block: the
// failure is raised by the caller.
bool appendBlock(VectorDestination* d, std::size_t count) {
    try {
        d->out->insert(d->out->end(), d->block, d->block + count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    d->manager.next_output_byte = d->block;
    d->manager.free_in_buffer = sizeof d->block;
    return true;
}

void startDestination(j_compress_ptr cinfo) {
    VectorDestination* d = destinationOf(cinfo);
    d->manager.next_output_byte = d->block;
    d->manager.free_in_buffer = sizeof d->block;
}

boolean emptyDestination(j_compress_ptr cinfo) {
    if (!appendBlock(destinationOf(cinfo), sizeof destinationOf(cinfo)->block))
        jumpBack(reinterpret_cast<j_common_ptr>(cinfo));
    return TRUE;
}

void finishDestination(j_compress_ptr cinfo) {
    VectorDestination* d = destinationOf(cinfo);
    if (!appendBlock(d, sizeof d->block - d->manager.free_in_buffer))
        jumpBack(reinterpret_cast<j_common_ptr>(cinfo));
}

// libjpeg's defaults at the given quality: 4:2:0 YCbCr, JFIF 1.01 with a 1:1 aspect ratio and
// no resolution, standard Huffman tables, one sequential scan, the accurate integer transform.
bool compressJpeg(jpeg_compress_struct* cinfo, JpegFailure* failure, VectorDestination* dest,
                  const Raster* picture, int quality) {
    if (setjmp(failure->jump)) return false;
    jpeg_create_compress(cinfo);
    cinfo->dest = &dest->manager;
    cinfo->image_width = static_cast<JDIMENSION>(picture->width());
    cinfo->image_height = static_cast<JDIMENSION>(picture->height());
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, FALSE);
    cinfo->dct_method = JDCT_ISLOW;
    cinfo->smoothing_factor = 0;
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        // libjpeg only reads the rows; its interface is older than const.
        JSAMPROW row =
            const_cast<std::uint8_t*>(picture->row(static_cast<int>(cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

class Compressor {
  public:
    explicit Compressor(Bytes* out) {
        useFailure(failure_);
        cinfo_.err = &failure_.manager;
        dest_.manager.init_destination = startDestination;
        dest_.manager.empty_output_buffer = emptyDestination;
        dest_.manager.term_destination = finishDestination;
        dest_.out = out;
    }
    ~Compressor() { jpeg_destroy_compress(&cinfo_); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    bool run(const Raster& picture, int quality) {
        return compressJpeg(&cinfo_, &failure_, &dest_, &picture, quality);
    }

  private:
    jpeg_compress_struct cinfo_{};
    JpegFailure failure_{};
    VectorDestination dest_{};
};

}  // namespace

std::optional<Bytes> encodeJpeg(const Raster& picture, int quality) {
    if (picture.width() <= 0 || picture.height() <= 0) return std::nullopt;
    Bytes out;
    // Even noise at quality 100 encodes to less than the raw pixels: one allocation serves.
    out.reserve(static_cast<std::size_t>(picture.width()) * picture.height() * 3);
    auto compressor = std::make_unique<Compressor>(&out);
    if (!compressor->run(picture, std::clamp(quality, 0, 10) * 10)) return std::nullopt;
    return out;
}

}  // namespace lumipad
