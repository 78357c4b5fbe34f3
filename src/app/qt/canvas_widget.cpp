#include "app/qt/canvas_widget.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace lumipad {

namespace {

unsigned buttonsOf(Qt::MouseButtons buttons) {
    unsigned bits = 0;
    if (buttons & Qt::LeftButton) bits |= kLeftButton;
    if (buttons & Qt::RightButton) bits |= kRightButton;
    if (buttons & Qt::MiddleButton) bits |= kMiddleButton;
    return bits;
}

}  // namespace

CanvasWidget::CanvasWidget(QWidget* parent, EventSink sink)
    : QWidget(parent), sink_(std::move(sink)) {
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Every pixel is painted from the surface: no background fill, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasWidget::setSurface(const Raster* surface) {
    surface_ = surface;
    if (surface_ == nullptr) {
        screenImage_ = QImage();
        return;
    }
    mirror_.reset(*surface_);
    const Raster& shown = mirror_.shown();
    screenImage_ = QImage(shown.data(), shown.width(), shown.height(),
                          static_cast<qsizetype>(shown.stride()), QImage::Format_RGB888);
    update();
}

void CanvasWidget::present(const Rect& changed) {
    if (surface_ == nullptr) return;
    QRegion region;
    for (const Rect& r : mirror_.update(*surface_, changed)) {
        region += QRect(r.x0, r.y0, r.width(), r.height());
    }
    if (!region.isEmpty()) repaint(region);
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (screenImage_.isNull()) {
        painter.fillRect(event->rect(), Qt::white);
        return;
    }
    for (const QRect& rect : event->region()) {
        const QRect area = rect & screenImage_.rect();
        painter.drawImage(area.topLeft(), screenImage_, area);
    }
}

CanvasEvent CanvasWidget::translate(QMouseEvent* event, CanvasEventKind kind) const {
    CanvasEvent e;
    e.kind = kind;
    const QPointF p = event->position();
    e.x = static_cast<std::int64_t>(std::floor(p.x()));
    e.y = static_cast<std::int64_t>(std::floor(p.y()));
    // While a button holds the mouse on the canvas, the pointer counts as inside it.
    if (event->buttons() != Qt::NoButton || kind == CanvasEventKind::Release) {
        e.x = std::clamp<std::int64_t>(e.x, 0, width() - 1);
        e.y = std::clamp<std::int64_t>(e.y, 0, height() - 1);
    }
    e.buttons = buttonsOf(event->buttons());
    e.ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    return e;
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton;
    sink_(translate(event, left ? CanvasEventKind::Press : CanvasEventKind::Other));
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press like any other.
    mousePressEvent(event);
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    sink_(translate(event, CanvasEventKind::Move));
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton;
    sink_(translate(event, left ? CanvasEventKind::Release : CanvasEventKind::Other));
}

}  // namespace lumipad
