#include "drawing/drawing.h"

#include <gtest/gtest.h>

#include <vector>

#include "pixels.h"

namespace lumipad {
namespace {

using test::kInk;

class DrawingTest : public testing::Test {
  protected:
    ImageStore images;
    Raster canvas{480, 480};
    std::vector<Rect> shown;
    Drawing drawing{images, canvas, [this](const Rect& changed) { shown.push_back(changed); }};
};

TEST_F(DrawingTest, StartFailsWithNothingOpenedForTargetsWithoutPixels) {
    images.create(kPenSwatchImage, 26, 26);
    const ImageId handle = images.createHandle(10, 10);
    images.free(handle);
    for (const ImageId missing : {kNullImage, kStrokeSnapshot, kScratchImage, handle}) {
        EXPECT_FALSE(drawing.beginDrawing(Target::of(missing))) << missing;
        EXPECT_FALSE(drawing.isOpen());
        EXPECT_EQ(drawing.openRaster(), nullptr);
    }
    ASSERT_TRUE(drawing.beginDrawing(Target::of(kPenSwatchImage)));
    EXPECT_EQ(drawing.openRaster(), images.get(kPenSwatchImage));
    drawing.endDrawing();
    EXPECT_FALSE(drawing.isOpen());
}

TEST_F(DrawingTest, EndingACanvasPairShowsTheUnionOfWhatChanged) {
    ASSERT_TRUE(drawing.beginDrawing(Target::canvas()));
    drawing.fillRect(10, 20, 5, 5, kInk);
    drawing.drawLine(100, 7, 100, 9, kInk);
    drawing.fillCircle(-50, -50, 3, kInk);  // off the canvas: no change
    EXPECT_TRUE(shown.empty()) << "nothing is shown before the pair ends";
    drawing.endDrawing();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], (Rect{10, 7, 101, 25}));
    EXPECT_EQ(canvas.pixel(12, 22), kInk);
}

TEST_F(DrawingTest, ImagePairsDoNotShowTheCanvas) {
    images.create(kStrokeSnapshot, 480, 480);
    ASSERT_TRUE(drawing.beginDrawing(Target::of(kStrokeSnapshot)));
    drawing.blitImage(drawing.canvasImage(), 0, 0);
    drawing.endDrawing();
    EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace lumipad
