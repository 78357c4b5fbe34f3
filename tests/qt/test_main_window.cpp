// The main window's controls, their placement at 96 and 144 DPI, and keyboard focus order.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include "app/controls.h"
#include "app/lumipad.h"
#include "app/qt/canvas_widget.h"
#include "app/qt/main_window.h"
#include "app/qt/swatch_button.h"

namespace lumipad {
namespace {

QRect scaled(const ControlSpec& c, double factor) {
    auto s = [factor](int v) { return static_cast<int>(std::round(v * factor)); };
    return {s(c.x), s(c.y), s(c.width), s(c.height)};
}

TEST(MainWindow, EveryControlHasItsPlaceCaptionAndTooltip) {
    for (const double dpi : {96.0, 144.0}) {
        MainWindow window({dpi, dpi});
        const double factor = dpi / 96;
        EXPECT_EQ(window.size(), QSize(std::lround(608 * factor), std::lround(488 * factor)));
        EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the window is not resizable";
        for (const ControlSpec& entry : kControls) {
            SCOPED_TRACE(entry.name);
            const QWidget* w = window.control(entry.number);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->geometry(), scaled(entry, factor));
            EXPECT_EQ(w->toolTip(), entry.tooltip ? QString(entry.tooltip) : QString());
            if (entry.kind == ControlKind::ToggleButton || entry.kind == ControlKind::PushButton) {
                // The undo counter shows the history position, "0" at start.
                EXPECT_EQ(window.button(entry.number)->text(), QString(entry.caption));
            }
        }
    }
}

TEST(MainWindow, At144DpiThePictureStaysInTheCanvasTopLeft) {
    MainWindow window({144, 144});
    EXPECT_EQ(window.size(), QSize(912, 732));
    EXPECT_EQ(window.canvas()->size(), QSize(720, 720));
    EXPECT_EQ(window.swatch(kPenSwatch)->size(), QSize(63, 63));
    EXPECT_EQ(window.swatch(kPenSwatch)->image().size(), QSize(39, 39));
    const Raster& surface = window.core().canvas;
    EXPECT_EQ(surface.width(), 720);
    // Black picture in the top-left 480 × 480, the rest of the control still white.
    EXPECT_EQ(surface.pixel(479, 479), kBlack);
    EXPECT_EQ(surface.pixel(480, 100), kWhite);
    EXPECT_EQ(surface.pixel(100, 480), kWhite);
}

TEST(MainWindow, StartsWithSettingsShownAndNoToolPressed) {
    MainWindow window({96, 96});
    EXPECT_EQ(window.label(kWidthLabel)->text(), "4");
    EXPECT_EQ(window.label(kGridLabel)->text(), "1");
    EXPECT_EQ(window.slider(kWidthSlider)->value(), 4);
    EXPECT_EQ(window.slider(kGridSlider)->value(), 0);
    EXPECT_EQ(window.button(kUndoCounter)->text(), "0");
    for (int tool = kFirstTool; tool <= kLastTool; ++tool) {
        EXPECT_FALSE(window.button(tool)->isChecked()) << tool;
    }
    EXPECT_EQ(window.swatch(kPenSwatch)->image().pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(window.swatch(kBackgroundSwatch)->image().pixelColor(5, 5), QColor(Qt::black));
    EXPECT_EQ(window.core().settings.currentTool, kBrushTool);
    EXPECT_EQ(window.canvas()->cursor().shape(), Qt::CrossCursor);
    const QImage icon = window.windowIcon().pixmap(48, 48).toImage();
    EXPECT_EQ(icon.size(), QSize(48, 48));
    EXPECT_TRUE(icon.hasAlphaChannel());
}

TEST(MainWindow, ClickingToolButtonsKeepsExactlyOnePressed) {
    MainWindow window({96, 96});
    window.show();
    const struct {
        int click;
        int pressed;
    } steps[] = {{kLineTool, kLineTool},
                 {kLineTool, kLineTool},
                 {kBoxTool, kBoxTool},
                 {kFillTool, kFillTool}};
    for (const auto& step : steps) {
        QTest::mouseClick(window.button(step.click), Qt::LeftButton);
        for (int tool = kFirstTool; tool <= kLastTool; ++tool) {
            EXPECT_EQ(window.button(tool)->isChecked(), tool == step.pressed)
                << "after clicking " << step.click << ", tool " << tool;
        }
        EXPECT_EQ(window.core().settings.currentTool, step.pressed);
    }
}

TEST(MainWindow, TabWalksTheControlsInNumberOrderAndWraps) {
    MainWindow window({96, 96});
    window.show();
    QApplication::setActiveWindow(&window);
    std::vector<int> focusable;
    for (const ControlSpec& entry : kControls) {
        if (entry.kind != ControlKind::Canvas && entry.kind != ControlKind::Label) {
            focusable.push_back(entry.number);
        }
    }
    window.control(focusable.front())->setFocus();
    auto focusedNumber = [&window]() {
        for (int n = 0; n < kControlCount; ++n) {
            if (window.control(n) == QApplication::focusWidget()) return n;
        }
        return -1;
    };
    for (std::size_t i = 1; i <= focusable.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focusedNumber(), focusable[i % focusable.size()]);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(focusedNumber(), focusable.back());
}

}  // namespace
}  // namespace lumipad
