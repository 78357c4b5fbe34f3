#include "drawing/raster_ops.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "pixels.h"

namespace lumipad {
namespace {

using test::block;
using test::boundsOf;
using test::joined;
using test::kInk;
using test::PixelSet;
using test::pixelsOf;

struct RectCase {
    std::int64_t x, y, w, h;
    PixelSet expected;
};

TEST(FillRect, CoversColumnsAndRowsBySignedSizeAndClips) {
    const RectCase cases[] = {
        {10, 20, 5, 3, block(10, 14, 20, 22)},
        {10, 20, -5, 3, block(5, 9, 20, 22)},
        {10, 20, 5, -3, block(10, 14, 17, 19)},
        {10, 20, -5, -3, block(5, 9, 17, 19)},
        {10, 20, 0, 3, {}},
        {10, 20, 5, 0, {}},
        {-2, -3, 5, 6, block(0, 2, 0, 2)},
        {478, 478, 5, 6, block(478, 479, 478, 479)},
        {480, 0, 5, 5, {}},
        {0, 0, std::numeric_limits<std::int64_t>::max(), 1, block(0, 479, 0, 0)},
        {std::numeric_limits<std::int64_t>::min(),
         5,
         std::numeric_limits<std::int64_t>::min(),
         1,
         {}},
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << ", " << c.w << ", " << c.h);
        Raster r(480, 480);
        const Rect changed = fillRect(r, c.x, c.y, c.w, c.h, kInk);
        EXPECT_EQ(pixelsOf(r, kInk), c.expected);
        EXPECT_EQ(changed, boundsOf(c.expected));
    }
}

TEST(FillRect, WritesTheColoursThreeBytesAndNotTheTopByte) {
    Raster r(3, 1);
    fillRect(r, 0, 0, 3, 1, 0xff102030);
    const std::uint8_t expected[] = {0x30, 0x20, 0x10, 0x30, 0x20, 0x10, 0x30, 0x20, 0x10};
    EXPECT_EQ(std::vector<std::uint8_t>(r.data(), r.data() + 9),
              std::vector<std::uint8_t>(expected, expected + 9));
}

struct LineCase {
    const char* name;
    std::int64_t x1, y1, x2, y2;
    PixelSet expected;
};

TEST(DrawLine, NearestPixelRuleAndClipping) {
    const LineCase cases[] = {
        {"shallow", 0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        {"rising", 0, 2, 4, 0, {{0, 2}, {1, 1}, {2, 1}, {3, 0}, {4, 0}}},
        {"steep", 0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        {"one point", 5, 5, 5, 5, {{5, 5}}},
        {"horizontal", 7, 3, 2, 3, block(2, 7, 3, 3)},
        {"vertical", 3, 9, 3, 6, block(3, 3, 6, 9)},
        {"horizontal off the target", -5, 480, 20, 480, {}},
        {"horizontal clipped", -5, 479, 2, 479, block(0, 2, 479, 479)},
        // Clipped first: the truncated end pulls the last pixel back onto row 100.
        {"clipped right", 478, 100, 480, 101, {{478, 100}, {479, 100}}},
        {"clipped right, long",
         470,
         100,
         500,
         110,
         {{470, 100},
          {471, 100},
          {472, 101},
          {473, 101},
          {474, 101},
          {475, 102},
          {476, 102},
          {477, 102},
          {478, 103},
          {479, 103}}},
        // 13 × (15 / 13) is 14.999… in doubles: the clipped end is (0, 14), not (0, 15).
        {"double rounding", -13, 0, 0, 15, {{0, 14}, {0, 15}}},
        {"wholly left", -20, 3, -1, 40, {}},
        {"wholly below", 10, 500, 40, 480, {}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool reversed : {false, true}) {
            Raster r(480, 480);
            const Rect changed = reversed ? drawLine(r, c.x2, c.y2, c.x1, c.y1, kInk)
                                          : drawLine(r, c.x1, c.y1, c.x2, c.y2, kInk);
            EXPECT_EQ(pixelsOf(r, kInk), c.expected) << "reversed " << reversed;
            EXPECT_EQ(changed, boundsOf(c.expected)) << "reversed " << reversed;
        }
    }
}

TEST(DrawLine, FarEndpointsAreHeldAtTheCoordinateLimitBeforeClipping) {
    // Held at x = −65000 the line meets column 0 at y = 298.17; unheld it would be 299.88.
    Raster far(480, 480);
    drawLine(far, -1000000, 0, 400, 300, kInk);
    Raster near(480, 480);
    drawLine(near, 0, 298, 400, 300, kInk);
    EXPECT_EQ(pixelsOf(far, kInk), pixelsOf(near, kInk));
    EXPECT_EQ(far.pixel(0, 298), kInk);
}

TEST(DrawLine, ExactHalvesGoTowardTheFarEndpoint) {
    // Column 1 lies at 0.5 rows exactly and column 3 at 1.5: both round away from the origin.
    Raster r(10, 10);
    drawLine(r, 0, 0, 4, 2, kInk);
    EXPECT_EQ(r.pixel(1, 1), kInk);
    EXPECT_EQ(r.pixel(3, 2), kInk);
    Raster up(10, 10);
    drawLine(up, 0, 4, 4, 2, kInk);
    EXPECT_EQ(up.pixel(1, 3), kInk);
    EXPECT_EQ(up.pixel(3, 2), kInk);
}

// Offsets from the centre row outward and the half-width of each row.
PixelSet fromHalfWidths(int cx, int cy, const std::vector<int>& halfWidths) {
    PixelSet s;
    for (int k = 0; k < static_cast<int>(halfWidths.size()); ++k) {
        const int h = halfWidths[static_cast<std::size_t>(k)];
        s = joined(s, block(cx - h, cx + h, cy - k, cy - k));
        s = joined(s, block(cx - h, cx + h, cy + k, cy + k));
    }
    return s;
}

struct EllipseCase {
    std::int64_t rx, ry;
    std::vector<int> halfWidths;
    std::size_t pixels;
};

TEST(FillEllipse, HalfWidthsOfEveryRow) {
    const EllipseCase cases[] = {
        // Circles.
        {1, 1, {1, 0}, 5},
        {2, 2, {2, 2, 1}, 21},
        {3, 3, {3, 3, 2, 1}, 37},
        {4, 4, {4, 4, 3, 3, 1}, 61},
        {5, 5, {5, 5, 5, 4, 3, 2}, 97},
        {8, 8, {8, 8, 8, 7, 7, 6, 5, 4, 2}, 221},
        {10, 10, {10, 10, 10, 10, 9, 9, 8, 7, 6, 5, 3}, 349},
        {16, 16, {16, 16, 16, 16, 15, 15, 15, 14, 14, 13, 12, 12, 11, 9, 8, 6, 3}, 845},
        // Ellipses, degenerate ones included.
        {0, 0, {0}, 1},
        {0, 5, {0}, 1},
        {3, 0, {3}, 7},
        {1, 8, {1, 1, 1, 1, 1, 1, 1, 0}, 41},
        {8, 1, {8, 6}, 43},
        {10, 4, {10, 10, 9, 7, 4}, 149},
    };
    for (const EllipseCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "rx " << c.rx << " ry " << c.ry);
        Raster r(100, 100);
        const Rect changed = fillEllipse(r, 50, 50, c.rx, c.ry, kInk);
        const PixelSet expected = fromHalfWidths(50, 50, c.halfWidths);
        EXPECT_EQ(expected.size(), c.pixels);
        EXPECT_EQ(pixelsOf(r, kInk), expected);
        EXPECT_EQ(changed, boundsOf(expected));
        if (c.rx == c.ry) {
            Raster circle(100, 100);
            fillCircle(circle, 50, 50, c.rx, kInk);
            EXPECT_EQ(pixelsOf(circle, kInk), expected);
        }
    }
}

// The rule drawn literally: the steep part fills columns, one pixel at a time.
PixelSet literalEllipse(std::int64_t cx, std::int64_t cy, std::int64_t rx, std::int64_t ry) {
    const auto f4 = [&](std::int64_t hx, std::int64_t hy) {
        return ry * ry * hx * hx + rx * rx * hy * hy - 4 * rx * rx * ry * ry;
    };
    PixelSet s;
    const auto put = [&](std::int64_t x, std::int64_t y) {
        s.insert({static_cast<int>(x), static_cast<int>(y)});
    };
    std::int64_t x = rx;
    std::int64_t y = 0;
    while (f4(2 * x - 2, 2 * y + 1) < 0) {
        for (std::int64_t c = cx - x; c <= cx + x; ++c) {
            put(c, cy + y);
            put(c, cy - y);
        }
        if (f4(2 * x - 1, 2 * y + 2) >= 0) --x;
        ++y;
    }
    const std::int64_t y0 = y;
    std::int64_t reach = y0;
    for (std::int64_t c = x; c >= 0; --c) {
        for (std::int64_t k = y0; k <= reach; ++k) {
            for (const std::int64_t col : {cx + c, cx - c}) {
                put(col, cy + k);
                put(col, cy - k);
            }
        }
        if (f4(2 * c - 2, 2 * reach + 1) < 0) ++reach;
    }
    return s;
}

TEST(FillEllipse, RowSpansMatchTheColumnWiseRule) {
    std::vector<std::pair<std::int64_t, std::int64_t>> radii = {{200, 3}, {3, 200}, {150, 149}};
    for (std::int64_t rx = 0; rx <= 24; ++rx) {
        for (std::int64_t ry = 0; ry <= 24; ++ry) radii.emplace_back(rx, ry);
    }
    for (const auto& [rx, ry] : radii) {
        // Just large enough to hold the whole ellipse.
        Raster r(static_cast<int>(2 * rx + 3), static_cast<int>(2 * ry + 3));
        fillEllipse(r, rx + 1, ry + 1, rx, ry, kInk);
        ASSERT_EQ(pixelsOf(r, kInk), literalEllipse(rx + 1, ry + 1, rx, ry)) << rx << " × " << ry;
    }
}

TEST(FillEllipse, NegativeRadiusDrawsNothing) {
    Raster r(20, 20);
    EXPECT_TRUE(fillEllipse(r, 10, 10, -1, 3, kInk).empty());
    EXPECT_TRUE(fillEllipse(r, 10, 10, 3, -1, kInk).empty());
    EXPECT_TRUE(fillCircle(r, 10, 10, -2, kInk).empty());
    EXPECT_TRUE(pixelsOf(r, kInk).empty());
}

TEST(FillEllipse, OverTheEdgeKeepsExactlyItsPixelsOnTheTarget) {
    // The same ellipses drawn whole on a larger raster, shifted by (kShift, kShift).
    constexpr int kShift = 460;
    const struct {
        std::int64_t cx, cy, rx, ry;
    } cases[] = {{2, 470, 16, 16}, {479, 0, 30, 7}, {-5, 240, 12, 40}, {240, 240, 480, 480}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << ", " << c.cy);
        Raster r(480, 480);
        const Rect changed = fillEllipse(r, c.cx, c.cy, c.rx, c.ry, kInk);
        Raster whole(1400, 1400);
        fillEllipse(whole, c.cx + kShift, c.cy + kShift, c.rx, c.ry, kInk);
        Rect expected;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 480; ++x) {
                const bool inked = whole.pixel(x + kShift, y + kShift) == kInk;
                ASSERT_EQ(r.pixel(x, y) == kInk, inked) << x << ", " << y;
                if (inked) expected = unite(expected, {x, y, x + 1, y + 1});
            }
        }
        EXPECT_EQ(changed, expected);
    }
}

