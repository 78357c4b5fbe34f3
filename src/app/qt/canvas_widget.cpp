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
    screenImage_ = QImage(surface_->width(), surface_->height(), QImage::Format_RGB32);
    mirror({0, 0, surface_->width(), surface_->height()});
}

void CanvasWidget::mirror(const Rect& area) {
    const int x0 = std::max(area.x0, 0);
    const int x1 = std::min(area.x1, surface_->width());
    for (int y = std::max(area.y0, 0); y < std::min(area.y1, surface_->height()); ++y) {
        const std::uint8_t* from = surface_->row(y) + x0 * 3;
        auto* to = reinterpret_cast<QRgb*>(screenImage_.scanLine(y)) + x0;
        for (int x = x0; x < x1; ++x, from += 3) *to++ = qRgb(from[0], from[1], from[2]);
    }
}

void CanvasWidget::present(const Rect& changed) {
    if (surface_ == nullptr) return;
    mirror(changed);
    repaint(QRect(changed.x0, changed.y0, changed.width(), changed.height()));
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (screenImage_.isNull()) {
        painter.fillRect(event->rect(), Qt::white);
        return;
    }
    const QRect area = event->rect() & screenImage_.rect();
    painter.drawImage(area.topLeft(), screenImage_, area);
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
