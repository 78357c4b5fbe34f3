// The image facility: images under the fixed numbers 0 to 3, and images handed out as handles.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "drawing/raster.h"

namespace lumipad {

using ImageId = std::int64_t;

constexpr ImageId kStrokeSnapshot = 0;
constexpr ImageId kPenSwatchImage = 1;
constexpr ImageId kBackgroundSwatchImage = 2;
constexpr ImageId kScratchImage = 3;
constexpr ImageId kFixedImageCount = 4;
// Never a fixed number and never handed out: "no image".
constexpr ImageId kNullImage = -1;

class ImageStore {
  public:
    // Decides whether an image of this size may be created; tests use it to make creation fail.
    using CreateGate = std::function<bool(int width, int height)>;

    // Creates (or re-creates) a black image under a fixed number 0 to 3.
    bool create(ImageId fixedNumber, int width, int height);
    // Puts an existing raster under a fixed number (a decoded picture, say).
    bool adopt(ImageId fixedNumber, Raster&& raster);
    // Creates a black image and hands back its handle, or kNullImage on failure.
    ImageId createHandle(int width, int height);
    // The same, with `source` drawn into it at (0, 0): one pass over the memory instead of a
    // black fill followed by a copy.
    ImageId createHandleCopy(int width, int height, const Raster& source);

    bool exists(ImageId id) const;
    void free(ImageId id);
    // The image's pixels, or nullptr for kNullImage and anything that does not exist.
    Raster* get(ImageId id);
    const Raster* get(ImageId id) const;

    void setCreateGate(CreateGate gate) { gate_ = std::move(gate); }
    std::size_t liveCount() const { return images_.size(); }

  private:
    Raster make(int width, int height, const Raster* source = nullptr);

    std::map<ImageId, Raster> images_;
    ImageId nextHandle_ = 1000;
    CreateGate gate_;
    // Memory of freed images kept for the next image of the same size: the history frees and
    // creates a 480 × 480 snapshot on every stroke once it is full.
    std::vector<std::vector<std::uint8_t>> spare_;
};

}  // namespace lumipad
