// A stand-in for the window system in tests: records everything the program asks of it and
// answers its dialogs from queues that the test fills beforehand. Header-only, no toolkit.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/ui.h"
#include "drawing/raster.h"

namespace lumipad::test {

class FakeUi : public Ui {
  public:
    // --- What the program set, by control number.
    std::map<int, bool> toggles;
    std::map<int, std::string> texts;
    // Also what sliderPosition() reports: a test moves a slider by writing here.
    std::map<int, int> sliders;
    std::map<int, Raster> buttonImages;

    // --- Dialogs the program opened, in order.
    std::vector<Color> colorRequests;  // the initial colour of each chooser
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<std::string> messages;
    std::vector<std::string> questions;

    // --- Scripted answers, taken from the front. An empty queue answers as a user who cancels
    // (no colour, no file name) or says No.
    std::deque<std::optional<Color>> colorAnswers;
    std::deque<std::string> openAnswers;
    std::deque<std::string> saveAnswers;
    std::deque<bool> yesNoAnswers;

    // --- The canvas: every rectangle shown, and an optional hook run at each showing (to look
    // at the surface exactly when the window would).
    std::vector<Rect> shownCanvas;
    std::function<void(const Rect&)> onShowCanvas;

    int showCanvasCount() const { return static_cast<int>(shownCanvas.size()); }
    bool toggle(int control) const {
        const auto it = toggles.find(control);
        return it != toggles.end() && it->second;
    }
    std::string text(int control) const {
        const auto it = texts.find(control);
        return it == texts.end() ? std::string() : it->second;
    }

    void setToggleState(int control, bool pressed) override { toggles[control] = pressed; }
    void setText(int control, const std::string& value) override { texts[control] = value; }
    int sliderPosition(int control) const override {
        const auto it = sliders.find(control);
        return it == sliders.end() ? 0 : it->second;
    }
    void setSliderPosition(int control, int position) override { sliders[control] = position; }
    void setButtonImage(int control, const Raster& image) override {
        buttonImages.insert_or_assign(control, image);
    }

    std::optional<Color> chooseColor(Color initial) override {
        colorRequests.push_back(initial);
        return take(colorAnswers, std::optional<Color>());
    }
    std::string openFileDialog(const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return take(openAnswers, std::string());
    }
    std::string saveFileDialog(const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return take(saveAnswers, std::string());
    }
    void showMessage(const std::string& value) override { messages.push_back(value); }
    bool askYesNo(const std::string& question) override {
        questions.push_back(question);
        return take(yesNoAnswers, false);
    }

    void showCanvas(const Rect& changed) override {
        shownCanvas.push_back(changed);
        if (onShowCanvas) onShowCanvas(changed);
    }

  private:
    template <class T>
    static T take(std::deque<T>& answers, T cancelled) {
        if (answers.empty()) return cancelled;
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

}  // namespace lumipad::test
