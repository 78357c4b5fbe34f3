// The drawing canvas: shows the core's canvas surface one to one and reports mouse events.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "app/events.h"
#include "app/qt/screen_mirror.h"
#include "drawing/raster.h"

namespace lumipad {

class CanvasWidget : public QWidget {
  public:
    using EventSink = std::function<void(const CanvasEvent&)>;

    CanvasWidget(QWidget* parent, EventSink sink);

    // The surface to show; it must outlive the widget or be replaced first.
    void setSurface(const Raster* surface);
    // Puts the changed part of the surface on screen before returning.
    void present(const Rect& changed);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    CanvasEvent translate(QMouseEvent* event, CanvasEventKind kind) const;

    EventSink sink_;
    const Raster* surface_ = nullptr;
    // What the window shows; painting converts only the parts being repainted.
    ScreenMirror mirror_;
    QImage screenImage_;  // wraps the mirror's pixels
};

}  // namespace lumipad
