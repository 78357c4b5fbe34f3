#include "drawing/strokes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "app/controls.h"
#include "app/layout.h"
#include "app/lumipad.h"
#include "drawing/raster_ops.h"
#include "fake_ui.h"
#include "pixels.h"

namespace lumipad {
namespace {

using test::block;
using test::joined;
using test::PixelSet;
using test::pixelsOf;

using Kind = CanvasEventKind;

CanvasEvent press(std::int64_t x, std::int64_t y, bool ctrl = false) {
    return {Kind::Press, x, y, kLeftButton, ctrl};
}
CanvasEvent move(std::int64_t x, std::int64_t y, bool ctrl = false,
                 unsigned buttons = kLeftButton) {
    return {Kind::Move, x, y, buttons, ctrl};
}
CanvasEvent release(std::int64_t x, std::int64_t y, bool ctrl = false) {
    return {Kind::Release, x, y, 0, ctrl};
}

// After start-up the canvas is black, the pen white and the history holds one state.
class StrokeTest : public testing::Test {
  protected:
    void SetUp() override { app.startUp(); }

    // Hands the events to the canvas; no event may show the canvas more than once.
    void run(const std::vector<CanvasEvent>& events) {
        for (const CanvasEvent& e : events) {
            const int before = ui.showCanvasCount();
            app.dispatch({kCanvas, e});
            EXPECT_LE(ui.showCanvasCount() - before, 1) << "one drawing pair per event";
        }
    }

    PixelSet painted() const { return pixelsOf(app.canvas, kWhite); }

