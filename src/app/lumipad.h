// The program core: the shared state, start-up and the dispatch of control events. It knows no
// toolkit; everything it asks of the window system goes through Ui.
#pragma once

#include <cstdint>

#include "app/events.h"
#include "app/layout.h"
#include "app/settings.h"
#include "app/ui.h"
#include "drawing/drawing.h"
#include "drawing/image_store.h"
#include "drawing/raster.h"
#include "history/history.h"

namespace lumipad {

class Lumipad {
  public:
    // The window and its controls exist already; `layout` is what they were built with.
    Lumipad(Ui& ui, const Layout& layout);
    Lumipad(const Lumipad&) = delete;
    Lumipad& operator=(const Lumipad&) = delete;

    // Defaults, the settings shown on the sliders, and the first picture and history state.
    void startUp();
    void setupInitialState();

    // Hands one user action to the part of the program that owns it.
    void dispatch(const ControlEvent& event);

    // Presses tool button `id` (7 to 12), releases the other five, makes it the current tool.
    void selectTool(std::int64_t id);
    // Releases all tool buttons; with no tool the canvas ignores strokes.
    void deselectTools();

    Ui& ui;
    Settings settings;
    ImageStore images;
    // What the canvas control shows, one to one: as large as the control, white at first.
    Raster canvas;
    Drawing drawing;
    History history;
};

}  // namespace lumipad
