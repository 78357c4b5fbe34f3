// The main window: twenty controls placed by the control table, scaled to the screen.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "app/events.h"
#include "app/layout.h"

class QLabel;
class QSlider;
class QAbstractButton;

namespace lumipad {

class CanvasWidget;
class Lumipad;
class QtUi;
class SwatchButton;

class MainWindow : public QWidget {
  public:
    // Builds the window and its controls and brings the program into its first state.
    explicit MainWindow(ScreenDpi dpi);
    ~MainWindow() override;

    // Shows the window centred on the primary screen, never off its top-left edge.
    void showCentred();

    QWidget* control(int number) const { return controls_[static_cast<std::size_t>(number)]; }
    CanvasWidget* canvas() const;
    SwatchButton* swatch(int number) const;
    QLabel* label(int number) const;
    QSlider* slider(int number) const;
    QAbstractButton* button(int number) const;
    const Layout& layout() const { return layout_; }
    Lumipad& core() { return *core_; }

  private:
    void buildControls();
    void dispatch(const ControlEvent& event);

    Layout layout_;
    std::array<QWidget*, kControlCount> controls_{};
    std::unique_ptr<QtUi> ui_;
    std::unique_ptr<Lumipad> core_;
};

}  // namespace lumipad
