// The canvas widget shows exactly the core's canvas pixels, however they were changed.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <random>

#include "app/controls.h"
#include "app/lumipad.h"
#include "app/qt/canvas_widget.h"
#include "app/qt/main_window.h"
#include "app/qt/screen_mirror.h"

namespace lumipad {
namespace {

int differingPixels(const QImage& shown, const Raster& surface) {
    int wrong = 0;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const QRgb p = shown.pixel(x, y);
            wrong += rgb(qRed(p), qGreen(p), qBlue(p)) != surface.pixel(x, y);
        }
    }
    return wrong;
}

TEST(CanvasWidget, ShowsTheSurfaceAfterEveryKindOfStroke) {
    MainWindow window({96, 96});
    window.show();
    QWidget* canvas = window.canvas();
    std::mt19937 random(7);
    auto point = [&random] {
        return QPointF(std::uniform_int_distribution<int>(0, 479)(random) + 0.5,
                       std::uniform_int_distribution<int>(0, 479)(random) + 0.5);
    };
    const Color colours[] = {rgb(250, 20, 20), rgb(20, 250, 20), kWhite, rgb(1, 2, 3)};
    for (int stroke = 0; stroke < 60; ++stroke) {
        window.core().selectTool(kFirstTool + stroke % 6);
        window.core().settings.lineWidth = 1 + stroke % 33;
        window.core().settings.penColor = colours[stroke % 4];
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, point().toPoint());
        for (int move = 0; move < 3; ++move) {
            QMouseEvent event(QEvent::MouseMove, point(), canvas->mapToGlobal(point()),
                              Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(canvas, &event);
        }
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, point().toPoint());
        if (stroke % 10 == 9) window.core().dispatch({kUndoButton, {}});
    }
    const QImage shown = canvas->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(480, 480));
    EXPECT_EQ(differingPixels(shown, window.core().canvas), 0);
}

TEST(ScreenMirror, RepaintsOnlyBandsThatReallyChanged) {
    Raster surface(100, 100);
    ScreenMirror mirror;
    mirror.reset(surface);
    // Claimed changed everywhere, but only two pixels differ, in rows 5 and 40.
    surface.setPixel(30, 5, kWhite);
    surface.setPixel(70, 40, kWhite);
    const std::vector<Rect> bands = mirror.update(surface, {0, 0, 100, 100});
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0], (Rect{30, 0, 31, 16}));
    EXPECT_EQ(bands[1], (Rect{70, 32, 71, 48}));
    EXPECT_EQ(mirror.shown().pixel(70, 40), kWhite);
    EXPECT_TRUE(mirror.update(surface, {0, 0, 100, 100}).empty());
}

}  // namespace
}  // namespace lumipad
