// The thick line is w × w one-pixel lines, shifted by (i, j) for 0 ≤ i, j < w. Drawn one by one
// that is up to 1089 lines on every pointer move; instead, lines that come out as the same
// pixel pattern at neighbouring places are drawn together, one span per row.
//
// A line that needs no clipping is a plain shift of the base line, and the nearest-pixel rule
// gives shifted lines shifted pixels. Lines that are clipped change their endpoints (and with
// them their pixels) in ways the double-precision clip decides, so each is clipped exactly as
// drawLine clips it and then grouped with the lines of identical pattern.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "drawing/raster_detail.h"
#include "drawing/raster_ops.h"

namespace lumipad {

using detail::addSaturated;
using detail::clipInclusive;
using detail::Interval;
using detail::NormalLine;
using detail::Segment;
using detail::SpanPainter;

namespace {

// A line's pixels relative to its origin, as one run of columns per row. Consecutive rows'
// runs touch or overlap, so the runs of any band of rows join into one run.
class RowRuns {
  public:
    void build(std::int64_t dx, std::int64_t dy) {
        top_ = std::min<std::int64_t>(dy, 0);
        const auto rows = static_cast<std::size_t>(std::abs(dy) + 1);
        first_.resize(rows);
        last_.resize(rows);
        // The walk meets each row in one stretch, its leftmost pixel first.
        std::size_t previous = rows;
        detail::walkLine(NormalLine{0, 0, dx, dy}, [&](std::int64_t x, std::int64_t y) {
            const auto k = static_cast<std::size_t>(y - top_);
            if (k != previous) first_[k] = x;
            last_[k] = x;
            previous = k;
        });
        // Runs move right going down when the line falls to the right, else left.
        rightward_ = (dx > 0) == (dy > 0);
    }

    std::int64_t top() const { return top_; }
    std::int64_t bottom() const { return top_ + static_cast<std::int64_t>(first_.size()) - 1; }

    // The columns covered by rows a .. b (top() ≤ a ≤ b ≤ bottom()).
    std::pair<std::int64_t, std::int64_t> band(std::int64_t a, std::int64_t b) const {
        const auto ka = static_cast<std::size_t>(a - top_);
        const auto kb = static_cast<std::size_t>(b - top_);
        return rightward_ ? std::pair{first_[ka], last_[kb]} : std::pair{first_[kb], last_[ka]};
    }

  private:
    std::int64_t top_ = 0;
    std::vector<std::int64_t> first_, last_;
    bool rightward_ = true;
};

// The same line pattern placed with its origin at every point of ox0..ox1 × oy0..oy1.
struct OriginBlock {
    std::int64_t ox0, ox1, oy0, oy1;
};

// Calls span(y, x0, x1) with the columns the block covers in each of its rows.
template <class Span>
void blockSpans(const RowRuns& runs, const OriginBlock& block, Span&& span) {
    const std::int64_t yEnd = runs.bottom() + block.oy1;
    for (std::int64_t y = runs.top() + block.oy0; y <= yEnd; ++y) {
        const std::int64_t a = std::max(y - block.oy1, runs.top());
        const std::int64_t b = std::min(y - block.oy0, runs.bottom());
        const auto [x0, x1] = runs.band(a, b);
        span(y, x0 + block.ox0, x1 + block.ox1);
    }
}

// The union of spans, row by row. Each row keeps one run; a span that neither overlaps nor
// touches it is set aside and merged when the row is painted, so gaps stay exact while the
// usual case, where everything joins, costs a comparison per span.
class Coverage {
  public:
    Coverage(int width, int height)
        : width_(width), height_(height), runs_(static_cast<std::size_t>(height)) {}

    void add(std::int64_t y, std::int64_t x0, std::int64_t x1) {
        if (y < 0 || y >= height_) return;
        const Interval cols = clipInclusive(x0, x1, width_);
        if (cols.empty()) return;
        const int row = static_cast<int>(y);
        top_ = std::min(top_, row);
        bottom_ = std::max(bottom_, row);
        Interval& run = runs_[static_cast<std::size_t>(row)];
        if (run.empty()) {
            run = cols;
        } else if (cols.lo <= run.hi && cols.hi >= run.lo) {
            run = {std::min(run.lo, cols.lo), std::max(run.hi, cols.hi)};
        } else {
            apart_.push_back({row, cols});
        }
    }