TEST(FillEllipse, HugeRadiiStayBoundedAndCoverTheTarget) {
    Raster r(40, 30);
    const auto big = std::int64_t{1} << 60;
    EXPECT_EQ(fillEllipse(r, 20, 15, big, big, kInk), (Rect{0, 0, 40, 30}));
    EXPECT_EQ(pixelsOf(r, kInk).size(), 40u * 30u);
}

// Paints the listed pixels in `color` on a black raster.
Raster withPixels(int w, int h, const PixelSet& pixels, Color color) {
    Raster r(w, h);
    for (const auto& [x, y] : pixels) r.setPixel(x, y, color);
    return r;
}

TEST(FloodFill, FillsTheFourConnectedRegionOnly) {
    const Color wall = rgb(0, 0, 255);
    // Two blocks of black touching only at a corner, inside a wall ring.
    PixelSet walls = joined(block(0, 9, 0, 0), block(0, 9, 9, 9));
    walls = joined(walls, joined(block(0, 0, 0, 9), block(9, 9, 0, 9)));
    walls = joined(walls, joined(block(5, 8, 1, 4), block(1, 4, 5, 8)));
    Raster r = withPixels(10, 10, walls, wall);
    const Rect changed = floodFill(r, 2, 2, kInk);
    EXPECT_EQ(pixelsOf(r, kInk), block(1, 4, 1, 4));
    EXPECT_EQ(changed, (Rect{1, 1, 5, 5}));
    EXPECT_EQ(pixelsOf(r, kBlack), block(5, 8, 5, 8));
}

