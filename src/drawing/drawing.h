// The drawing facility: one open target at a time (the canvas surface or an image), the raster
// operations on it, and showing the canvas when a drawing pair on it ends.
#pragma once

#include <cstdint>
#include <functional>

#include "drawing/image_store.h"
#include "drawing/raster.h"

namespace lumipad {

struct Target {
    enum class Kind { Canvas, Image };
    Kind kind = Kind::Canvas;
    ImageId image = kNullImage;

    static Target canvas() { return {Kind::Canvas, kNullImage}; }
    static Target of(ImageId id) { return {Kind::Image, id}; }
};

class Drawing {
  public:
    // Called when a drawing pair on the canvas ends, with the part of the surface it changed.
    using ShowCanvas = std::function<void(const Rect& changed)>;

    Drawing(ImageStore& images, Raster& canvasSurface, ShowCanvas showCanvas);

    // Opens the target; false, with nothing opened, when it does not exist or has no pixels.
    bool beginDrawing(Target target);
    // Closes the open target; on the canvas the window shows the new pixels at once.
    void endDrawing();
    bool isOpen() const { return open_ != nullptr; }

    void fillRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                  Color color);
    void fillEllipse(std::int64_t cx, std::int64_t cy, std::int64_t rx, std::int64_t ry,
                     Color color);
    void fillCircle(std::int64_t cx, std::int64_t cy, std::int64_t r, Color color);
    void drawLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, Color color);
    void floodFill(std::int64_t x, std::int64_t y, Color color);
    void blitImage(const Raster& source, std::int64_t x, std::int64_t y);
    // Marks pixels changed by a caller that draws on openRaster() itself.
    void markChanged(const Rect& changed);

    // The canvas surface as it is now, to be used as the source of blitImage.
    const Raster& canvasImage() const { return canvas_; }
    // The open target's pixels, or nullptr when none is open.
    Raster* openRaster() { return open_; }

  private:
    ImageStore& images_;
    Raster& canvas_;
    ShowCanvas showCanvas_;
    Raster* open_ = nullptr;
    bool openIsCanvas_ = false;
    Rect changed_;
};

}  // namespace lumipad