    Rect paint(Raster& target, Color color) {
        std::sort(apart_.begin(), apart_.end(), [](const RowSpan& a, const RowSpan& b) {
            return std::tie(a.row, a.cols.lo) < std::tie(b.row, b.cols.lo);
        });
        const SpanPainter painter(color);
        Rect changed;
        const auto fill = [&](int row, Interval cols) {
            painter.fill(target.row(row), cols.lo, cols.hi);
            changed = unite(changed, {cols.lo, row, cols.hi, row + 1});
        };
        std::vector<Interval> pieces;
        std::size_t next = 0;
        for (int row = top_; row <= bottom_; ++row) {
            const Interval run = runs_[static_cast<std::size_t>(row)];
            if (run.empty()) continue;
            if (next == apart_.size() || apart_[next].row != row) {
                fill(row, run);
                continue;
            }
            // Merge the spans set aside for this row with its run; paint what gaps separate.
            pieces.assign(1, run);
            for (; next < apart_.size() && apart_[next].row == row; ++next) {
                pieces.push_back(apart_[next].cols);
            }
            std::sort(pieces.begin(), pieces.end(),
                      [](const Interval& a, const Interval& b) { return a.lo < b.lo; });
            Interval current = pieces.front();
            for (std::size_t k = 1; k < pieces.size(); ++k) {
                if (pieces[k].lo <= current.hi) {
                    current.hi = std::max(current.hi, pieces[k].hi);
                } else {
                    fill(row, current);
                    current = pieces[k];
                }
            }
            fill(row, current);
        }
        return changed;
    }

  private:
    struct RowSpan {
        int row;
        Interval cols;
    };