TEST(FloodFill, OnlyExactlyEqualColoursBelongToTheRegion) {
    Raster r(5, 1);
    r.setPixel(3, 0, rgb(0, 0, 1));
    floodFill(r, 0, 0, kInk);
    EXPECT_EQ(pixelsOf(r, kInk), block(0, 2, 0, 0));
}

TEST(FloodFill, SameColourOrStartOffTheTargetChangesNothing) {
    Raster r(8, 8);
    fillRect(r, 0, 0, 4, 8, kInk);
    const Raster before = r;
    EXPECT_TRUE(floodFill(r, 1, 1, kInk).empty());
    // The top byte is no part of the colour.
    EXPECT_TRUE(floodFill(r, 1, 1, kInk | 0xff000000).empty());
    EXPECT_TRUE(floodFill(r, 8, 0, kWhite).empty());
    EXPECT_TRUE(floodFill(r, -1, 3, kWhite).empty());
    EXPECT_EQ(std::vector<std::uint8_t>(r.data(), r.data() + r.byteSize()),
              std::vector<std::uint8_t>(before.data(), before.data() + before.byteSize()));
}

// A one-pixel corridor winding through the whole raster: open columns at even x, walls at odd
// x with a gap alternately at the bottom and the top, so the corridor is one long path.
Raster serpentine(int size, Color wall) {
    Raster r(size, size);
    for (int x = 1; x < size; x += 2) {
        const int gap = (x / 2) % 2 == 0 ? size - 1 : 0;
        for (int y = 0; y < size; ++y) {
            if (y != gap) r.setPixel(x, y, wall);
        }
    }
    return r;
}

