#include "app/qt/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QToolTip>
#include <algorithm>

#include "app/controls.h"
#include "app/lumipad.h"
#include "app/qt/canvas_widget.h"
#include "app/qt/qt_ui.h"
#include "app/qt/swatch_button.h"
#include "app/title.h"

namespace lumipad {

MainWindow::MainWindow(ScreenDpi dpi)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      layout_(computeLayout(dpi)) {
    setWindowTitle(QString::fromStdString(lumipad::windowTitle(buildStamp())));
    setWindowIcon(QIcon(QStringLiteral(":/icons/lumipad-48.png")));
    setFixedSize(layout_.innerWidth, layout_.innerHeight);
    setFont(QApplication::font("QMessageBox"));
    // The window's face has the colour of a button's face.
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);

    buildControls();
    ui_ = std::make_unique<QtUi>(*this);
    core_ = std::make_unique<Lumipad>(*ui_, layout_);
    canvas()->setSurface(&core_->canvas);
    core_->startUp();
}

MainWindow::~MainWindow() {
    // The canvas widget must not paint a surface that is gone.
    canvas()->setSurface(nullptr);
}

void MainWindow::buildControls() {
    for (const ControlSpec& entry : kControls) {
        const int number = entry.number;
        QWidget* widget = nullptr;
        switch (entry.kind) {
            case ControlKind::Canvas:
                widget = new CanvasWidget(this, [this](const CanvasEvent& e) {
                    dispatch({kCanvas, e});
                });
                break;
            case ControlKind::ImageButton: {
                auto* button = new SwatchButton(this);
                connect(button, &QPushButton::clicked, this, [this, number] {
                    dispatch({number, {}});
                });
                widget = button;
                break;
            }
            case ControlKind::Label: {
                auto* label = new QLabel(QString::fromUtf8(entry.caption), this);
                label->setAlignment(Qt::AlignCenter);
                widget = label;
                break;
            }
            case ControlKind::TrackBar: {
                auto* slider = new QSlider(Qt::Horizontal, this);
                if (number == kWidthSlider) {
                    slider->setRange(kWidthSliderMin, kWidthSliderMax);
                } else {
                    slider->setRange(kGridSliderMin, kGridSliderMax);
                }
                slider->setPageStep(1);
                // Every change the user makes, also while dragging, and the end of a drag.
                connect(slider, &QSlider::valueChanged, this, [this, number] {
                    dispatch({number, {}});
                });
                connect(slider, &QSlider::sliderReleased, this, [this, number] {
                    dispatch({number, {}});
                });
                widget = slider;
                break;
            }
            case ControlKind::ToggleButton:
            case ControlKind::PushButton: {
                auto* button = new QPushButton(QString::fromUtf8(entry.caption), this);
                button->setCheckable(entry.kind == ControlKind::ToggleButton);
                button->setAutoDefault(false);
                connect(button, &QPushButton::clicked, this, [this, number] {
                    dispatch({number, {}});
                });
                widget = button;
                break;
            }
        }
        const PixelRect& r = layout_.controls[static_cast<std::size_t>(number)];
        widget->setGeometry(r.x, r.y, r.width, r.height);
        widget->setObjectName(QString::fromUtf8(entry.name));
        if (entry.tooltip != nullptr) widget->setToolTip(QString::fromUtf8(entry.tooltip));
        controls_[static_cast<std::size_t>(number)] = widget;
    }
}

void MainWindow::dispatch(const ControlEvent& event) {
    if (core_) core_->dispatch(event);
}

void MainWindow::showCentred() {
    show();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect available = screen->geometry();
    const QSize outer = frameGeometry().size();
    const int x = (available.width() - std::min(available.width(), outer.width())) / 2;
    const int y = (available.height() - std::min(available.height(), outer.height())) / 2;
    move(available.x() + x, available.y() + y);
}

CanvasWidget* MainWindow::canvas() const { return static_cast<CanvasWidget*>(control(kCanvas)); }

SwatchButton* MainWindow::swatch(int number) const {
    return static_cast<SwatchButton*>(control(number));
}

QLabel* MainWindow::label(int number) const { return static_cast<QLabel*>(control(number)); }

QSlider* MainWindow::slider(int number) const { return static_cast<QSlider*>(control(number)); }

QAbstractButton* MainWindow::button(int number) const {
    return qobject_cast<QAbstractButton*>(control(number));
}

}  // namespace lumipad