    int width_, height_;
    std::vector<Interval> runs_;
    std::vector<RowSpan> apart_;
    int top_ = std::numeric_limits<int>::max();
    int bottom_ = std::numeric_limits<int>::min();
};

// Offsets 0..w−1 whose shifted endpoints a + i and b + i both lie in [0, maxValue].
std::pair<std::int64_t, std::int64_t> unclippedOffsets(std::int64_t a, std::int64_t b,
                                                       std::int64_t w, std::int64_t maxValue) {
    // Far-off coordinates leave no offset; holding them keeps the sums below in range.
    constexpr std::int64_t kFar = std::int64_t{1} << 40;
    a = std::clamp(a, -kFar, kFar);
    b = std::clamp(b, -kFar, kFar);
    return {std::max({std::int64_t{0}, -a, -b}), std::min({w - 1, maxValue - a, maxValue - b})};
}

// A clipped line: its pattern (the other endpoint relative to the origin) and its origin.
struct PlacedLine {
    std::int64_t dx, dy, ox, oy;
    friend bool operator==(const PlacedLine&, const PlacedLine&) = default;
};

// Adds lines of one pattern, given by their origins sorted by row then column, as blocks of
// origins: runs of adjacent columns in one row, stacked where consecutive rows have the same run.
void addOrigins(Coverage& coverage, const RowRuns& runs, const PlacedLine* first,
                const PlacedLine* last) {
    std::vector<OriginBlock> rowsOfOrigins;
    for (const PlacedLine* p = first; p != last; ++p) {
        if (!rowsOfOrigins.empty() && rowsOfOrigins.back().oy0 == p->oy &&
            rowsOfOrigins.back().ox1 + 1 == p->ox) {
            rowsOfOrigins.back().ox1 = p->ox;
        } else {
            rowsOfOrigins.push_back({p->ox, p->ox, p->oy, p->oy});
        }
    }
    std::sort(rowsOfOrigins.begin(), rowsOfOrigins.end(), [](const auto& a, const auto& b) {
        return std::tie(a.ox0, a.ox1, a.oy0) < std::tie(b.ox0, b.ox1, b.oy0);
    });
    const auto add = [&](std::int64_t y, std::int64_t x0, std::int64_t x1) {
        coverage.add(y, x0, x1);
    };
    for (std::size_t k = 0; k < rowsOfOrigins.size();) {
        OriginBlock block = rowsOfOrigins[k++];
        while (k < rowsOfOrigins.size() && rowsOfOrigins[k].ox0 == block.ox0 &&
               rowsOfOrigins[k].ox1 == block.ox1 && rowsOfOrigins[k].oy0 == block.oy1 + 1) {
            block.oy1 = rowsOfOrigins[k++].oy0;
        }
        blockSpans(runs, block, add);
    }
}

}  // namespace

Rect drawThickLine(Raster& target, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                   std::int64_t y2, std::int64_t w, Color color) {
    const int width = target.width();
    const int height = target.height();
    if (w < 1 || width <= 0 || height <= 0) return {};
    const std::int64_t e = w - 1;
    // Horizontal and vertical lines are never clipped in double precision: together they cover
    // a plain rectangle.
    if (y1 == y2 || x1 == x2) {
        const auto [xa, xb] = std::minmax(x1, x2);
        const auto [ya, yb] = std::minmax(y1, y2);
        const Interval cols = clipInclusive(xa, addSaturated(xb, e), width);
        const Interval rows = clipInclusive(ya, addSaturated(yb, e), height);
        if (cols.empty() || rows.empty()) return {};
        const SpanPainter paint(color);
        for (int y = rows.lo; y < rows.hi; ++y) paint.fill(target.row(y), cols.lo, cols.hi);
        return {cols.lo, rows.lo, cols.hi, rows.hi};
    }

    // Shifts whose line lies on the target and within the coordinate limit are not clipped.
    const auto [i0, i1] =
        unclippedOffsets(x1, x2, w, std::min<std::int64_t>(width - 1, detail::kLineLimit));
    const auto [j0, j1] =
        unclippedOffsets(y1, y2, w, std::min<std::int64_t>(height - 1, detail::kLineLimit));
    const bool anyUnclipped = i0 <= i1 && j0 <= j1;
    const NormalLine base = detail::normalize({x1, y1, x2, y2});
    RowRuns runs;

    if (anyUnclipped && i0 == 0 && i1 == e && j0 == 0 && j1 == e) {
        runs.build(base.dx, base.dy);
        const SpanPainter paint(color);
        Rect changed;
        blockSpans(runs, {base.ox, base.ox + e, base.oy, base.oy + e},
                   [&](std::int64_t y, std::int64_t xa, std::int64_t xb) {
                       const Interval cols = clipInclusive(xa, xb, width);
                       if (y < 0 || y >= height || cols.empty()) return;
                       paint.fill(target.row(static_cast<int>(y)), cols.lo, cols.hi);
                       changed = unite(changed, {cols.lo, static_cast<int>(y), cols.hi,
                                                 static_cast<int>(y) + 1});
                   });
        return changed;
    }

    Coverage coverage(width, height);
    if (anyUnclipped) {
        runs.build(base.dx, base.dy);
        blockSpans(
            runs, {base.ox + i0, base.ox + i1, base.oy + j0, base.oy + j1},
            [&](std::int64_t y, std::int64_t xa, std::int64_t xb) { coverage.add(y, xa, xb); });
    }
    std::vector<PlacedLine> clipped;
    for (std::int64_t i = 0; i <= e; ++i) {
        for (std::int64_t j = 0; j <= e; ++j) {
            if (i >= i0 && i <= i1 && j >= j0 && j <= j1) continue;
            const auto line = detail::clipLine({addSaturated(x1, i), addSaturated(y1, j),
                                                addSaturated(x2, i), addSaturated(y2, j)},
                                               width, height);
            if (!line) continue;
            const NormalLine n = detail::normalize(*line);
            clipped.push_back({n.dx, n.dy, n.ox, n.oy});
        }
    }
    std::sort(clipped.begin(), clipped.end(), [](const PlacedLine& a, const PlacedLine& b) {
        return std::tie(a.dx, a.dy, a.oy, a.ox) < std::tie(b.dx, b.dy, b.oy, b.ox);
    });
    clipped.erase(std::unique(clipped.begin(), clipped.end()), clipped.end());
    for (std::size_t k = 0; k < clipped.size();) {
        std::size_t end = k + 1;
        while (end < clipped.size() && clipped[end].dx == clipped[k].dx &&
               clipped[end].dy == clipped[k].dy) {
            ++end;
        }
        runs.build(clipped[k].dx, clipped[k].dy);
        addOrigins(coverage, runs, clipped.data() + k, clipped.data() + end);
        k = end;
    }
    return coverage.paint(target, color);
}

}  // namespace lumipad
