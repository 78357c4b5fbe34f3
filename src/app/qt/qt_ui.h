// The Ui of the program core, carried out with the main window's Qt widgets and Qt's dialogs.
#pragma once

#include "app/ui.h"

namespace lumipad {

class MainWindow;

class QtUi : public Ui {
  public:
    explicit QtUi(MainWindow& window) : window_(window) {}

    void setToggleState(int control, bool pressed) override;
    void setText(int control, const std::string& text) override;
    int sliderPosition(int control) const override;
    void setSliderPosition(int control, int position) override;
    void setButtonImage(int control, const Raster& image) override;

    std::optional<Color> chooseColor(Color initial) override;
    std::string openFileDialog(const FileDialogRequest& request) override;
    std::string saveFileDialog(const FileDialogRequest& request) override;
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& question) override;

    void showCanvas(const Rect& changed) override;

  private:
    MainWindow& window_;
};

}  // namespace lumipad
