#include "app/pen_settings.h"

#include <string>

#include "app/controls.h"
#include "app/lumipad.h"

namespace lumipad {

namespace {

void chooseColor(Lumipad& app, Color& setting) {
    if (const auto chosen = app.ui.chooseColor(setting)) setting = *chosen & 0xffffff;
}

void repaintSwatch(Lumipad& app, ImageId image, Color color, int button) {
    if (!app.drawing.beginDrawing(Target::of(image))) return;
    app.drawing.fillRect(0, 0, app.settings.swatchSize, app.settings.swatchSize, color);
    app.drawing.endDrawing();
    app.ui.setButtonImage(button, *app.images.get(image));
}

}  // namespace

std::int64_t gridStepForPosition(int position) {
    if (position <= 0) return 1;
    if (position <= 28) return 2 * position;
    switch (position) {
        case 29:
            return 60;
        case 30:
            return 64;
        case 31:
            return 80;
        default:
            return 96;
    }
}

int positionForGridStep(std::int64_t step) {
    for (int p = kGridSliderMin; p <= kGridSliderMax; ++p) {
        if (gridStepForPosition(p) == step) return p;
    }
    return 0;
}

void choosePenColor(Lumipad& app) {
    chooseColor(app, app.settings.penColor);
    repaintPenSwatch(app);
}

void chooseBackgroundColor(Lumipad& app) {
    chooseColor(app, app.settings.backgroundColor);
    repaintBackgroundSwatch(app);
}

void repaintPenSwatch(Lumipad& app) {
    repaintSwatch(app, kPenSwatchImage, app.settings.penColor, kPenSwatch);
}

void repaintBackgroundSwatch(Lumipad& app) {
    repaintSwatch(app, kBackgroundSwatchImage, app.settings.backgroundColor, kBackgroundSwatch);
}

void readSliders(Lumipad& app) {
    app.settings.lineWidth = app.ui.sliderPosition(kWidthSlider);
    app.ui.setText(kWidthLabel, std::to_string(app.settings.lineWidth));
    app.settings.gridStep = gridStepForPosition(app.ui.sliderPosition(kGridSlider));
    app.ui.setText(kGridLabel, std::to_string(app.settings.gridStep));
}

void showSettings(Lumipad& app) {
    app.ui.setText(kWidthLabel, std::to_string(app.settings.lineWidth));
    app.ui.setSliderPosition(kWidthSlider, static_cast<int>(app.settings.lineWidth));
    app.ui.setText(kGridLabel, std::to_string(app.settings.gridStep));
    app.ui.setSliderPosition(kGridSlider, positionForGridStep(app.settings.gridStep));
}

void clearCanvas(Lumipad& app) {
    if (app.drawing.beginDrawing(Target::canvas())) {
        app.drawing.fillRect(0, 0, kPictureSize, kPictureSize, app.settings.backgroundColor);
        app.drawing.endDrawing();
    }
    app.history.runHistoryCommand("RESET");
    app.history.runHistoryCommand("SET0");
}

void resetSettings(Lumipad& app) {
    app.settings.penColor = kWhite;
    app.settings.backgroundColor = kBlack;
    // The Brush becomes the tool without touching the tool buttons' look.
    app.settings.currentTool = kBrushTool;
    repaintPenSwatch(app);
    repaintBackgroundSwatch(app);
    clearCanvas(app);
}

}  // namespace lumipad
