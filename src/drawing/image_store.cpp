#include "drawing/image_store.h"

#include <algorithm>
#include <cstring>

namespace lumipad {

namespace {
constexpr std::size_t kMaxSpare = 2;
}

namespace {

// Black, with the source's top-left part copied in, row by row.
void copyInto(Raster& image, const Raster& source) {
    if (source.stride() == image.stride() && source.height() >= image.height()) {
        std::memcpy(image.data(), source.data(), image.byteSize());
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(image.stride());
    const std::size_t copied =
        static_cast<std::size_t>(std::min(image.width(), source.width())) * 3;
    for (int y = 0; y < image.height(); ++y) {
        std::uint8_t* row = image.row(y);
        if (y < source.height()) {
            std::memcpy(row, source.row(y), copied);
            std::memset(row + copied, 0, rowBytes - copied);
        } else {
            std::memset(row, 0, rowBytes);
        }
    }
}

}  // namespace

Raster ImageStore::make(int width, int height, const Raster* source) {
    const std::size_t size =
        static_cast<std::size_t>(rasterStride(width)) * static_cast<std::size_t>(height);
    for (auto it = spare_.begin(); it != spare_.end(); ++it) {
        if (it->capacity() >= size && it->capacity() <= size + size / 4) {
            std::vector<std::uint8_t> memory = std::move(*it);
            spare_.erase(it);
            Raster image = Raster::reuse(std::move(memory), width, height, source == nullptr);
            if (source != nullptr) copyInto(image, *source);
            return image;
        }
    }
    Raster image(width, height);
    if (source != nullptr) copyInto(image, *source);
    return image;
}

bool ImageStore::create(ImageId fixedNumber, int width, int height) {
    if (fixedNumber < 0 || fixedNumber >= kFixedImageCount) return false;
    if (width <= 0 || height <= 0) return false;
    if (gate_ && !gate_(width, height)) return false;
    free(fixedNumber);
    images_.emplace(fixedNumber, make(width, height));
    return true;
}

bool ImageStore::adopt(ImageId fixedNumber, Raster&& raster) {
    if (fixedNumber < 0 || fixedNumber >= kFixedImageCount) return false;
    free(fixedNumber);
    images_.emplace(fixedNumber, std::move(raster));
    return true;
}

ImageId ImageStore::createHandle(int width, int height) {
    if (width <= 0 || height <= 0) return kNullImage;
    if (gate_ && !gate_(width, height)) return kNullImage;
    const ImageId id = nextHandle_++;
    images_.emplace(id, make(width, height));
    return id;
}

ImageId ImageStore::createHandleCopy(int width, int height, const Raster& source) {
    if (width <= 0 || height <= 0) return kNullImage;
    if (gate_ && !gate_(width, height)) return kNullImage;
    const ImageId id = nextHandle_++;
    images_.emplace(id, make(width, height, &source));
    return id;
}

bool ImageStore::exists(ImageId id) const { return id != kNullImage && images_.count(id) != 0; }

void ImageStore::free(ImageId id) {
    auto it = images_.find(id);
    if (it == images_.end()) return;
    std::vector<std::uint8_t> memory = it->second.releaseMemory();
    images_.erase(it);
    if (spare_.size() < kMaxSpare && !memory.empty()) spare_.push_back(std::move(memory));
}

Raster* ImageStore::get(ImageId id) {
    auto it = images_.find(id);
    return it == images_.end() ? nullptr : &it->second;
}

const Raster* ImageStore::get(ImageId id) const {
    auto it = images_.find(id);
    return it == images_.end() ? nullptr : &it->second;
}

}  // namespace lumipad
