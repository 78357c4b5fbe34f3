// What the window system reports to the program.
#pragma once

#include <cstdint>

namespace lumipad {

enum class CanvasEventKind { Press, Move, Release, Other };

enum MouseButton : unsigned { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

struct CanvasEvent {
    CanvasEventKind kind = CanvasEventKind::Other;
    std::int64_t x = 0;
    std::int64_t y = 0;
    unsigned buttons = 0;  // MouseButton bits held when the event arose
    bool ctrl = false;     // either Ctrl key held
};

// A user action on one of the twenty controls; `canvas` is meaningful for control 0 only.
struct ControlEvent {
    int control = 0;
    CanvasEvent canvas;
};

}  // namespace lumipad
