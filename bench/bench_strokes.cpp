// Cost of one canvas event of each tool at its heaviest, beside copying one canvas's worth of
// memory (691,200 bytes) in the same run, and beside the thick line drawn line by line.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "app/controls.h"
#include "app/layout.h"
#include "app/lumipad.h"
#include "app/ui.h"
#include "canvas_memcpy.h"
#include "drawing/raster_ops.h"
#include "quiet_ui.h"

namespace lumipad {
namespace {

struct Point {
    std::int64_t x, y;
};

// n + 1 points from a to b, evenly spaced.
std::vector<Point> path(Point a, Point b, int n) {
    std::vector<Point> points;
    for (int k = 0; k <= n; ++k) {
        points.push_back({a.x + (b.x - a.x) * k / n, a.y + (b.y - a.y) * k / n});
    }
    return points;
}

CanvasEvent event(CanvasEventKind kind, Point p) { return {kind, p.x, p.y, kLeftButton, false}; }

// A started program with the tool chosen and a stroke pressed at `start`.
struct Stroke {
    QuietUi ui;
    Lumipad app{ui, computeLayout({96, 96})};

    Stroke(int tool, std::int64_t width, Point start) {
        app.startUp();
        app.selectTool(tool);
        app.settings.lineWidth = width;
        app.dispatch({kCanvas, event(CanvasEventKind::Press, start)});
    }
};

// Moves of one stroke, cycling through the points; the time is per move.
void runMoves(benchmark::State& state, int tool, std::int64_t width, Point start,
              const std::vector<Point>& moves) {
    Stroke stroke(tool, width, start);
    std::size_t k = 0;
    for (auto _ : state) {
        stroke.app.dispatch({kCanvas, event(CanvasEventKind::Move, moves[k])});
        k = (k + 1) % moves.size();
    }
    benchmark::DoNotOptimize(stroke.app.canvas.data());
}

void BM_Memcpy691200(benchmark::State& state) { measureCanvasMemcpy(state); }
BENCHMARK(BM_Memcpy691200);

void BM_LineW33Diagonal(benchmark::State& state) {
    runMoves(state, kLineTool, 33, {0, 0}, path({0, 0}, {479, 479}, 96));
}
BENCHMARK(BM_LineW33Diagonal);

void BM_LineW33Slanted(benchmark::State& state) {
    runMoves(state, kLineTool, 33, {0, 0}, path({0, 0}, {479, 331}, 96));
}
BENCHMARK(BM_LineW33Slanted);

// Only the moves whose lines are clipped at the far edges.
void BM_LineW33SlantedNearTheEdge(benchmark::State& state) {
    runMoves(state, kLineTool, 33, {0, 0}, path({447, 309}, {479, 331}, 8));
}
BENCHMARK(BM_LineW33SlantedNearTheEdge);

// Each move an ellipse of radius 480 around the centre, covering the whole canvas.
void BM_EllipseRadius480(benchmark::State& state) {
    runMoves(state, kEllipseTool, 33, {240, 240}, {{720, 720}, {720, 719}, {719, 720}});
}
BENCHMARK(BM_EllipseRadius480);

void BM_BoxWholeCanvas(benchmark::State& state) {
    runMoves(state, kBoxTool, 33, {0, 0}, {{480, 480}, {479, 480}});
}
BENCHMARK(BM_BoxWholeCanvas);

void BM_FrameWholeCanvas(benchmark::State& state) {
    runMoves(state, kFrameTool, 33, {0, 0}, {{480, 480}, {479, 479}});
}
BENCHMARK(BM_FrameWholeCanvas);

void BM_BrushW33(benchmark::State& state) {
    runMoves(state, kBrushTool, 33, {0, 0}, path({0, 0}, {479, 479}, 96));
}
BENCHMARK(BM_BrushW33);

// A Fill press (snapshot copy included), the pen colour alternating so that every press
// repaints the whole region.
void runFills(benchmark::State& state, const Raster& picture, Point at) {
    Stroke stroke(kFillTool, 1, at);
    stroke.app.canvas = picture;
    bool white = true;
    for (auto _ : state) {
        stroke.app.settings.penColor = white ? kWhite : kBlack;
        white = !white;
        stroke.app.dispatch({kCanvas, event(CanvasEventKind::Press, at)});
    }
    benchmark::DoNotOptimize(stroke.app.canvas.data());
}

void BM_FillWholeCanvas(benchmark::State& state) { runFills(state, Raster(480, 480), {240, 240}); }
BENCHMARK(BM_FillWholeCanvas);

// A one-pixel corridor through the whole canvas: walls in every odd column, each with a gap
// alternately at the bottom and the top.
Raster serpentine() {
    Raster r(480, 480);
    const Color wall = rgb(90, 90, 90);
    for (int x = 1; x < 480; x += 2) {
        const int gap = (x / 2) % 2 == 0 ? 479 : 0;
        for (int y = 0; y < 480; ++y) {
            if (y != gap) r.setPixel(x, y, wall);
        }
    }
    return r;
}

void BM_FillSerpentine(benchmark::State& state) { runFills(state, serpentine(), {0, 0}); }
BENCHMARK(BM_FillSerpentine);

// The thick line by definition, for comparison with the Line moves: the snapshot copied back
// and then 1089 one-pixel lines, along the same slanted stroke.
void BM_ReferenceLineW33Slanted(benchmark::State& state) {
    const Raster snapshot(480, 480);
    Raster canvas(480, 480);
    const std::vector<Point> moves = path({0, 0}, {479, 331}, 96);
    std::size_t k = 0;
    for (auto _ : state) {
        blitImage(canvas, snapshot, 0, 0);
        for (std::int64_t i = 0; i < 33; ++i) {
            for (std::int64_t j = 0; j < 33; ++j) {
                drawLine(canvas, i, j, moves[k].x + i, moves[k].y + j, kWhite);
            }
        }
        k = (k + 1) % moves.size();
    }
    benchmark::DoNotOptimize(canvas.data());
}
BENCHMARK(BM_ReferenceLineW33Slanted);

}  // namespace
}  // namespace lumipad
