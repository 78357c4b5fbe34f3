#include "drawing/strokes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/controls.h"
#include "app/lumipad.h"
#include "drawing/raster_ops.h"

namespace lumipad {

namespace {

// Puts the picture from before the stroke back on the open canvas. Only rows that differ from
// it are rewritten and shown again: after the first move that is the last shape's rows.
void restoreSnapshot(Lumipad& app) {
    const Raster* snapshot = app.images.get(kStrokeSnapshot);
    Raster* canvas = app.drawing.openRaster();
    if (snapshot == nullptr || canvas == nullptr) return;
    app.drawing.markChanged(blitChangedRows(*canvas, *snapshot, 0, 0));
}

// w / 2, an exact half going to the even neighbour (9 gives 4, 11 gives 6).
std::int64_t brushRadius(std::int64_t w) {
    if (w % 2 == 0) return w / 2;
    const std::int64_t below = (w - 1) / 2;
    return below % 2 == 0 ? below : below + 1;
}

void brush(Lumipad& app, std::int64_t x, std::int64_t y) {
    const std::int64_t w = app.settings.lineWidth;
    if (w >= 1 && w <= 5) {
        app.drawing.fillRect(x, y, w, w, app.settings.penColor);
    } else {
        app.drawing.fillCircle(x, y, brushRadius(w), app.settings.penColor);
    }
}

void line(Lumipad& app, std::int64_t x, std::int64_t y) {
    restoreSnapshot(app);
    const Point64 start = app.settings.strokeStart;
    const std::int64_t w = app.settings.lineWidth;
    if (w < 2) {
        app.drawing.drawLine(start.x, start.y, x, y, app.settings.penColor);
        return;
    }
    app.drawing.markChanged(
        drawThickLine(*app.drawing.openRaster(), start.x, start.y, x, y, w, app.settings.penColor));
}

// The box's signed size; with Ctrl both sides take the larger signed value.
Point64 boxSize(const Lumipad& app, std::int64_t x, std::int64_t y, bool ctrl) {
    Point64 d{x - app.settings.strokeStart.x, y - app.settings.strokeStart.y};
    if (ctrl) d.x = d.y = std::max(d.x, d.y);
    return d;
}

void box(Lumipad& app, std::int64_t x, std::int64_t y, bool ctrl) {
    restoreSnapshot(app);
    const Point64 s = app.settings.strokeStart;
    const Point64 d = boxSize(app, x, y, ctrl);
    app.drawing.fillRect(s.x, s.y, d.x, d.y, app.settings.penColor);
}

void frame(Lumipad& app, std::int64_t x, std::int64_t y, bool ctrl) {
    restoreSnapshot(app);
    const Point64 s = app.settings.strokeStart;
    const Point64 d = boxSize(app, x, y, ctrl);
    const std::int64_t w = app.settings.lineWidth;
    const Color pen = app.settings.penColor;
    // Top, left, bottom, right. With a negative size a bar reaches back from its anchor, so a
    // frame drawn up or left has its bars outside the rectangle and open corners.
    app.drawing.fillRect(s.x, s.y, d.x, w, pen);
    app.drawing.fillRect(s.x, s.y, w, d.y, pen);
    app.drawing.fillRect(s.x, s.y + d.y - w, d.x, w, pen);
    app.drawing.fillRect(s.x + d.x - w, s.y, w, d.y, pen);
}

void ellipse(Lumipad& app, std::int64_t x, std::int64_t y, bool ctrl) {
    restoreSnapshot(app);
    const Point64 s = app.settings.strokeStart;
    const std::int64_t rx = std::abs(x - s.x);
    const std::int64_t ry = ctrl ? rx : std::abs(y - s.y);
    app.drawing.fillEllipse(s.x, s.y, rx, ry, app.settings.penColor);
}

}  // namespace

void handleCanvasEvent(Lumipad& app, const CanvasEvent& event) {
    std::int64_t x = event.x;
    std::int64_t y = event.y;
    if (app.settings.gridStep > 1) {
        x = snapToGrid(x, app.settings.gridStep);
        y = snapToGrid(y, app.settings.gridStep);
    }
    switch (event.kind) {
        case CanvasEventKind::Press:
            // The snapshot is taken whatever the tool, before the stroke's start moves.
            if (app.drawing.beginDrawing(Target::of(kStrokeSnapshot))) {
                app.drawing.blitImage(app.drawing.canvasImage(), 0, 0);
                app.drawing.endDrawing();
            }
            app.settings.strokeStart = {x, y};
            applyTool(app, x, y, event);
            break;
        case CanvasEventKind::Move:
            if ((event.buttons & kLeftButton) != 0) applyTool(app, x, y, event);
            break;
        case CanvasEventKind::Release:
            applyTool(app, x, y, event);
            if (app.settings.currentTool != 0) app.history.runHistoryCommand("SAVE");
            break;
        case CanvasEventKind::Other:
            break;
    }
}

void applyTool(Lumipad& app, std::int64_t x, std::int64_t y, const CanvasEvent& event) {
    // One drawing pair for the whole event: the window never shows the restored snapshot
    // without the shape drawn over it.
    if (!app.drawing.beginDrawing(Target::canvas())) return;
    const bool pressOrMove =
        event.kind == CanvasEventKind::Press || event.kind == CanvasEventKind::Move;
    switch (app.settings.currentTool) {
        case kBrushTool:
            if (pressOrMove) brush(app, x, y);
            break;
        case kLineTool:
            line(app, x, y);
            break;
        case kBoxTool:
            box(app, x, y, event.ctrl);
            break;
        case kFrameTool:
            frame(app, x, y, event.ctrl);
            break;
        case kEllipseTool:
            ellipse(app, x, y, event.ctrl);
            break;
        case kFillTool:
            if (event.kind == CanvasEventKind::Press) {
                app.drawing.floodFill(x, y, app.settings.penColor);
            }
            break;
        default:
            break;
    }
    app.drawing.endDrawing();
}

std::int64_t snapToGrid(std::int64_t v, std::int64_t g) {
    if (g < 1) return v;
    // Halfway points go to the lower multiple: the offset is g / 2.01, not g / 2.
    const auto step = static_cast<double>(g);
    const double snapped = step * std::trunc((static_cast<double>(v) + step / 2.01) / step);
    // Held inside the 64-bit range so that the conversion back is defined.
    constexpr double kLimit = 9.0e18;
    return static_cast<std::int64_t>(std::clamp(snapped, -kLimit, kLimit));
}

}  // namespace lumipad
