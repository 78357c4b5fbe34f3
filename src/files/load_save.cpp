#include "files/load_save.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <utility>
#include <vector>

#include "app/controls.h"
#include "app/lumipad.h"
#include "files/codecs.h"

namespace lumipad {

namespace {

constexpr const char* kDefaultFileName = "Lumipad.png";
constexpr int kSaveQuality = 10;

// What of a decoded picture reaches the canvas: its top-left part of at most 480 × 480 pixels,
// so that a canvas surface larger than the picture (a scaled window) keeps its other pixels.
struct CanvasPicture {
    Raster colours;
    // One opacity per pixel of `colours`, for icons only; empty means "copy the colours".
    std::vector<std::uint8_t> opacity;
};

bool isWellFormed(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return false;
    if (picture.channels != 3 && picture.channels != 4) return false;
    const auto expected = static_cast<std::size_t>(picture.width) *
                          static_cast<std::size_t>(picture.height) *
                          static_cast<std::size_t>(picture.channels);
    return picture.pixels.size() == expected;
}

std::optional<CanvasPicture> toCanvasPicture(const Picture& picture) {
    if (!isWellFormed(picture)) return std::nullopt;
    const int width = std::min(picture.width, kPictureSize);
    const int height = std::min(picture.height, kPictureSize);
    const bool blends = picture.isIcon && picture.channels == 4;
    CanvasPicture out{Raster(width, height), {}};
    if (blends) out.opacity.resize(static_cast<std::size_t>(width) * height);
    const auto sourceStride = static_cast<std::size_t>(picture.width) * picture.channels;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = picture.pixels.data() + y * sourceStride;
        std::uint8_t* to = out.colours.row(y);
        for (int x = 0; x < width; ++x, from += picture.channels, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            if (blends) out.opacity[static_cast<std::size_t>(y) * width + x] = from[3];
        }
    }
    return out;
}

// Icons are the one kind of picture drawn with their transparency: every channel becomes
// (target × (255 − a) + icon × a) / 255 in integers.
Rect blendOnto(Raster& target, const Raster& colours, std::span<const std::uint8_t> opacity) {
    const int width = std::min(target.width(), colours.width());
    const int height = std::min(target.height(), colours.height());
    if (width <= 0 || height <= 0) return {};
    for (int y = 0; y < height; ++y) {
        std::uint8_t* to = target.row(y);
        const std::uint8_t* from = colours.row(y);
        const std::uint8_t* alpha = opacity.data() + static_cast<std::size_t>(y) * colours.width();
        for (int x = 0; x < width; ++x) {
            const int a = alpha[x];
            for (int c = 0; c < 3; ++c, ++to, ++from) {
                *to = static_cast<std::uint8_t>((*to * (255 - a) + *from * a) / 255);
            }
        }
    }
    return {0, 0, width, height};
}

void drawLoadedPicture(Lumipad& app, const CanvasPicture& picture) {
    const Raster* scratch = app.images.get(kScratchImage);
    if (scratch == nullptr || !app.drawing.beginDrawing(Target::canvas())) return;
    app.drawing.fillRect(0, 0, kPictureSize, kPictureSize, app.settings.backgroundColor);
    if (picture.opacity.empty()) {
        app.drawing.blitImage(*scratch, 0, 0);
    } else {
        app.drawing.markChanged(blendOnto(*app.drawing.openRaster(), *scratch, picture.opacity));
    }
    app.drawing.endDrawing();
}

FileDialogRequest dialogRequest(const Lumipad& app, const char* title) {
    return {title, app.settings.fileName, std::string(kFileTypeFilter), app.settings.filterIndex};
}

// Whether a file or folder of that name is there; a dangling link counts, since writing
// through it would create a file elsewhere.
bool entryExists(const std::string& name) {
    std::error_code error;
    const std::filesystem::file_type type = std::filesystem::symlink_status(name, error).type();
    return type != std::filesystem::file_type::not_found &&
           type != std::filesystem::file_type::none;
}

// Copies canvas pixels (0, 0) to (479, 479) into the scratch image; false if it cannot be made.
bool copyCanvasToScratch(Lumipad& app) {
    if (!app.images.create(kScratchImage, kPictureSize, kPictureSize)) return false;
    if (!app.drawing.beginDrawing(Target::of(kScratchImage))) return false;
    app.drawing.blitImage(app.drawing.canvasImage(), 0, 0);
    app.drawing.endDrawing();
    return true;
}

}  // namespace

void loadPicture(Lumipad& app) {
    applyDefaultFileName(app);
    app.settings.fileName = app.ui.openFileDialog(dialogRequest(app, "Load Image..."));
    if (app.settings.fileName.empty()) return;

    std::optional<CanvasPicture> picture;
    if (const std::optional<Picture> decoded = loadImage(app.settings.fileName)) {
        picture = toCanvasPicture(*decoded);
    }
    if (!picture) {
        app.ui.showMessage("Cannot load image: " + app.settings.fileName);
        return;
    }
    app.images.adopt(kScratchImage, std::move(picture->colours));
    drawLoadedPicture(app, *picture);
    app.images.free(kScratchImage);

    app.deselectTools();
    formatFromExtension(app);
    app.history.runHistoryCommand("RESET");
    app.history.runHistoryCommand("SET0");
}

void savePicture(Lumipad& app) {
    applyDefaultFileName(app);
    std::string& name = app.settings.fileName;
    name = app.ui.saveFileDialog(dialogRequest(app, "Save Image..."));
    if (name.empty()) return;
    if (extensionOf(name).empty()) name += ".png";
    if (entryExists(name) && !app.ui.askYesNo("Overwrite this file? " + name)) return;

    if (copyCanvasToScratch(app)) {
        formatFromExtension(app);
        if (!saveImage(*app.images.get(kScratchImage), name, app.settings.saveFormat,
                       kSaveQuality)) {
            app.ui.showMessage("Cannot save image: " + name);
        }
    }
    app.images.free(kScratchImage);
}

void formatFromExtension(Lumipad& app) {
    std::string extension = extensionOf(app.settings.fileName);
    // Letters outside ASCII cannot turn any extension into JPG, JPEG or BMP, so ASCII
    // upper-casing decides exactly as full upper-casing would.
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    if (extension == "JPG" || extension == "JPEG") {
        app.settings.saveFormat = SaveFormat::Jpeg;
        app.settings.filterIndex = 1;
    } else if (extension == "BMP") {
        app.settings.saveFormat = SaveFormat::Bmp;
        app.settings.filterIndex = 2;
    } else {
        app.settings.saveFormat = SaveFormat::Png;
        app.settings.filterIndex = 0;
    }
}

void applyDefaultFileName(Lumipad& app) {
    if (!app.settings.fileName.empty()) return;
    app.settings.fileName = kDefaultFileName;
    app.settings.saveFormat = SaveFormat::Png;
    app.settings.filterIndex = 0;
}

std::string extensionOf(std::string_view name) {
    for (std::size_t i = name.size(); i-- > 0;) {
        const char c = name[i];
        if (c == ' ' || c == '/' || c == '\\') return {};
        if (c != '.') continue;
        // A leading dot names a hidden file, not an extension.
        if (i == 0 || name[i - 1] == '/' || name[i - 1] == '\\') return {};
        const std::string_view extension = name.substr(i + 1);
        return std::string(extension.substr(0, extension.find('"')));
    }
    return {};
}

}  // namespace lumipad
