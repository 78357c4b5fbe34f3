#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>

#include "drawing/raster_ops.h"
#include "pixels.h"

namespace lumipad {
namespace {

using test::boundsOf;
using test::kInk;
using test::pixelsOf;

// The thick line by its definition: w × w one-pixel lines, each clipped on its own.
Rect referenceThickLine(Raster& r, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                        std::int64_t y2, std::int64_t w) {
    Rect changed;
    for (std::int64_t i = 0; i < w; ++i) {
        for (std::int64_t j = 0; j < w; ++j) {
            changed = unite(changed, drawLine(r, x1 + i, y1 + j, x2 + i, y2 + j, kInk));
        }
    }
    return changed;
}

// Draws both ways on a blank raster; true when the pixels agree. The fast way must report
// exactly the pixels it changed.
::testing::AssertionResult sameAsReference(int width, int height, std::int64_t x1, std::int64_t y1,
                                           std::int64_t x2, std::int64_t y2, std::int64_t w) {
    Raster fast(width, height);
    Raster slow(width, height);
    const Rect fastChanged = drawThickLine(fast, x1, y1, x2, y2, w, kInk);
    referenceThickLine(slow, x1, y1, x2, y2, w);
    const auto describe = [&] {
        return ::testing::Message() << "(" << x1 << ", " << y1 << ") to (" << x2 << ", " << y2
                                    << ") width " << w << " on " << width << " × " << height;
    };
    if (std::memcmp(fast.data(), slow.data(), fast.byteSize()) != 0) {
        return ::testing::AssertionFailure() << describe() << ": pixels differ";
    }
    if (fastChanged != boundsOf(pixelsOf(fast, kInk))) {
        return ::testing::AssertionFailure() << describe() << ": wrong changed rectangle";
    }
    return ::testing::AssertionSuccess();
}

TEST(DrawThickLine, EdgeCasesMatchTheLineByLineDefinition) {
    const struct {
        std::int64_t x1, y1, x2, y2, w;
    } cases[] = {
        {100, 100, 100, 100, 3},   // a dot grows into a 3 × 3 square
        {100, 100, 200, 100, 33},  // horizontal
        {100, 400, 100, 30, 33},   // vertical
        {0, 0, 479, 479, 33},      // the diagonal, clipped at its far end
        {0, 0, 479, 331, 33},      {479, 331, 0, 0, 33},     {470, 10, 20, 479, 33},
        {-13, 0, 0, 15, 20},       {478, 100, 480, 101, 5},  {470, 100, 500, 110, 12},
        {504, 504, 10, 30, 33},    {-40, -40, 520, 530, 7},  {300, 460, 479, 470, 33},
        {0, 0, 1, 479, 33},        {5, 5, 6, 7, 2},          {100, 100, 101, 99, 33},
        {-100000, 0, 400, 300, 4}, {460, 460, 460, 479, 33}, {0, 0, 479, 479, 1},
        {10, 10, 300, 200, 0},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(sameAsReference(480, 480, c.x1, c.y1, c.x2, c.y2, c.w));
    }
}

TEST(DrawThickLine, RandomLinesMatchTheLineByLineDefinition) {
    std::mt19937 random(20240611);
    // Small targets put most lines across an edge; the canvas size covers long lines.
    const struct {
        int width, height, count;
    } targets[] = {{37, 23, 1000}, {64, 64, 500}, {480, 480, 40}};
    for (const auto& t : targets) {
        std::uniform_int_distribution<std::int64_t> x(-45, t.width + 45);
        std::uniform_int_distribution<std::int64_t> y(-45, t.height + 45);
        std::uniform_int_distribution<std::int64_t> w(1, 33);
        for (int k = 0; k < t.count; ++k) {
            ASSERT_TRUE(sameAsReference(t.width, t.height, x(random), y(random), x(random),
                                        y(random), w(random)));
        }
    }
}

}  // namespace
}  // namespace lumipad
