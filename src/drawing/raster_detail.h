// Building blocks shared by the raster operations: painting row spans, and the line's clipping
// and pixel walk. Not part of the drawing module's public surface.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include "drawing/raster.h"

namespace lumipad::detail {

// Endpoints of a general line are held within this range before clipping.
constexpr std::int64_t kLineLimit = 65000;

inline std::int64_t addSaturated(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    }
    return sum;
}

// Half-open run of whole pixels [lo, hi).
struct Interval {
    int lo = 0;
    int hi = 0;
    bool empty() const { return lo >= hi; }
};

// The pixels first to last (both included) that lie in [0, size).
inline Interval clipInclusive(std::int64_t first, std::int64_t last, int size) {
    if (first > last || last < 0 || first >= size) return {};
    return {static_cast<int>(std::max<std::int64_t>(first, 0)),
            static_cast<int>(std::min<std::int64_t>(last, size - 1)) + 1};
}

// Writes one colour over runs of a row. The colour is laid out once as a repeating pattern, so
// a run is a few block copies rather than a store per byte.
class SpanPainter {
  public:
    explicit SpanPainter(Color color) {
        for (std::size_t i = 0; i < pattern_.size(); i += 3) {
            pattern_[i] = static_cast<std::uint8_t>(red(color));
            pattern_[i + 1] = static_cast<std::uint8_t>(green(color));
            pattern_[i + 2] = static_cast<std::uint8_t>(blue(color));
        }
    }

    // Pixels [x0, x1) of the row; the caller has clipped them.
    void fill(std::uint8_t* row, int x0, int x1) const {
        std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x0);
        std::size_t bytes = 3 * static_cast<std::size_t>(x1 - x0);
        if (bytes == 3) {
            put(p);
            return;
        }
        while (bytes > pattern_.size()) {
            std::memcpy(p, pattern_.data(), pattern_.size());
            p += pattern_.size();
            bytes -= pattern_.size();
        }
        std::memcpy(p, pattern_.data(), bytes);
    }

    void put(std::uint8_t* pixel) const {
        pixel[0] = pattern_[0];
        pixel[1] = pattern_[1];
        pixel[2] = pattern_[2];
    }

  private:
    std::array<std::uint8_t, 3 * 64> pattern_{};
};

struct Segment {
    std::int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// One clip step: p is held to [0, hi], q follows along the line. s is taken from the endpoints
// as they are on entry and each moved q is cut toward zero; the rounding of these doubles
// decides visible pixels, so the arithmetic stays exactly this (no fused multiply-add: the file
// that includes this is built with contraction off).
inline bool clipStep(std::int64_t& p1, std::int64_t& q1, std::int64_t& p2, std::int64_t& q2,
                     std::int64_t hi) {
    if ((p1 < 0 && p2 < 0) || (p1 > hi && p2 > hi)) return false;
    const bool out1 = p1 < 0 || p1 > hi;
    const bool out2 = p2 < 0 || p2 > hi;
    if (!out1 && !out2) return true;
    const double s = static_cast<double>(q2 - q1) / static_cast<double>(p2 - p1);
    const auto move = [&](std::int64_t& p, std::int64_t& q) {
        const std::int64_t bound = p < 0 ? 0 : hi;
        const double product = static_cast<double>(bound - p) * s;
        q = static_cast<std::int64_t>(std::trunc(static_cast<double>(q) + product));
        p = bound;
    };
    if (out1) move(p1, q1);
    if (out2) move(p2, q2);
    return true;
}

// A line that is neither horizontal nor vertical, limited and clipped to a width × height
// target; nullopt when nothing of it remains. The result lies on the target.
inline std::optional<Segment> clipLine(Segment s, int width, int height) {
    for (std::int64_t* v : {&s.x1, &s.y1, &s.x2, &s.y2}) {
        *v = std::clamp(*v, -kLineLimit, kLineLimit);
    }
    if (!clipStep(s.x1, s.y1, s.x2, s.y2, width - 1)) return std::nullopt;
    if (!clipStep(s.y1, s.x1, s.y2, s.x2, height - 1)) return std::nullopt;
    return s;
}

// Calls step(c, n) for c = 0 .. length with n the whole number nearest to c × rise / length,
// exact halves away from zero. Needs 0 ≤ |rise| ≤ length; exact integer arithmetic.
template <class Step>
void walkMajorAxis(std::int64_t length, std::int64_t rise, Step&& step) {
    if (length == 0) {
        step(std::int64_t{0}, std::int64_t{0});
        return;
    }
    const std::int64_t sign = rise < 0 ? -1 : 1;
    const std::int64_t twiceRise = 2 * std::abs(rise);
    const std::int64_t twiceLength = 2 * length;
    // n = floor((2·c·|rise| + length) / (2·length)); rem is that division's remainder.
    std::int64_t n = 0;
    std::int64_t rem = length;
    for (std::int64_t c = 0; c <= length; ++c) {
        step(c, sign * n);
        rem += twiceRise;
        if (rem >= twiceLength) {
            rem -= twiceLength;
            ++n;
        }
    }
}

// The endpoint the nearest-pixel rule counts from (smaller x when |dx| ≥ |dy|, else smaller y),
// and the other endpoint relative to it.
struct NormalLine {
    std::int64_t ox = 0, oy = 0;  // origin
    std::int64_t dx = 0, dy = 0;  // other endpoint minus origin
};

inline NormalLine normalize(const Segment& s) {
    const std::int64_t dx = s.x2 - s.x1;
    const std::int64_t dy = s.y2 - s.y1;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const bool swap = xMajor ? dx < 0 : dy < 0;
    if (swap) return {s.x2, s.y2, -dx, -dy};
    return {s.x1, s.y1, dx, dy};
}

// Calls plot(x, y) for every pixel of the line, relative to its origin, one per column (or row)
// of the major axis.
template <class Plot>
void walkLine(const NormalLine& line, Plot&& plot) {
    if (std::abs(line.dx) >= std::abs(line.dy)) {
        walkMajorAxis(line.dx, line.dy, [&](std::int64_t c, std::int64_t n) { plot(c, n); });
    } else {
        walkMajorAxis(line.dy, line.dx, [&](std::int64_t c, std::int64_t n) { plot(n, c); });
    }
}

}  // namespace lumipad::detail
