// What the user feels: from the delivery of a canvas event to the real main window until its
// pixels have reached the X server, for each tool at its heaviest, on a private Xvfb. Also the
// resident memory that a full history adds.
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "app/controls.h"
#include "app/lumipad.h"
#include "app/qt/canvas_widget.h"
#include "app/qt/main_window.h"
#include "canvas_memcpy.h"
#include "e2e/x_session.h"

namespace lumipad {
namespace {

using Clock = std::chrono::steady_clock;

xcb_connection_t* xcb() {
    return qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// Returns once the X server has handled every request sent so far.
void roundTrip() {
    xcb_connection_t* c = xcb();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

struct Point {
    int x, y;
};

void send(QWidget* canvas, QEvent::Type type, Point p, Qt::MouseButtons held) {
    const QPointF local(p.x + 0.5, p.y + 0.5);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, canvas->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
}

double percentile(std::vector<double> samples, double p) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(samples.size() - 1));
    return samples[index];
}

void report(benchmark::State& state, const std::vector<double>& micros) {
    state.counters["median_us"] = percentile(micros, 0.5);
    state.counters["p99_us"] = percentile(micros, 0.99);
}

// One window for all latency runs; destroyed in main() while the application still exists.
std::unique_ptr<MainWindow> sharedWindow;

MainWindow& window() {
    std::unique_ptr<MainWindow>& w = sharedWindow;
    if (!w) {
        w = std::make_unique<MainWindow>(ScreenDpi{96, 96});
        w->showCentred();
        (void)QTest::qWaitForWindowExposed(w.get());
    }
    return *w;
}

// One press, then a move to each point in turn (round and round), each move timed.
void strokeLatency(benchmark::State& state, int tool, int width, Point press,
                   std::vector<Point> moves) {
    MainWindow& w = window();
    w.core().dispatch({kClearButton, {}});
    w.core().selectTool(tool);
    w.core().settings.lineWidth = width;
    QWidget* canvas = w.canvas();
    send(canvas, QEvent::MouseButtonPress, press, Qt::LeftButton);
    roundTrip();
    std::vector<double> micros;
    std::size_t next = 0;
    for (auto _ : state) {
        const Point p = moves[next++ % moves.size()];
        const auto start = Clock::now();
        send(canvas, QEvent::MouseMove, p, Qt::LeftButton);
        roundTrip();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
    }
    send(canvas, QEvent::MouseButtonRelease, moves.front(), Qt::NoButton);
    report(state, micros);
}

std::vector<Point> between(Point a, Point b, int steps) {
    std::vector<Point> points;
    for (int k = 0; k <= steps; ++k) {
        points.push_back({a.x + (b.x - a.x) * k / steps, a.y + (b.y - a.y) * k / steps});
    }
    for (int k = steps - 1; k > 0; --k) points.push_back(points[static_cast<std::size_t>(k)]);
    return points;
}

void BM_LineWidth33Slanted(benchmark::State& state) {
    strokeLatency(state, kLineTool, 33, {0, 0}, between({479, 331}, {300, 479}, 60));
}
void BM_EllipseRadius480(benchmark::State& state) {
    strokeLatency(state, kEllipseTool, 4, {0, 0}, between({479, 479}, {479, 300}, 60));
}
void BM_BoxWholeCanvas(benchmark::State& state) {
    strokeLatency(state, kBoxTool, 4, {0, 0}, between({479, 479}, {400, 479}, 60));
}
void BM_BrushWidth33(benchmark::State& state) {
    strokeLatency(state, kBrushTool, 33, {0, 0}, between({0, 0}, {479, 479}, 240));
}

// Fill of the whole canvas at each press, in two colours by turns so every press repaints it.
void BM_FillWholeCanvas(benchmark::State& state) {
    MainWindow& w = window();
    w.core().dispatch({kClearButton, {}});
    w.core().selectTool(kFillTool);
    QWidget* canvas = w.canvas();
    std::vector<double> micros;
    bool white = false;
    for (auto _ : state) {
        white = !white;
        w.core().settings.penColor = white ? kWhite : rgb(200, 30, 30);
        const auto start = Clock::now();
        send(canvas, QEvent::MouseButtonPress, {240, 240}, Qt::LeftButton);
        roundTrip();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
        state.PauseTiming();
        send(canvas, QEvent::MouseButtonRelease, {240, 240}, Qt::NoButton);
        state.ResumeTiming();
    }
    report(state, micros);
}

// The floor: a plain widget that paints a ready 480 × 480 screen-format image, whole.
class BareCanvas : public QWidget {
  public:
    BareCanvas() : image_(480, 480, QImage::Format_RGB32) {
        image_.fill(Qt::black);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(480, 480);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter(this).drawImage(event->rect().topLeft(), image_, event->rect());
    }

  private:
    QImage image_;
};

void BM_FloorRepaintWholeCanvas(benchmark::State& state) {
    BareCanvas bare;
    bare.show();
    (void)QTest::qWaitForWindowExposed(&bare);
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = Clock::now();
        bare.repaint();
        roundTrip();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
    }
    report(state, micros);
}

void BM_FloorCanvasMemcpy(benchmark::State& state) { measureCanvasMemcpy(state); }

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// Resident memory that 100 history states add to the started window: strokes of the Box.
void BM_FullHistoryMemory(benchmark::State& state) {
    for (auto _ : state) {
        MainWindow w(ScreenDpi{96, 96});
        w.showCentred();
        (void)QTest::qWaitForWindowExposed(&w);
        const long before = residentKiB();
        w.core().selectTool(kBoxTool);
        for (int i = 0; i < 120; ++i) {
            send(w.canvas(), QEvent::MouseButtonPress, {i, i}, Qt::LeftButton);
            send(w.canvas(), QEvent::MouseMove, {i + 100, i + 50}, Qt::LeftButton);
            send(w.canvas(), QEvent::MouseButtonRelease, {i + 100, i + 50}, Qt::NoButton);
        }
        roundTrip();
        state.counters["history_states"] = static_cast<double>(w.core().history.index() + 1);
        state.counters["rss_growth_MB"] = static_cast<double>(residentKiB() - before) / 1000.0;
    }
}

}  // namespace
}  // namespace lumipad

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    lumipad::e2e::XServer x(1024, 768);
    if (!x.ok()) {
        std::fprintf(stderr, "bench_latency: Xvfb could not be started\n");
        return 1;
    }
    setenv("DISPLAY", x.name().c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);

    using namespace lumipad;
    for (auto [name, fn] : {std::pair{"LineWidth33Slanted", &BM_LineWidth33Slanted},
                            {"EllipseRadius480", &BM_EllipseRadius480},
                            {"BoxWholeCanvas", &BM_BoxWholeCanvas},
                            {"BrushWidth33", &BM_BrushWidth33},
                            {"FillWholeCanvas", &BM_FillWholeCanvas},
                            {"FloorRepaintWholeCanvas", &BM_FloorRepaintWholeCanvas}}) {
        benchmark::RegisterBenchmark(name, fn)->UseManualTime()->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("FloorCanvasMemcpy", BM_FloorCanvasMemcpy);
    benchmark::RegisterBenchmark("FullHistoryMemory", BM_FullHistoryMemory)->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedWindow.reset();
    return 0;
}
