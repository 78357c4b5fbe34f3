// A window system that shows nothing and cancels every dialog, for timing the core alone.
#pragma once

#include "app/ui.h"

namespace lumipad {

class QuietUi : public Ui {
  public:
    void setToggleState(int, bool) override {}
    void setText(int, const std::string&) override {}
    int sliderPosition(int) const override { return 0; }
    void setSliderPosition(int, int) override {}
    void setButtonImage(int, const Raster&) override {}
    std::optional<Color> chooseColor(Color) override { return std::nullopt; }
    std::string openFileDialog(const FileDialogRequest&) override { return {}; }
    std::string saveFileDialog(const FileDialogRequest&) override { return {}; }
    void showMessage(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
    void showCanvas(const Rect&) override {}
};

}  // namespace lumipad
