#include "drawing/raster_ops.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "drawing/raster_detail.h"

namespace lumipad {

using detail::addSaturated;
using detail::clipInclusive;
using detail::Interval;
using detail::SpanPainter;

namespace {

// Columns (or rows) covered by an anchor and a signed size: a negative size reaches back from
// the anchor without the anchor itself.
Interval coveredBySize(std::int64_t anchor, std::int64_t size, int limit) {
    const std::int64_t end = addSaturated(anchor, size);
    return size < 0 ? clipInclusive(end, addSaturated(anchor, -1), limit)
                    : clipInclusive(anchor, addSaturated(end, -1), limit);
}

Rect fillBlock(Raster& target, Interval cols, Interval rows, Color color) {
    if (cols.empty() || rows.empty()) return {};
    SpanPainter(color).fill(target.row(rows.lo), cols.lo, cols.hi);
    const std::uint8_t* first = target.row(rows.lo) + 3 * static_cast<std::ptrdiff_t>(cols.lo);
    const auto bytes = 3 * static_cast<std::size_t>(cols.hi - cols.lo);
    for (int y = rows.lo + 1; y < rows.hi; ++y) {
        std::memcpy(target.row(y) + 3 * static_cast<std::ptrdiff_t>(cols.lo), first, bytes);
    }
    return {cols.lo, rows.lo, cols.hi, rows.hi};
}

// Compares and extends runs of one colour along a row.
class ColorMatcher {
  public:
    explicit ColorMatcher(Color color) {
        std::uint8_t pattern[24];
        for (int i = 0; i < 24; i += 3) {
            pattern[i] = static_cast<std::uint8_t>(red(color));
            pattern[i + 1] = static_cast<std::uint8_t>(green(color));
            pattern[i + 2] = static_cast<std::uint8_t>(blue(color));
        }
        std::memcpy(words_, pattern, sizeof pattern);
    }

    bool at(const std::uint8_t* row, int x) const {
        const std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x);
        return p[0] == bytes()[0] && p[1] == bytes()[1] && p[2] == bytes()[2];
    }

    // The first pixel from x on (before limit) that does not match, or limit.
    int runEnd(const std::uint8_t* row, int x, int limit) const {
        while (x + 8 <= limit && blockMatches(row, x)) x += 8;
        while (x < limit && at(row, x)) ++x;
        return x;
    }

    // The leftmost pixel of the matching run that ends just before x.
    int runStart(const std::uint8_t* row, int x) const {
        while (x >= 8 && blockMatches(row, x - 8)) x -= 8;
        while (x > 0 && at(row, x - 1)) --x;
        return x;
    }

  private:
    const std::uint8_t* bytes() const { return reinterpret_cast<const std::uint8_t*>(words_); }

    // Pixels x .. x + 7, compared as three words.
    bool blockMatches(const std::uint8_t* row, int x) const {
        std::uint64_t w[3];
        std::memcpy(w, row + 3 * static_cast<std::ptrdiff_t>(x), sizeof w);
        return ((w[0] ^ words_[0]) | (w[1] ^ words_[1]) | (w[2] ^ words_[2])) == 0;
    }

    std::uint64_t words_[3];
};

struct FillSeed {
    int x1, x2, y, dy;
};

}  // namespace

Rect fillRect(Raster& target, std::int64_t x, std::int64_t y, std::int64_t width,
              std::int64_t height, Color color) {
    return fillBlock(target, coveredBySize(x, width, target.width()),
                     coveredBySize(y, height, target.height()), color);
}

