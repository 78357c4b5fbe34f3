// Recording and undoing one state of a full history, beside a plain copy of one canvas.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/controls.h"
#include "app/ui.h"
#include "drawing/drawing.h"
#include "drawing/image_store.h"
#include "history/history.h"

namespace lumipad {
namespace {

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

struct FullHistory {
    FullHistory()
        : canvas(kPictureSize, kPictureSize),
          drawing(images, canvas, {}),
          history(images, drawing, ui) {
        history.runHistoryCommand("RESET");
        history.runHistoryCommand("SET0");
        for (int i = 0; i < 120; ++i) history.runHistoryCommand("SAVE");
    }
    QuietUi ui;
    ImageStore images;
    Raster canvas;
    Drawing drawing;
    History history;
};

void BM_CanvasMemcpy(benchmark::State& state) {
    std::vector<std::uint8_t> from(691200, 7), to(691200);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CanvasMemcpy);

// One stroke's "SAVE" at full history: drop the oldest state, take a new snapshot.
void BM_SaveFullHistory(benchmark::State& state) {
    FullHistory h;
    for (auto _ : state) h.history.runHistoryCommand("SAVE");
}
BENCHMARK(BM_SaveFullHistory);

// "UNDO" then "REDO" from a full history: two whole-canvas restores.
void BM_UndoRedoFullHistory(benchmark::State& state) {
    FullHistory h;
    for (auto _ : state) {
        h.history.runHistoryCommand("UNDO");
        h.history.runHistoryCommand("REDO");
    }
    state.counters["restores_per_iteration"] = 2;
}
BENCHMARK(BM_UndoRedoFullHistory);

}  // namespace
}  // namespace lumipad
