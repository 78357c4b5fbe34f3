#include "drawing/image_store.h"

namespace lumipad {

namespace {
constexpr std::size_t kMaxSpare = 2;
}

Raster ImageStore::make(int width, int height) {
    const std::size_t size =
        static_cast<std::size_t>(rasterStride(width)) * static_cast<std::size_t>(height);
    for (auto it = spare_.begin(); it != spare_.end(); ++it) {
        if (it->capacity() >= size && it->capacity() <= size + size / 4) {
            std::vector<std::uint8_t> memory = std::move(*it);
            spare_.erase(it);
            return Raster::reuse(std::move(memory), width, height);
        }
    }
    return Raster(width, height);
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
