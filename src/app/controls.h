// The twenty controls of the main window, addressed by their fixed numbers.
#pragma once

#include <array>
#include <cstdint>

namespace lumipad {

enum Control : int {
    kCanvas = 0,
    kPenSwatch = 1,
    kBackgroundSwatch = 2,
    kWidthLabel = 3,
    kWidthSlider = 4,
    kGridLabel = 5,
    kGridSlider = 6,
    kBrushTool = 7,
    kLineTool = 8,
    kBoxTool = 9,
    kFrameTool = 10,
    kEllipseTool = 11,
    kFillTool = 12,
    kClearButton = 13,
    kResetButton = 14,
    kUndoButton = 15,
    kUndoCounter = 16,
    kRedoButton = 17,
    kLoadButton = 18,
    kSaveButton = 19,
};

constexpr int kControlCount = 20;
constexpr int kFirstTool = kBrushTool;
constexpr int kLastTool = kFillTool;

constexpr bool isToolButton(std::int64_t control) {
    return control >= kFirstTool && control <= kLastTool;
}

enum class ControlKind { Canvas, ImageButton, Label, TrackBar, ToggleButton, PushButton };

// Geometry in layout units of 1/96 inch, relative to the window's inner area.
struct ControlSpec {
    Control number;
    ControlKind kind;
    const char* name;
    int x, y, width, height;
    const char* caption;  // nullptr: none
    const char* tooltip;  // nullptr: none
};

// The right-hand column starts at x 490 and is 110 wide; button rows follow every 30 units
// from y 114; Load is set off from the row above by a further 10.
inline constexpr std::array<ControlSpec, kControlCount> kControls = {{
    {kCanvas, ControlKind::Canvas, "canvas", 4, 4, 480, 480, nullptr, nullptr},
    {kPenSwatch, ControlKind::ImageButton, "penSwatch", 490, 4, 42, 42, nullptr, nullptr},
    {kBackgroundSwatch, ControlKind::ImageButton, "backgroundSwatch", 548, 4, 42, 42, nullptr,
     nullptr},
    {kWidthLabel, ControlKind::Label, "widthLabel", 487, 52, 16, 24, "1", nullptr},
    {kWidthSlider, ControlKind::TrackBar, "widthSlider", 503, 50, 104, 30, nullptr,
     "Width of the lines etc."},
    {kGridLabel, ControlKind::Label, "gridLabel", 487, 84, 16, 24, "1", nullptr},
    {kGridSlider, ControlKind::TrackBar, "gridSlider", 503, 82, 104, 30, nullptr,
     "Pixelraster of the drawing"},
    {kBrushTool, ControlKind::ToggleButton, "brushTool", 490, 114, 110, 26, "Brush", nullptr},
    {kLineTool, ControlKind::ToggleButton, "lineTool", 490, 144, 110, 26, "Line", nullptr},
    {kBoxTool, ControlKind::ToggleButton, "boxTool", 490, 174, 110, 26, "Box",
     "press Ctrl (Strg) to draw a Square"},
    {kFrameTool, ControlKind::ToggleButton, "frameTool", 490, 204, 110, 26, "Frame",
     "press Ctrl (Strg) to draw a squared Frame"},
    {kEllipseTool, ControlKind::ToggleButton, "ellipseTool", 490, 234, 110, 26, "Ellipse",
     "press Ctrl (Strg) to draw a Circle"},
    {kFillTool, ControlKind::ToggleButton, "fillTool", 490, 264, 110, 26, "Fill", nullptr},
    {kClearButton, ControlKind::PushButton, "clearButton", 490, 294, 110, 26, "Clear",
     "Clear the Canvas to Backgroundcolor"},
    {kResetButton, ControlKind::PushButton, "resetButton", 490, 324, 110, 26, "Reset",
     "Reset Colors and clear the Canvas"},
    {kUndoButton, ControlKind::PushButton, "undoButton", 490, 354, 44, 26, "Undo",
     "Undo what was painted"},
    {kUndoCounter, ControlKind::PushButton, "undoCounter", 534, 354, 22, 26, "0",
     "Number of possible Undos"},
    {kRedoButton, ControlKind::PushButton, "redoButton", 556, 354, 44, 26, "Redo",
     "Redo the Undos"},
    {kLoadButton, ControlKind::PushButton, "loadButton", 490, 394, 110, 26, "Load",
     "Load image (format PNG, JPG or BMP)"},
    {kSaveButton, ControlKind::PushButton, "saveButton", 490, 424, 110, 26, "Save",
     "Save image (format PNG, JPG or BMP)"},
}};

constexpr int kWidthSliderMin = 1;
constexpr int kWidthSliderMax = 33;
constexpr int kGridSliderMin = 0;
constexpr int kGridSliderMax = 32;

// Inner area of the main window in layout units.
constexpr int kWindowInnerWidth = 608;
constexpr int kWindowInnerHeight = 488;
constexpr int kSwatchUnits = 26;
// The picture is never scaled.
constexpr int kPictureSize = 480;

}  // namespace lumipad