Rect fillEllipse(Raster& target, std::int64_t cx, std::int64_t cy, std::int64_t rx, std::int64_t ry,
                 Color color) {
    if (rx < 0 || ry < 0) return {};
    rx = std::min(rx, kMaxRadius);
    ry = std::min(ry, kMaxRadius);
    const std::int64_t rx2 = rx * rx;
    const std::int64_t ry2 = ry * ry;
    // Four times F at (hx / 2, hy / 2): whole numbers for the half-pixel points the rule tests.
    const auto f4 = [&](std::int64_t hx, std::int64_t hy) {
        return ry2 * hx * hx + rx2 * hy * hy - 4 * rx2 * ry2;
    };

    const SpanPainter paint(color);
    Rect changed;
    // Row offsets k above and below the centre, columns cx − h to cx + h.
    const auto rowPair = [&](std::int64_t k, std::int64_t h) {
        const Interval cols =
            clipInclusive(addSaturated(cx, -h), addSaturated(cx, h), target.width());
        if (cols.empty()) return;
        for (const std::int64_t y : {addSaturated(cy, k), addSaturated(cy, -k)}) {
            if (y < 0 || y >= target.height()) continue;
            const int row = static_cast<int>(y);
            paint.fill(target.row(row), cols.lo, cols.hi);
            changed = unite(changed, {cols.lo, row, cols.hi, row + 1});
        }
    };

    // Rows where the curve is flatter than 45°: one row per step.
    std::int64_t x = rx;
    std::int64_t y = 0;
    while (f4(2 * x - 2, 2 * y + 1) < 0) {
        rowPair(y, x);
        if (f4(2 * x - 1, 2 * y + 2) >= 0) --x;
        ++y;
    }
    // The steep part walks columns c = x .. 0; column c covers the rows y0 .. Y. Drawn as rows:
    // row y0 reaches column x, and each row that Y gains first appears in the next column in.
    std::int64_t reach = y;
    if (x >= 0) rowPair(reach, x);
    for (std::int64_t c = x; c >= 1; --c) {
        if (f4(2 * c - 2, 2 * reach + 1) < 0) {
            ++reach;
            rowPair(reach, c - 1);
        }
    }
    return changed;
}

Rect fillCircle(Raster& target, std::int64_t cx, std::int64_t cy, std::int64_t r, Color color) {
    return fillEllipse(target, cx, cy, r, r, color);
}

Rect drawLine(Raster& target, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
              Color color) {
    const int width = target.width();
    const int height = target.height();
    if (y1 == y2) {
        return fillBlock(target, clipInclusive(std::min(x1, x2), std::max(x1, x2), width),
                         clipInclusive(y1, y1, height), color);
    }
    if (x1 == x2) {
        return fillBlock(target, clipInclusive(x1, x1, width),
                         clipInclusive(std::min(y1, y2), std::max(y1, y2), height), color);
    }
    const auto clipped = detail::clipLine({x1, y1, x2, y2}, width, height);
    if (!clipped) return {};
    const detail::NormalLine line = detail::normalize(*clipped);
    const SpanPainter paint(color);
    detail::walkLine(line, [&](std::int64_t dx, std::int64_t dy) {
        const std::int64_t px = line.ox + dx;
        const std::int64_t py = line.oy + dy;
        if (target.contains(px, py)) {
            paint.put(target.row(static_cast<int>(py)) + 3 * static_cast<std::ptrdiff_t>(px));
        }
    });
    const auto [xa, xb] = std::minmax(clipped->x1, clipped->x2);
    const auto [ya, yb] = std::minmax(clipped->y1, clipped->y2);
    return {static_cast<int>(xa), static_cast<int>(ya), static_cast<int>(xb) + 1,
            static_cast<int>(yb) + 1};
}

Rect floodFill(Raster& target, std::int64_t x, std::int64_t y, Color color) {
    if (!target.contains(x, y)) return {};
    const Color old = target.pixel(static_cast<int>(x), static_cast<int>(y));
    if ((color & 0xffffff) == old) return {};

    // Span filling: every run is painted as soon as it is found, so painted pixels no longer
    // match and need no visited mark. A seed is a run of a row to scan, and the direction away
    // from the row that planted it; the explicit stack keeps deep regions off the call stack.
    const ColorMatcher matches(old);
    const SpanPainter paint(color);
    const int width = target.width();
    const int height = target.height();
    Rect changed;
    const auto fillRun = [&](std::uint8_t* row, int y, int x0, int x1) {
        paint.fill(row, x0, x1);
        changed = unite(changed, {x0, y, x1, y + 1});
    };

    std::vector<FillSeed> seeds;
    seeds.reserve(64);
    const int sx = static_cast<int>(x);
    const int sy = static_cast<int>(y);
    seeds.push_back({sx, sx, sy, 1});
    seeds.push_back({sx, sx, sy - 1, -1});
    while (!seeds.empty()) {
        const FillSeed seed = seeds.back();
        seeds.pop_back();
        if (seed.y < 0 || seed.y >= height) continue;
        std::uint8_t* row = target.row(seed.y);
        int x1 = seed.x1;
        int runStart = x1;
        if (matches.at(row, x1)) {
            runStart = matches.runStart(row, x1);
            if (runStart < x1) {
                fillRun(row, seed.y, runStart, x1);
                seeds.push_back({runStart, x1 - 1, seed.y - seed.dy, -seed.dy});
            }
        }
        while (x1 <= seed.x2) {
            const int end = matches.runEnd(row, x1, width);
            if (end > x1) fillRun(row, seed.y, x1, end);
            x1 = end;
            if (x1 > runStart) seeds.push_back({runStart, x1 - 1, seed.y + seed.dy, seed.dy});
            if (x1 - 1 > seed.x2)
                seeds.push_back({seed.x2 + 1, x1 - 1, seed.y - seed.dy, -seed.dy});
            ++x1;
            while (x1 < seed.x2 && !matches.at(row, x1)) ++x1;
            runStart = x1;
        }
    }
    return changed;
}

