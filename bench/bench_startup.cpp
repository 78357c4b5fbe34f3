// From process start to the first painted window on a private Xvfb: the program, and a bare Qt
// window with as many child widgets for comparison. The window counts as painted when the
// canvas's centre pixel shows black.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>

#include "e2e/x_session.h"

namespace lumipad {
namespace {

using Clock = std::chrono::steady_clock;

e2e::XServer& server() {
    static e2e::XServer x(1024, 768);
    return x;
}

// The first mapped top-level window with a title, polled closely.
Window waitForMapped(Display* display, Clock::time_point deadline) {
    while (Clock::now() < deadline) {
        Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (XQueryTree(display, root, &root, &parent, &children, &count) != 0) {
            for (unsigned i = 0; i < count && found == 0; ++i) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(display, children[i], &attributes) != 0 &&
                    attributes.map_state == IsViewable && attributes.width > 100) {
                    found = children[i];
                }
            }
            if (children != nullptr) XFree(children);
        }
        if (found != 0) return found;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return 0;
}

bool centreIsBlack(Display* display, Window window) {
    XImage* image = XGetImage(display, window, 4 + 240, 4 + 240, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const bool black = (XGetPixel(image, 0, 0) & 0xffffff) == 0;
    XDestroyImage(image);
    return black;
}

void startUp(benchmark::State& state, const char* binary) {
    e2e::XServer& x = server();
    if (!x.ok()) {
        state.SkipWithError("Xvfb could not be started");
        return;
    }
    for (auto _ : state) {
        const auto start = Clock::now();
        e2e::Program program(binary, {{"DISPLAY", x.name()}}, {"QT_QPA_PLATFORM"});
        const auto deadline = start + std::chrono::seconds(20);
        const Window window = waitForMapped(x.display(), deadline);
        bool painted = false;
        while (window != 0 && Clock::now() < deadline) {
            if ((painted = centreIsBlack(x.display(), window))) break;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!painted) {
            state.SkipWithError("no painted window appeared");
            return;
        }
        state.SetIterationTime(seconds);
        x.requestClose(window);
        program.waitExit(std::chrono::seconds(20));
    }
}

void BM_StartLumipad(benchmark::State& state) { startUp(state, LUMIPAD_BINARY); }
void BM_StartBareQtWindow(benchmark::State& state) { startUp(state, BARE_WINDOW_BINARY); }

BENCHMARK(BM_StartLumipad)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartBareQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace lumipad
