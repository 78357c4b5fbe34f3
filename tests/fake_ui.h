// A scripted stand-in for the window system: records what the program shows and answers its
// dialogs from queues the test fills in.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/ui.h"

namespace lumipad::testing {

class FakeUi : public Ui {
  public:
    // What the program showed.
    std::map<int, bool> toggles;
    std::map<int, std::string> texts;
    std::map<int, int> sliders;
    std::map<int, Raster> buttonImages;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<Color> colorRequests;
    std::vector<Rect> shownCanvas;

    // Answers, taken front first; an empty queue answers "cancel" / "No".
    std::deque<std::optional<Color>> colorAnswers;
    std::deque<std::string> openAnswers;
    std::deque<std::string> saveAnswers;
    std::deque<bool> yesNoAnswers;

    bool pressed(int control) const {
        const auto it = toggles.find(control);
        return it != toggles.end() && it->second;
    }
    std::string text(int control) const {
        const auto it = texts.find(control);
        return it == texts.end() ? std::string() : it->second;
    }

    void setToggleState(int control, bool pressed) override { toggles[control] = pressed; }
    void setText(int control, const std::string& text) override { texts[control] = text; }
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
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& question) override {
        questions.push_back(question);
        return take(yesNoAnswers, false);
    }
    void showCanvas(const Rect& changed) override { shownCanvas.push_back(changed); }

  private:
    template <typename T>
    static T take(std::deque<T>& queue, T otherwise) {
        if (queue.empty()) return otherwise;
        T front = std::move(queue.front());
        queue.pop_front();
        return front;
    }
};

}  // namespace lumipad::testing
