// Everything the program asks of the window system. The Qt layer implements it; tests use a
// scripted fake, so the core runs without a display.
#pragma once

#include <optional>
#include <string>

#include "drawing/raster.h"

namespace lumipad {

struct FileDialogRequest {
    std::string title;
    std::string initialName;
    std::string filter;  // "label|patterns|label|patterns..."
    std::int64_t filterIndex = 0;
};

class Ui {
  public:
    virtual ~Ui() = default;

    // None of the setters below produces a control event.
    virtual void setToggleState(int control, bool pressed) = 0;
    virtual void setText(int control, const std::string& text) = 0;
    virtual int sliderPosition(int control) const = 0;
    virtual void setSliderPosition(int control, int position) = 0;
    // Shows the image centred on the image button; repaints at once.
    virtual void setButtonImage(int control, const Raster& image) = 0;

    // Modal colour chooser; nullopt when the user cancels or closes it.
    virtual std::optional<Color> chooseColor(Color initial) = 0;
    // Modal file dialogs; the empty text on cancel, close or failure.
    virtual std::string openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::string saveFileDialog(const FileDialogRequest& request) = 0;
    // Modal message boxes titled "Lumipad", without an icon.
    virtual void showMessage(const std::string& text) = 0;
    virtual bool askYesNo(const std::string& question) = 0;

    // The canvas surface changed inside `changed`; show it before the next event is handled.
    virtual void showCanvas(const Rect& changed) = 0;
};

}  // namespace lumipad