TEST(FloodFill, FollowsAOnePixelSerpentineThroughTheWholeCanvas) {
    const Color wall = rgb(9, 9, 9);
    for (const bool turned : {false, true}) {
        Raster r = serpentine(480, wall);
        if (turned) {
            // The same maze with rows and columns exchanged.
            Raster t(480, 480);
            for (int y = 0; y < 480; ++y) {
                for (int x = 0; x < 480; ++x) t.setPixel(y, x, r.pixel(x, y));
            }
            r = t;
        }
        const std::size_t open = pixelsOf(r, kBlack).size();
        EXPECT_EQ(floodFill(r, 0, 0, kInk), (Rect{0, 0, 480, 480}));
        EXPECT_EQ(pixelsOf(r, kInk).size(), open);
        EXPECT_TRUE(pixelsOf(r, kBlack).empty());
    }
}

// A source whose every pixel is distinct.
Raster numbered(int w, int h) {
    Raster r(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) r.setPixel(x, y, rgb(x + 1, y + 1, 77));
    }
    return r;
}

TEST(BlitImage, CopiesTheOverlapAtAnyOffset) {
    const Raster source = numbered(10, 6);
    const struct {
        std::int64_t x, y;
        Rect expected;
    } cases[] = {
        {0, 0, {0, 0, 10, 6}},
        {5, 7, {5, 7, 15, 13}},
        {-3, -2, {0, 0, 7, 4}},
        {475, 477, {475, 477, 480, 480}},
        {-10, 0, {}},
        {480, 0, {}},
        {-4, 476, {0, 476, 6, 480}},
        {std::numeric_limits<std::int64_t>::max(), 0, {}},
        {0, std::numeric_limits<std::int64_t>::min(), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        for (const bool onlyChanged : {false, true}) {
            Raster target(480, 480);
            fillRect(target, 0, 0, 480, 480, kWhite);
            const Rect changed = onlyChanged ? blitChangedRows(target, source, c.x, c.y)
                                             : blitImage(target, source, c.x, c.y);
            EXPECT_EQ(changed, c.expected);
            for (int y = 0; y < 480; ++y) {
                for (int x = 0; x < 480; ++x) {
                    const bool inside = x >= c.expected.x0 && x < c.expected.x1 &&
                                        y >= c.expected.y0 && y < c.expected.y1;
                    const Color want =
                        inside ? source.pixel(static_cast<int>(x - c.x), static_cast<int>(y - c.y))
                               : kWhite;
                    if (target.pixel(x, y) != want) {
                        ADD_FAILURE() << "pixel " << x << ", " << y << " only " << onlyChanged;
                        return;
                    }
                }
            }
        }
    }
}

TEST(BlitChangedRows, ReportsOnlyTheRowsItRewrote) {
    const Raster snapshot = numbered(40, 30);
    Raster canvas = snapshot;
    canvas.setPixel(3, 7, kInk);
    canvas.setPixel(39, 12, kInk);
    EXPECT_EQ(blitChangedRows(canvas, snapshot, 0, 0), (Rect{0, 7, 40, 13}));
    EXPECT_TRUE(pixelsOf(canvas, kInk).empty());
    EXPECT_TRUE(blitChangedRows(canvas, snapshot, 0, 0).empty());
}

}  // namespace
}  // namespace lumipad
