// The program core without a display: start-up, dispatch by control number, tool buttons,
// colours, sliders, Clear and Reset.
#include <gtest/gtest.h>

#include "app/controls.h"
#include "app/layout.h"
#include "app/lumipad.h"
#include "app/pen_settings.h"
#include "app/title.h"
#include "fake_ui.h"

namespace lumipad {
namespace {

using test::FakeUi;

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);

struct Started {
    Started() : app(ui, computeLayout({96, 96})) { app.startUp(); }
    FakeUi ui;
    Lumipad app;

    bool canvasIs(Color color) const {
        for (int y = 0; y < kPictureSize; ++y) {
            for (int x = 0; x < kPictureSize; ++x) {
                if (app.canvas.pixel(x, y) != color) return false;
            }
        }
        return true;
    }
    Color swatch(int control) const { return ui.buttonImages.at(control).pixel(0, 0); }
};

TEST(Core, StartsBlackWithWhitePenWidthFourNoRasterAndOneHistoryState) {
    Started s;
    EXPECT_TRUE(s.canvasIs(kBlack));
    EXPECT_EQ(s.app.settings.penColor, kWhite);
    EXPECT_EQ(s.app.settings.backgroundColor, kBlack);
    EXPECT_EQ(s.swatch(kPenSwatch), kWhite);
    EXPECT_EQ(s.swatch(kBackgroundSwatch), kBlack);
    EXPECT_EQ(s.ui.buttonImages.at(kPenSwatch).width(), 26);
    EXPECT_EQ(s.ui.text(kWidthLabel), "4");
    EXPECT_EQ(s.ui.text(kGridLabel), "1");
    EXPECT_EQ(s.ui.sliders[kWidthSlider], 4);
    EXPECT_EQ(s.ui.sliders[kGridSlider], 0);
    EXPECT_EQ(s.ui.text(kUndoCounter), "0");
    EXPECT_EQ(s.app.settings.currentTool, kBrushTool);
    for (int tool = kFirstTool; tool <= kLastTool; ++tool) EXPECT_FALSE(s.ui.toggle(tool));
    EXPECT_EQ(s.app.settings.fileName, "Lumipad.png");
    EXPECT_EQ(s.app.history.index(), 0);
    ASSERT_TRUE(s.app.images.exists(s.app.history.slot(0)));
    EXPECT_EQ(s.app.images.get(s.app.history.slot(0))->pixel(479, 479), kBlack);
    EXPECT_EQ(s.app.images.get(kStrokeSnapshot)->width(), 480);
}

TEST(Core, SwatchSizeFollowsTheHorizontalDpi) {
    for (const auto& [dpi, size] : {std::pair{96.0, 26}, {120.0, 33}, {144.0, 39}, {192.0, 52}}) {
        FakeUi ui;
        Lumipad app(ui, computeLayout({dpi, 96}));
        app.startUp();
        EXPECT_EQ(app.settings.swatchSize, size) << dpi;
        EXPECT_EQ(ui.buttonImages.at(kPenSwatch).width(), size) << dpi;
    }
}

TEST(Core, ToolButtonsFollowSelectTool) {
    Started s;
    const struct {
        int click;
        std::int64_t tool;
    } steps[] = {{kLineTool, kLineTool}, {kLineTool, kLineTool}, {kBoxTool, kBoxTool}};
    for (const auto& step : steps) {
        s.app.dispatch({step.click, {}});
        EXPECT_EQ(s.app.settings.currentTool, step.tool);
        for (int tool = kFirstTool; tool <= kLastTool; ++tool) {
            EXPECT_EQ(s.ui.toggle(tool), tool == step.tool) << tool;
        }
    }
    s.app.deselectTools();
    EXPECT_EQ(s.app.settings.currentTool, 0);
    for (int tool = kFirstTool; tool <= kLastTool; ++tool) EXPECT_FALSE(s.ui.toggle(tool));
}

TEST(Core, ControlsThatDoNothingChangeNothing) {
    for (const int control : {int{kWidthLabel}, int{kGridLabel}, int{kUndoCounter}, 20, -1}) {
        Started s;
        s.app.dispatch({kBoxTool, {}});
        const auto toggles = s.ui.toggles;
        const auto texts = s.ui.texts;
        s.app.dispatch({control, {}});
        EXPECT_EQ(s.ui.toggles, toggles) << control;
        EXPECT_EQ(s.ui.texts, texts) << control;
        EXPECT_TRUE(s.canvasIs(kBlack));
        EXPECT_EQ(s.app.settings.currentTool, kBoxTool);
    }
}

TEST(Core, SwatchesOpenTheColourChooserOnTheirColour) {
    Started s;
    s.ui.colorAnswers = {kRed, std::nullopt, kBlue};
    s.app.dispatch({kPenSwatch, {}});
    s.app.dispatch({kPenSwatch, {}});  // cancelled: the colour stays
    s.app.dispatch({kBackgroundSwatch, {}});
    EXPECT_EQ(s.ui.colorRequests, (std::vector<Color>{kWhite, kRed, kBlack}));
    EXPECT_EQ(s.app.settings.penColor, kRed);
    EXPECT_EQ(s.swatch(kPenSwatch), kRed);
    EXPECT_EQ(s.app.settings.backgroundColor, kBlue);
    EXPECT_EQ(s.swatch(kBackgroundSwatch), kBlue);
    // A new background shows on the canvas only at the next Clear.
    EXPECT_TRUE(s.canvasIs(kBlack));
}

TEST(Core, SlidersSetWidthAndRaster) {
    const struct {
        int width, grid;
        const char* widthText;
        const char* gridText;
    } cases[] = {{10, 0, "10", "1"}, {1, 1, "1", "2"},   {33, 28, "33", "56"}, {4, 29, "4", "60"},
                 {4, 30, "4", "64"}, {4, 31, "4", "80"}, {4, 32, "4", "96"}};
    for (const auto& c : cases) {
        for (const int slider : {kWidthSlider, kGridSlider}) {
            Started s;
            s.ui.sliders[kWidthSlider] = c.width;
            s.ui.sliders[kGridSlider] = c.grid;
            s.app.dispatch({slider, {}});  // either slider reads both
            EXPECT_EQ(s.app.settings.lineWidth, c.width);
            EXPECT_EQ(s.ui.text(kWidthLabel), c.widthText);
            EXPECT_EQ(std::to_string(s.app.settings.gridStep), c.gridText);
            EXPECT_EQ(s.ui.text(kGridLabel), c.gridText);
        }
    }
}

TEST(Core, ClearFillsWithTheBackgroundAndStartsANewHistory) {
    Started s;
    s.ui.colorAnswers = {kRed, kBlue};
    s.app.dispatch({kPenSwatch, {}});
    s.app.dispatch({kBackgroundSwatch, {}});
    s.app.dispatch({kLineTool, {}});
    s.app.history.runHistoryCommand("SAVE");
    s.app.history.runHistoryCommand("SAVE");
    s.app.dispatch({kUndoButton, {}});
    EXPECT_EQ(s.ui.text(kUndoCounter), "1");

    s.app.dispatch({kClearButton, {}});
    EXPECT_TRUE(s.canvasIs(kBlue));
    EXPECT_EQ(s.ui.text(kUndoCounter), "0");
    EXPECT_EQ(s.app.history.slot(1), kNullImage);
    EXPECT_EQ(s.app.settings.penColor, kRed);
    EXPECT_EQ(s.app.settings.currentTool, kLineTool);
    EXPECT_TRUE(s.ui.toggle(kLineTool));
}

TEST(Core, ResetRestoresColoursAndBrushButLeavesTheButtonPressed) {
    Started s;
    s.ui.sliders[kWidthSlider] = 9;
    s.ui.sliders[kGridSlider] = 5;
    s.app.dispatch({kWidthSlider, {}});
    s.app.dispatch({kBoxTool, {}});
    s.ui.colorAnswers = {kRed, kBlue};
    s.app.dispatch({kPenSwatch, {}});
    s.app.dispatch({kBackgroundSwatch, {}});
    s.app.dispatch({kClearButton, {}});
    s.app.history.runHistoryCommand("SAVE");

    s.app.dispatch({kResetButton, {}});
    EXPECT_EQ(s.app.settings.penColor, kWhite);
    EXPECT_EQ(s.app.settings.backgroundColor, kBlack);
    EXPECT_EQ(s.swatch(kPenSwatch), kWhite);
    EXPECT_EQ(s.swatch(kBackgroundSwatch), kBlack);
    EXPECT_TRUE(s.canvasIs(kBlack));
    EXPECT_EQ(s.ui.text(kUndoCounter), "0");
    EXPECT_EQ(s.app.settings.currentTool, kBrushTool);
    EXPECT_TRUE(s.ui.toggle(kBoxTool));
    EXPECT_EQ(s.app.settings.lineWidth, 9);
    EXPECT_EQ(s.app.settings.gridStep, 10);
}

TEST(Core, UndoAndRedoButtonsDriveTheHistory) {
    Started s;
    s.app.history.runHistoryCommand("SAVE");
    s.app.dispatch({kUndoButton, {}});
    EXPECT_EQ(s.app.history.index(), 0);
    s.app.dispatch({kRedoButton, {}});
    EXPECT_EQ(s.app.history.index(), 1);
    EXPECT_EQ(s.ui.text(kUndoCounter), "1");
}

TEST(Layout, ScalesUnitsHalvesAwayFromZero) {
    EXPECT_EQ(scaleUnits(26, 120), 33);  // 32.5
    EXPECT_EQ(scaleUnits(42, 144), 63);
    const Layout at144 = computeLayout({144, 144});
    EXPECT_EQ(at144.innerWidth, 912);
    EXPECT_EQ(at144.innerHeight, 732);
    EXPECT_EQ(at144.controls[kCanvas], (PixelRect{6, 6, 720, 720}));
    EXPECT_EQ(at144.swatchSize, 39);
}

TEST(Title, NamesTheVersionAndTheBuildTime) {
    const std::string title = windowTitle("10/01/2024 01:37");
    EXPECT_EQ(title.rfind("Lumipad v1.1 beta - ", 0), 0u);
    EXPECT_NE(title.find("10/01/2024 01:37"), std::string::npos);
}

}  // namespace
}  // namespace lumipad
