#include "files/codecs.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "files/formats.h"

namespace lumipad {

bool withinLimits(std::int64_t width, std::int64_t height, const DecodeLimits& limits) {
    return width > 0 && height > 0 && width <= limits.maxSide && height <= limits.maxSide &&
           width <= limits.maxPixels / height;
}

namespace {

// Faulting in a camera-sized picture 4 KiB at a time costs more than decoding it on a virtual
// machine (90 ms for 36 MB on ours); with huge pages it takes a few dozen faults. Advice only:
// where the system declines, nothing changes.
void preferHugePages(const void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    if (size < 4 * kHugePage) return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + size) & ~(kHugePage - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

}  // namespace

std::optional<Picture> makePicture(std::int64_t width, std::int64_t height, int channels,
                                   const DecodeLimits& limits) {
    if (!withinLimits(width, height, limits)) return std::nullopt;
    try {
        Picture picture;
        picture.width = static_cast<int>(width);
        picture.height = static_cast<int>(height);
        picture.channels = channels;
        const auto size = static_cast<std::size_t>(width * height * channels);
        picture.pixels.reserve(size);
        preferHugePages(picture.pixels.data(), size);
        picture.pixels.resize(size);
        return picture;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<Picture> decodeImage(std::span<const std::uint8_t> bytes,
                                   const DecodeLimits& limits) {
    // Memory running out is one more way for a file not to load.
    try {
        switch (recognise(bytes)) {
            case FileKind::Icon:
                return decodeIcon(bytes, limits);
            case FileKind::Bmp:
                return decodeBmp(bytes, limits);
            case FileKind::Jpeg:
                return decodeJpeg(bytes, limits);
            case FileKind::Png:
                return decodePng(bytes, limits);
            case FileKind::Unknown:
                break;
        }
    } catch (const std::bad_alloc&) {
    }
    return std::nullopt;
}

std::optional<Picture> decodeImage(std::span<const std::uint8_t> bytes) {
    return decodeImage(bytes, DecodeLimits{});
}

std::optional<Picture> loadImage(const std::string& path) {
    const auto bytes = readWholeFile(path);
    if (!bytes) return std::nullopt;
    return decodeImage(*bytes);
}

std::optional<Bytes> encodeImage(const Raster& picture, SaveFormat format, int quality) {
    try {
        switch (format) {
            case SaveFormat::Png:
                return encodePng(picture);
            case SaveFormat::Jpeg:
                return encodeJpeg(picture, quality);
            case SaveFormat::Bmp:
                return encodeBmp(picture);
        }
    } catch (const std::bad_alloc&) {
    }
    return std::nullopt;
}

bool saveImage(const Raster& picture, const std::string& path, SaveFormat format, int quality,
               const FileOutput& output) {
    if (path.empty()) return false;
    // The whole file is made before the disk is touched, so a failing encoder costs nothing.
    const auto bytes = encodeImage(picture, format, quality);
    return bytes && replaceFile(path, *bytes, output);
}

bool saveImage(const Raster& picture, const std::string& path, SaveFormat format, int quality) {
    return saveImage(picture, path, format, quality, FileOutput{});
}

}  // namespace lumipad
