// The settings controls as the user works them: sliders by keyboard and by dragging, the
// colour chooser behind the swatches, and a Ctrl-drag on the canvas.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/controls.h"
#include "app/lumipad.h"
#include "app/qt/canvas_widget.h"
#include "app/qt/main_window.h"
#include "app/qt/swatch_button.h"

namespace lumipad {
namespace {

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, modifiers);
    QApplication::sendEvent(widget, &event);
}

QPoint handleCentre(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.subControls = QStyle::SC_SliderHandle;
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
        .center();
}

TEST(SettingsWidgets, KeyboardMovesAWidthSliderAndItsLabel) {
    MainWindow window({96, 96});
    window.show();
    QSlider* width = window.slider(kWidthSlider);
    QTest::keyClick(width, Qt::Key_Right);
    EXPECT_EQ(window.label(kWidthLabel)->text(), "5");
    EXPECT_EQ(window.core().settings.lineWidth, 5);
    QTest::keyClick(width, Qt::Key_End);
    EXPECT_EQ(window.label(kWidthLabel)->text(), "33");
    QSlider* grid = window.slider(kGridSlider);
    QTest::keyClick(grid, Qt::Key_End);
    EXPECT_EQ(window.label(kGridLabel)->text(), "96");
    EXPECT_EQ(window.core().settings.gridStep, 96);
}

TEST(SettingsWidgets, DraggingTheRasterSliderUpdatesTheLabelBeforeTheRelease) {
    MainWindow window({96, 96});
    window.show();
    QSlider* grid = window.slider(kGridSlider);
    const QPoint start = handleCentre(grid);
    sendMouse(grid, QEvent::MouseButtonPress, start, Qt::LeftButton);
    sendMouse(grid, QEvent::MouseMove, start + QPoint(grid->width() / 3, 0), Qt::LeftButton);
    const QString during = window.label(kGridLabel)->text();
    EXPECT_NE(during, "1") << "the label must follow the thumb while it is dragged";
    EXPECT_EQ(std::to_string(window.core().settings.gridStep), during.toStdString());
    sendMouse(grid, QEvent::MouseButtonRelease, start + QPoint(grid->width() / 3, 0), Qt::NoButton);
    EXPECT_EQ(std::to_string(window.core().settings.gridStep),
              window.label(kGridLabel)->text().toStdString());
}

// Answers the next colour chooser that opens: looks at it, then picks or cancels.
void answerChooser(const std::function<void(QColorDialog&)>& answer) {
    QTimer::singleShot(0, [answer] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QColorDialog*>(w); dialog && dialog->isVisible()) {
                answer(*dialog);
                return;
            }
        }
        ADD_FAILURE() << "no colour chooser opened";
    });
}

TEST(SettingsWidgets, SwatchChooserStartsAtTheColourAndKeepsItOnCancel) {
    MainWindow window({96, 96});
    window.show();
    QColor offered;
    QColor firstCustom;
    answerChooser([&](QColorDialog& dialog) {
        offered = dialog.currentColor();
        firstCustom = QColorDialog::customColor(0);
        dialog.setCurrentColor(QColor(200, 10, 20));
        dialog.accept();
    });
    QTest::mouseClick(window.swatch(kPenSwatch), Qt::LeftButton);
    EXPECT_EQ(offered, QColor(Qt::white));
    EXPECT_EQ(firstCustom, QColor(Qt::white));
    EXPECT_EQ(window.core().settings.penColor, rgb(200, 10, 20));
    EXPECT_EQ(window.swatch(kPenSwatch)->image().pixelColor(3, 3), QColor(200, 10, 20));

    answerChooser([&](QColorDialog& dialog) {
        offered = dialog.currentColor();
        firstCustom = QColorDialog::customColor(0);
        dialog.setCurrentColor(Qt::blue);
        dialog.reject();
    });
    QTest::mouseClick(window.swatch(kPenSwatch), Qt::LeftButton);
    EXPECT_EQ(offered, QColor(200, 10, 20));
    EXPECT_EQ(firstCustom, QColor(200, 10, 20));
    EXPECT_EQ(window.core().settings.penColor, rgb(200, 10, 20));
    EXPECT_EQ(window.swatch(kPenSwatch)->image().pixelColor(3, 3), QColor(200, 10, 20));
}

TEST(SettingsWidgets, CtrlDragWithTheBoxDrawsASquare) {
    MainWindow window({96, 96});
    window.show();
    QTest::mouseClick(window.button(kBoxTool), Qt::LeftButton);
    CanvasWidget* canvas = window.canvas();
    sendMouse(canvas, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::ControlModifier);
    sendMouse(canvas, QEvent::MouseMove, {130, 120}, Qt::LeftButton, Qt::ControlModifier);
    sendMouse(canvas, QEvent::MouseMove, {150, 80}, Qt::LeftButton, Qt::ControlModifier);
    sendMouse(canvas, QEvent::MouseButtonRelease, {150, 80}, Qt::NoButton, Qt::ControlModifier);
    // dx 50 and dy -20 both become 50: columns and rows 100 to 149, below the start point.
    const Raster& picture = window.core().canvas;
    int white = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 480; ++x) {
            const bool inside = x >= 100 && x < 150 && y >= 100 && y < 150;
            EXPECT_EQ(picture.pixel(x, y) == kWhite, inside) << x << "," << y;
            white += picture.pixel(x, y) == kWhite;
            if (::testing::Test::HasFailure()) return;
        }
    }
    EXPECT_EQ(white, 2500);
    EXPECT_EQ(window.core().history.index(), 1);
}

}  // namespace
}  // namespace lumipad
