// Recording and undoing one state of a full history, beside a plain copy of one canvas.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/controls.h"
#include "app/ui.h"
#include "canvas_memcpy.h"
#include "drawing/drawing.h"
#include "drawing/image_store.h"
#include "history/history.h"
#include "quiet_ui.h"

namespace lumipad {
namespace {

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

void BM_CanvasMemcpy(benchmark::State& state) { measureCanvasMemcpy(state); }
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
