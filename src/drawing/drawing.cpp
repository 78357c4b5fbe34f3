#include "drawing/drawing.h"

#include "drawing/raster_ops.h"

namespace lumipad {

Drawing::Drawing(ImageStore& images, Raster& canvasSurface, ShowCanvas showCanvas)
    : images_(images), canvas_(canvasSurface), showCanvas_(std::move(showCanvas)) {}

bool Drawing::beginDrawing(Target target) {
    if (open_ != nullptr) return false;
    Raster* raster = target.kind == Target::Kind::Canvas ? &canvas_ : images_.get(target.image);
    if (raster == nullptr || raster->byteSize() == 0) return false;
    open_ = raster;
    openIsCanvas_ = target.kind == Target::Kind::Canvas;
    changed_ = {};
    return true;
}

void Drawing::endDrawing() {
    if (open_ == nullptr) return;
    const bool wasCanvas = openIsCanvas_;
    const Rect changed = changed_;
    open_ = nullptr;
    openIsCanvas_ = false;
    changed_ = {};
    if (wasCanvas && !changed.empty() && showCanvas_) showCanvas_(changed);
}

void Drawing::markChanged(const Rect& changed) { changed_ = unite(changed_, changed); }

void Drawing::fillRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                       Color color) {
    if (open_) markChanged(lumipad::fillRect(*open_, x, y, width, height, color));
}

void Drawing::fillEllipse(std::int64_t cx, std::int64_t cy, std::int64_t rx, std::int64_t ry,
                          Color color) {
    if (open_) markChanged(lumipad::fillEllipse(*open_, cx, cy, rx, ry, color));
}

void Drawing::fillCircle(std::int64_t cx, std::int64_t cy, std::int64_t r, Color color) {
    if (open_) markChanged(lumipad::fillCircle(*open_, cx, cy, r, color));
}

void Drawing::drawLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                       Color color) {
    if (open_) markChanged(lumipad::drawLine(*open_, x1, y1, x2, y2, color));
}

void Drawing::floodFill(std::int64_t x, std::int64_t y, Color color) {
    if (open_) markChanged(lumipad::floodFill(*open_, x, y, color));
}

void Drawing::blitImage(const Raster& source, std::int64_t x, std::int64_t y) {
    if (open_) markChanged(lumipad::blitImage(*open_, source, x, y));
}

}  // namespace lumipad
