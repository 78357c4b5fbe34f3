// The undo history driven by command sequences: position, occupied slots, counter and canvas.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/controls.h"
#include "drawing/drawing.h"
#include "drawing/image_store.h"
#include "fake_ui.h"
#include "history/history.h"

namespace lumipad {
namespace {

// A canvas whose pixel (0, 0) names the state it shows: stroke n paints it n.
class HistoryRun {
  public:
    HistoryRun()
        : canvas(kPictureSize, kPictureSize),
          drawing(images, canvas, {}),
          history(images, drawing, ui) {
        run("RESET SET0");
    }

    // Words separated by spaces; "stroke" paints the next state and sends "SAVE", "failing"
    // makes the next snapshot creation fail, "strokes:N" is N strokes.
    void run(const std::string& script) {
        std::istringstream words(script);
        std::string word;
        while (words >> word) {
            if (word == "stroke") {
                stroke();
            } else if (word.rfind("strokes:", 0) == 0) {
                for (int i = std::stoi(word.substr(8)); i > 0; --i) stroke();
            } else if (word.rfind("undo:", 0) == 0) {
                for (int i = std::stoi(word.substr(5)); i > 0; --i)
                    history.runHistoryCommand("UNDO");
            } else if (word == "failing") {
                images.setCreateGate(
                    [this](int, int) { return std::exchange(failNext, false) ? false : true; });
                failNext = true;
            } else {
                history.runHistoryCommand(word);
            }
        }
    }

    void stroke() {
        canvas.setPixel(0, 0, static_cast<Color>(++painted));
        history.runHistoryCommand("SAVE");
    }

    // "0-3" style list of the slots holding a snapshot.
    std::string occupied() const {
        std::string out;
        int i = 0;
        while (i < History::kSlotCount) {
            if (history.slot(i) == kNullImage) {
                ++i;
                continue;
            }
            int j = i;
            while (j + 1 < History::kSlotCount && history.slot(j + 1) != kNullImage) ++j;
            if (!out.empty()) out += ",";
            out += j == i ? std::to_string(i) : std::to_string(i) + "-" + std::to_string(j);
            i = j + 1;
        }
        return out;
    }

    Color shown() const { return canvas.pixel(0, 0); }

    test::FakeUi ui;
    ImageStore images;
    Raster canvas;
    Drawing drawing;
    History history;
    int painted = 0;
    bool failNext = false;
};

TEST(History, CommandSequences) {
    struct Case {
        const char* script;
        std::int64_t index;
        const char* slots;
        Color canvas;  // the state number the canvas shows afterwards
    };
    const Case cases[] = {
        {"", 0, "0", 0},
        {"strokes:3", 3, "0-3", 3},
        {"strokes:3 UNDO UNDO", 1, "0-3", 1},
        {"strokes:3 UNDO UNDO REDO", 2, "0-3", 2},
        {"strokes:3 UNDO UNDO REDO stroke", 3, "0-3", 4},
        {"strokes:3 UNDO UNDO REDO stroke RESET SET0", 0, "0", 4},
        {"UNDO", 0, "0", 0},
        {"stroke REDO", 1, "0-1", 1},
        // Two undos and a stroke drop the redo tail: Redo then does nothing.
        {"strokes:4 UNDO UNDO stroke REDO", 3, "0-3", 5},
        {"strokes:99", 99, "0-99", 99},
        {"strokes:99 UNDO REDO", 99, "0-99", 99},
        {"strokes:99 UNDO REDO REDO", 99, "0-99", 99},
        // Full: the 100th stroke drops the blank start, 99 undos reach the first stroke.
        {"strokes:100 undo:99", 0, "0-99", 1},
        // Undo once at full history, then a stroke: the new state replaces slot 99, no shift.
        {"strokes:99 UNDO stroke undo:99", 0, "0-99", 0},
        {"strokes:2 RESET", 0, "", 2},
        {"strokes:2 RESET UNDO REDO", 0, "", 2},
        {"stroke undo", 0, "0-1", 0},
        {"stroke UNDO redo", 1, "0-1", 1},
        {"strokes:2 NONSENSE", 2, "0-2", 2},
        // A snapshot that cannot be made leaves everything as it was...
        {"strokes:2 failing stroke", 2, "0-2", 3},
        // ...but at full history the oldest state is gone already.
        {"strokes:99 failing stroke", 98, "0-98", 100},
        {"strokes:2 RESET failing SET0", 0, "", 2},
        {"strokes:2 RESET failing SET0 UNDO", 0, "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        HistoryRun run;
        run.run(c.script);
        EXPECT_EQ(run.history.index(), c.index);
        EXPECT_EQ(run.occupied(), c.slots);
        EXPECT_EQ(run.ui.text(kUndoCounter), std::to_string(c.index));
        EXPECT_EQ(run.shown(), c.canvas);
    }
}

TEST(History, CounterIsRewrittenEvenWhenNothingChanges) {
    HistoryRun run;
    run.run("strokes:3");
    run.ui.texts[kUndoCounter] = "stale";
    run.run("bogus");
    EXPECT_EQ(run.ui.text(kUndoCounter), "3");
}

TEST(History, HoldsAtMostOneSnapshotPerSlotAndFreesThemOnReset) {
    HistoryRun run;
    run.run("strokes:150");
    EXPECT_EQ(run.images.liveCount(), 100u);
    run.run("RESET SET0");
    EXPECT_EQ(run.images.liveCount(), 1u);
}

}  // namespace
}  // namespace lumipad

namespace lumipad {
namespace {

// A canvas smaller than the picture (a screen below 96 DPI): the snapshot keeps the canvas's
// pixels and is black beyond them; a larger canvas gives its top-left 480 × 480 pixels.
TEST(History, SnapshotsHoldTheCanvasTopLeftPicture) {
    for (const int side : {300, 720}) {
        test::FakeUi ui;
        ImageStore images;
        Raster canvas(side, side);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) canvas.setPixel(x, y, kWhite);
        }
        Drawing drawing(images, canvas, {});
        History history(images, drawing, ui);
        history.runHistoryCommand("SET0");
        const Raster* snapshot = images.get(history.slot(0));
        ASSERT_NE(snapshot, nullptr);
        EXPECT_EQ(snapshot->width(), kPictureSize);
        EXPECT_EQ(snapshot->pixel(side - 1 < 479 ? side - 1 : 479, 0), kWhite) << side;
        EXPECT_EQ(snapshot->pixel(479, 479), side < 480 ? kBlack : kWhite) << side;
        EXPECT_EQ(snapshot->pixel(0, 479), side < 480 ? kBlack : kWhite) << side;
    }
}

}  // namespace
}  // namespace lumipad