    test::FakeUi ui;
    Lumipad app{ui, computeLayout({96, 96})};
};

// The pixels of a 3 × 3 square hanging right and down from each listed pixel.
PixelSet grownBy3(const PixelSet& pixels) {
    PixelSet grown;
    for (const auto& [x, y] : pixels) grown = joined(grown, block(x, x + 2, y, y + 2));
    return grown;
}

// A circle by its half-widths from the centre row outward.
PixelSet circle(int cx, int cy, const std::vector<int>& halfWidths) {
    PixelSet s;
    for (int k = 0; k < static_cast<int>(halfWidths.size()); ++k) {
        const int h = halfWidths[static_cast<std::size_t>(k)];
        s = joined(s, joined(block(cx - h, cx + h, cy - k, cy - k),
                             block(cx - h, cx + h, cy + k, cy + k)));
    }
    return s;
}

PixelSet ellipsePixels(int cx, int cy, int rx, int ry) {
    Raster r(480, 480);
    fillEllipse(r, cx, cy, rx, ry, kWhite);
    return pixelsOf(r, kWhite);
}

struct StrokeCase {
    const char* name;
    std::int64_t tool;
    std::int64_t width;
    std::int64_t grid;
    std::vector<CanvasEvent> events;
    PixelSet expected;        // the pixels that took the pen colour
    std::int64_t stepsAdded;  // history steps the stroke records
};

TEST_F(StrokeTest, EachToolCoversExactlyItsPixels) {
    const StrokeCase cases[] = {
        {"grid 10 snaps the press",
         kBrushTool,
         1,
         10,
         {press(15, 16), release(15, 16)},
         {{10, 20}},
         1},
        {"grid 1 leaves it", kBrushTool, 1, 1, {press(15, 16), release(15, 16)}, {{15, 16}}, 1},
        {"grid 56 sends a fill off the canvas",
         kFillTool,
         4,
         56,
         {press(479, 100), release(479, 100)},
         {},
         1},
        {"brush stamps per position, nothing between",
         kBrushTool,
         2,
         1,
         {press(10, 10), move(30, 10), release(50, 10)},
         joined(block(10, 11, 10, 11), block(30, 31, 10, 11)),
         1},
        {"moves without the left button draw nothing",
         kBrushTool,
         1,
         1,
         {press(10, 10), move(20, 20, false, 0), move(30, 30, false, kRightButton),
          move(40, 40, false, kLeftButton | kRightButton), release(40, 40)},
         {{10, 10}, {40, 40}},
         1},
        {"line width 3 at the press",
         kLineTool,
         3,
         1,
         {press(100, 100)},
         block(100, 102, 100, 102),
         0},
        {"line width 3 grows right and down",
         kLineTool,
         3,
         1,
         {press(100, 100), move(300, 300), release(104, 102)},
         grownBy3({{100, 100}, {101, 101}, {102, 101}, {103, 102}, {104, 102}}),
         1},
        {"line width 1",
         kLineTool,
         1,
         1,
         {press(104, 102), release(100, 100)},
         {{100, 100}, {101, 101}, {102, 101}, {103, 102}, {104, 102}},
         1},
        {"ellipse press alone is its centre",
         kEllipseTool,
         4,
         1,
         {press(100, 100)},
         {{100, 100}},
         0},
        {"box leaves the pointer's row and column out",
         kBoxTool,
         4,
         1,
         {press(100, 100), move(200, 220), release(150, 130)},
         block(100, 149, 100, 129),
         1},
        {"box up and left",
         kBoxTool,
         4,
         1,
         {press(100, 100), release(60, 80)},
         block(60, 99, 80, 99),
         1},
        {"box click covers nothing", kBoxTool, 4, 1, {press(100, 100), release(100, 100)}, {}, 1},
        {"ctrl box takes the larger signed size",
         kBoxTool,
         4,
         1,
         {press(100, 100), release(150, 80, true)},
         block(100, 149, 100, 149),
         1},
        {"ctrl box up and left",
         kBoxTool,
         4,
         1,
         {press(100, 100), release(60, 80, true)},
         block(80, 99, 80, 99),
         1},
        {"ctrl let go mid-stroke",
         kBoxTool,
         4,
         1,
         {press(100, 100), move(150, 80, true), release(150, 80)},
         block(100, 149, 80, 99),
         1},
        {"frame",
         kFrameTool,
         4,
         1,
         {press(100, 100), release(150, 130)},
         joined(joined(block(100, 149, 100, 103), block(100, 103, 100, 129)),
                joined(block(100, 149, 126, 129), block(146, 149, 100, 129))),
         1},
        {"frame up and left has open corners",
         kFrameTool,
         4,
         1,
         {press(100, 100), release(60, 80)},
         joined(joined(block(60, 99, 100, 103), block(100, 103, 80, 99)),
                joined(block(60, 99, 76, 79), block(56, 59, 80, 99))),
         1},
        {"frame straight down is two bars",
         kFrameTool,
         4,
         1,
         {press(100, 100), release(100, 130)},
         joined(block(100, 103, 100, 129), block(96, 99, 100, 129)),
         1},
        {"ellipse centred on the press",
         kEllipseTool,
         4,
         1,
         {press(100, 100), move(400, 400), release(103, 150)},
         ellipsePixels(100, 100, 3, 50),
         1},
        {"ctrl ellipse is a circle of the horizontal radius",
         kEllipseTool,
         4,
         1,
         {press(100, 100), release(103, 150, true)},
         circle(100, 100, {3, 3, 2, 1}),
         1},
        {"fill at the press only",
         kFillTool,
         4,
         1,
         {press(10, 10), move(20, 20), release(30, 30)},
         block(0, 479, 0, 479),
         1},
        {"double click is two strokes",
         kBrushTool,
         1,
         1,
         {press(5, 5), release(5, 5), press(5, 5), release(5, 5)},
         {{5, 5}},
         2},
        {"no tool: nothing drawn or recorded",
         0,
         4,
         1,
         {press(100, 100), move(150, 150), release(150, 150)},
         {},
         0},
    };
    for (const StrokeCase& c : cases) {
        SCOPED_TRACE(c.name);
        app.dispatch({kClearButton, {}});
        if (c.tool == 0) {
            app.deselectTools();
        } else {
            app.selectTool(c.tool);
        }
        app.settings.lineWidth = c.width;
        app.settings.gridStep = c.grid;
        const std::int64_t stepsBefore = app.history.index();
        run(c.events);
        EXPECT_EQ(painted(), c.expected);
        EXPECT_EQ(app.history.index() - stepsBefore, c.stepsAdded);
    }
}

TEST_F(StrokeTest, BrushSizesAtThePress) {
    // Widths 1 to 5 are squares hanging right and down; wider brushes are circles of radius
    // w / 2 with halves to even, centred on the pointer.
    const struct {
        std::int64_t width, radius;
        std::size_t pixels;
    } sizes[] = {{1, 0, 1},     {2, 0, 4},     {3, 0, 9},     {4, 0, 16},    {5, 0, 25},
                 {6, 3, 37},    {7, 4, 61},    {8, 4, 61},    {9, 4, 61},    {10, 5, 97},
                 {11, 6, 129},  {12, 6, 129},  {13, 6, 129},  {14, 7, 177},  {15, 8, 221},
                 {16, 8, 221},  {17, 8, 221},  {18, 9, 277},  {19, 10, 349}, {20, 10, 349},
                 {21, 10, 349}, {22, 11, 413}, {23, 12, 489}, {24, 12, 489}, {25, 12, 489},
                 {26, 13, 569}, {27, 14, 657}, {28, 14, 657}, {29, 14, 657}, {30, 15, 749},
                 {31, 16, 845}, {32, 16, 845}, {33, 16, 845}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << "width " << s.width);
        app.dispatch({kClearButton, {}});
        app.settings.lineWidth = s.width;
        run({press(100, 100)});
        const PixelSet got = painted();
        EXPECT_EQ(got.size(), s.pixels);
        const auto w = static_cast<int>(s.width);
        const auto r = static_cast<int>(s.radius);
        const Rect expected = s.width <= 5 ? Rect{100, 100, 100 + w, 100 + w}
                                           : Rect{100 - r, 100 - r, 101 + r, 101 + r};
        EXPECT_EQ(test::boundsOf(got), expected);
    }
}

TEST_F(StrokeTest, SettingsAreReadAtEachEvent) {
    app.settings.lineWidth = 1;
    run({press(10, 10)});
    app.settings.lineWidth = 2;
    app.settings.penColor = test::kInk;
    run({move(20, 20), release(20, 20)});
    EXPECT_EQ(painted(), (PixelSet{{10, 10}}));
    EXPECT_EQ(pixelsOf(app.canvas, test::kInk), block(20, 21, 20, 21));
}

TEST_F(StrokeTest, ThePressRefreshesTheSnapshotAlsoWithoutATool) {
    run({press(7, 8), release(7, 8)});
    app.deselectTools();
    run({press(300, 300)});
    const Raster* snapshot = app.images.get(kStrokeSnapshot);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(snapshot->pixel(7, 8), kWhite);
    EXPECT_EQ(app.settings.strokeStart, (Point64{300, 300}));
}

TEST_F(StrokeTest, TheWindowNeverShowsTheSnapshotWithoutTheShape) {
    app.selectTool(kBoxTool);
    std::vector<std::size_t> shownPixels;
    ui.onShowCanvas = [&](const Rect&) { shownPixels.push_back(painted().size()); };
    run({press(10, 10), move(20, 20), move(30, 30), move(15, 15)});
    EXPECT_EQ(shownPixels, (std::vector<std::size_t>{100, 400, 25}));
    // The last move only had to repaint the rows of the previous box.
    EXPECT_EQ(ui.shownCanvas.back(), (Rect{0, 10, 480, 30}));
}

TEST(SnapToGrid, NearestMultipleWithHalvesDown) {
    const struct {
        std::int64_t v, g, expected;
    } cases[] = {{15, 10, 10},   {16, 10, 20}, {14, 10, 10}, {0, 10, 0},     {479, 56, 504},
                 {479, 18, 486}, {27, 18, 18}, {28, 18, 36}, {479, 96, 480}, {7, 1, 7}};
    for (const auto& c : cases) {
        EXPECT_EQ(snapToGrid(c.v, c.g), c.expected) << c.v << " on " << c.g;
    }
}

}  // namespace
}  // namespace lumipad