namespace {

// Where a source placed with its top-left pixel at (x, y) meets the target.
struct BlitArea {
    Interval cols, rows;  // on the target
    int sourceX = 0, sourceY = 0;
};

BlitArea blitArea(const Raster& target, const Raster& source, std::int64_t x, std::int64_t y) {
    BlitArea area;
    if (source.width() <= 0 || source.height() <= 0) return area;
    area.cols = clipInclusive(x, addSaturated(x, source.width() - 1), target.width());
    area.rows = clipInclusive(y, addSaturated(y, source.height() - 1), target.height());
    if (area.cols.empty() || area.rows.empty()) return area;
    area.sourceX = static_cast<int>(area.cols.lo - x);
    area.sourceY = static_cast<int>(area.rows.lo - y);
    return area;
}

}  // namespace

Rect blitImage(Raster& target, const Raster& source, std::int64_t x, std::int64_t y) {
    const BlitArea area = blitArea(target, source, x, y);
    if (area.cols.empty() || area.rows.empty()) return {};
    const auto bytes = 3 * static_cast<std::size_t>(area.cols.hi - area.cols.lo);
    // Whole rows of equal layout (a snapshot onto a 480-wide canvas) are one block of memory.
    if (target.stride() == source.stride() && area.cols.lo == 0 && area.sourceX == 0 &&
        area.cols.hi == target.width()) {
        std::memcpy(target.row(area.rows.lo), source.row(area.sourceY),
                    static_cast<std::size_t>(target.stride()) *
                        static_cast<std::size_t>(area.rows.hi - area.rows.lo));
        return {area.cols.lo, area.rows.lo, area.cols.hi, area.rows.hi};
    }
    for (int row = area.rows.lo; row < area.rows.hi; ++row) {
        std::memcpy(target.row(row) + 3 * static_cast<std::ptrdiff_t>(area.cols.lo),
                    source.row(area.sourceY + row - area.rows.lo) +
                        3 * static_cast<std::ptrdiff_t>(area.sourceX),
                    bytes);
    }
    return {area.cols.lo, area.rows.lo, area.cols.hi, area.rows.hi};
}

Rect blitChangedRows(Raster& target, const Raster& source, std::int64_t x, std::int64_t y) {
    const BlitArea area = blitArea(target, source, x, y);
    if (area.cols.empty() || area.rows.empty()) return {};
    const auto bytes = 3 * static_cast<std::size_t>(area.cols.hi - area.cols.lo);
    Rect changed;
    for (int row = area.rows.lo; row < area.rows.hi; ++row) {
        std::uint8_t* to = target.row(row) + 3 * static_cast<std::ptrdiff_t>(area.cols.lo);
        const std::uint8_t* from = source.row(area.sourceY + row - area.rows.lo) +
                                   3 * static_cast<std::ptrdiff_t>(area.sourceX);
        if (std::memcmp(to, from, bytes) == 0) continue;
        std::memcpy(to, from, bytes);
        changed = unite(changed, {area.cols.lo, row, area.cols.hi, row + 1});
    }
    return changed;
}

}  // namespace lumipad
