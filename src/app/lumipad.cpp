#include "app/lumipad.h"

#include <cstring>

#include "app/controls.h"
#include "app/pen_settings.h"
#include "drawing/strokes.h"
#include "files/load_save.h"

namespace lumipad {

namespace {

Raster whiteSurface(const PixelRect& control) {
    Raster surface(control.width, control.height);
    std::memset(surface.data(), 0xff, surface.byteSize());
    return surface;
}

}  // namespace

Lumipad::Lumipad(Ui& ui, const Layout& layout)
    : ui(ui),
      canvas(whiteSurface(layout.controls[kCanvas])),
      drawing(images, canvas, [&ui](const Rect& changed) { ui.showCanvas(changed); }),
      history(images, drawing, ui) {
    settings.swatchSize = layout.swatchSize;
}

void Lumipad::startUp() {
    settings.fileName.clear();
    settings.saveFormat = SaveFormat::Png;
    settings.filterIndex = 0;
    settings.gridStep = 1;
    settings.lineWidth = 4;
    showSettings(*this);
    setupInitialState();
}

void Lumipad::setupInitialState() {
    settings.fileName = "Lumipad.png";
    settings.saveFormat = SaveFormat::Png;
    settings.filterIndex = 0;

    const auto swatch = static_cast<int>(settings.swatchSize);
    const struct {
        ImageId id;
        int size;
        Color color;
    } initialImages[] = {
        {kPenSwatchImage, swatch, settings.penColor},
        {kBackgroundSwatchImage, swatch, settings.backgroundColor},
        {kStrokeSnapshot, kPictureSize, settings.backgroundColor},
    };
    for (const auto& image : initialImages) {
        images.create(image.id, image.size, image.size);
        if (!drawing.beginDrawing(Target::of(image.id))) continue;
        drawing.fillRect(0, 0, image.size, image.size, image.color);
        drawing.endDrawing();
    }
    if (drawing.beginDrawing(Target::canvas())) {
        drawing.fillRect(0, 0, kPictureSize, kPictureSize, settings.backgroundColor);
        drawing.endDrawing();
    }
    resetSettings(*this);
}

void Lumipad::dispatch(const ControlEvent& event) {
    switch (event.control) {
        case kCanvas:
            handleCanvasEvent(*this, event.canvas);
            break;
        case kPenSwatch:
            choosePenColor(*this);
            break;
        case kBackgroundSwatch:
            chooseBackgroundColor(*this);
            break;
        case kWidthSlider:
        case kGridSlider:
            readSliders(*this);
            break;
        case kBrushTool:
        case kLineTool:
        case kBoxTool:
        case kFrameTool:
        case kEllipseTool:
        case kFillTool:
            selectTool(event.control);
            break;
        case kClearButton:
            clearCanvas(*this);
            break;
        case kResetButton:
            resetSettings(*this);
            break;
        case kUndoButton:
            history.runHistoryCommand("UNDO");
            break;
        case kRedoButton:
            history.runHistoryCommand("REDO");
            break;
        case kLoadButton:
            loadPicture(*this);
            break;
        case kSaveButton:
            savePicture(*this);
            break;
        default:  // the labels and the undo counter do nothing
            break;
    }
}

void Lumipad::selectTool(std::int64_t id) {
    for (int k = kFirstTool; k <= kLastTool; ++k) ui.setToggleState(k, k == id);
    settings.currentTool = id;
}

void Lumipad::deselectTools() {
    for (int k = kFirstTool; k <= kLastTool; ++k) ui.setToggleState(k, false);
    settings.currentTool = 0;
}

}  // namespace lumipad
