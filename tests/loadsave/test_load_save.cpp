// The Load and Save buttons with scripted dialogs and real files in a temporary folder: the
// remembered name, format and filter entry, the written files, the overwrite question, the
// messages, and the canvas and history after a load.
#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/layout.h"
#include "app/lumipad.h"
#include "fake_ui.h"
#include "files/codecs.h"
#include "files/load_save.h"
#include "loadsave/bmp_bytes.h"
#include "temp_dir.h"

namespace lumipad {
namespace {

namespace fs = std::filesystem;
using test::bmpBytes;
using test::FakeUi;
using test::PixelAt;
using test::putLe;
using test::readBmp24;
using test::readBytes;
using test::TempDir;
using test::writeBmp;
using test::writeBytes;

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kGreen = rgb(0, 255, 0);
constexpr Color kBlue = rgb(0, 0, 255);

// A started program with a scripted Ui, and a folder of its own for files.
struct Session {
    explicit Session(double dpi = 96) : app(ui, computeLayout({dpi, dpi})) { app.startUp(); }

    void load(const std::string& answer) {
        ui.openAnswers.push_back(answer);
        app.dispatch({kLoadButton, {}});
    }
    void save(const std::string& answer, std::optional<bool> overwrite = std::nullopt) {
        ui.saveAnswers.push_back(answer);
        if (overwrite) ui.yesNoAnswers.push_back(*overwrite);
        app.dispatch({kSaveButton, {}});
    }
    std::string at(const std::string& name) const { return dir / name; }
    void paint(const PixelAt& pixel) {
        for (int y = 0; y < kPictureSize; ++y) {
            for (int x = 0; x < kPictureSize; ++x) app.canvas.setPixel(x, y, pixel(x, y));
        }
    }
    bool scratchFreed() const { return !app.images.exists(kScratchImage); }

    TempDir dir;
    FakeUi ui;
    Lumipad app;
};

// A colourful canvas whose every pixel differs from its neighbours.
Color pattern(int x, int y) { return rgb(x % 256, y % 256, (x * 7 + y * 3) % 256); }

// The first pixel of `raster` in the top-left `size` square that is not `expected`, as text;
// empty when all match.
std::string mismatch(const Raster& raster, const PixelAt& expected, int size = kPictureSize) {
    if (raster.width() < size || raster.height() < size) return "raster too small";
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (raster.pixel(x, y) != expected(x, y)) {
                char text[96];
                std::snprintf(text, sizeof text, "(%d, %d) is %06x, expected %06x", x, y,
                              raster.pixel(x, y), expected(x, y));
                return text;
            }
        }
    }
    return {};
}

enum class FileKind { Missing, Folder, Empty, Png, Jpeg, Bmp, Other };

std::ostream& operator<<(std::ostream& out, FileKind kind) {
    const char* names[] = {"missing", "folder", "empty", "PNG", "JPEG", "BMP", "other"};
    return out << names[static_cast<int>(kind)];
}

FileKind kindOf(const std::string& path) {
    if (fs::is_directory(path)) return FileKind::Folder;
    if (!fs::exists(path)) return FileKind::Missing;
    const std::vector<std::uint8_t> b = readBytes(path);
    if (b.empty()) return FileKind::Empty;
    if (b.size() >= 8 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') {
        return FileKind::Png;
    }
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return FileKind::Jpeg;
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return FileKind::Bmp;
    return FileKind::Other;
}

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// An RGBA PNG, top row first, four bytes a pixel.
void writeRgbaPng(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr), 0);
}

// An icon file with one 32-bit entry carrying its own alpha; pixels top row first.
struct IconPixel {
    Color color;
    std::uint8_t alpha;
};
std::vector<std::uint8_t> iconBytes(int width, int height, const std::vector<IconPixel>& pixels) {
    const std::uint32_t maskRow = (static_cast<std::uint32_t>(width) + 31) / 32 * 4;
    const std::uint32_t dibSize = 40 + static_cast<std::uint32_t>(width * height) * 4 +
                                  maskRow * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    putLe(out, 0, 2);
    putLe(out, 1, 2);
    putLe(out, 1, 2);
    out.push_back(static_cast<std::uint8_t>(width));
    out.push_back(static_cast<std::uint8_t>(height));
    out.push_back(0);
    out.push_back(0);
    putLe(out, 1, 2);
    putLe(out, 32, 2);
    putLe(out, dibSize, 4);
    putLe(out, 22, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<std::uint32_t>(width), 4);
    putLe(out, static_cast<std::uint32_t>(height * 2), 4);  // colour rows and mask rows
    putLe(out, 1, 2);
    putLe(out, 32, 2);
    for (int i = 0; i < 6; ++i) putLe(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const IconPixel& p = pixels[static_cast<std::size_t>(y * width + x)];
            out.push_back(static_cast<std::uint8_t>(blue(p.color)));
            out.push_back(static_cast<std::uint8_t>(green(p.color)));
            out.push_back(static_cast<std::uint8_t>(red(p.color)));
            out.push_back(p.alpha);
        }
    }
    out.insert(out.end(), maskRow * static_cast<std::uint32_t>(height), 0);
    return out;
}

TEST(LoadSave, TheExtensionOfTheNameDecidesFormatAndFilterEntry) {
    const struct {
        const char* name;
        const char* extension;
        SaveFormat format;
        std::int64_t filterIndex;
    } cases[] = {
        {"sketch.PNG", "PNG", SaveFormat::Png, 0},
        {"my picture.jpeg", "jpeg", SaveFormat::Jpeg, 1},
        {"/home/u/photo.JPG", "JPG", SaveFormat::Jpeg, 1},
        {"photo.Jpeg", "Jpeg", SaveFormat::Jpeg, 1},
        {"scan.bmp", "bmp", SaveFormat::Bmp, 2},
        {"sketch", "", SaveFormat::Png, 0},
        {"sketch.", "", SaveFormat::Png, 0},
        {"archive.tar gz", "", SaveFormat::Png, 0},
        {"archive.tar.gz", "gz", SaveFormat::Png, 0},
        {"photos.old/sketch", "", SaveFormat::Png, 0},
        {"photos.old\\sketch", "", SaveFormat::Png, 0},
        {".jpg", "", SaveFormat::Png, 0},
        {"pics/.jpg", "", SaveFormat::Png, 0},
        {"pics\\.bmp", "", SaveFormat::Png, 0},
        {"a..bmp", "bmp", SaveFormat::Bmp, 2},
        {"\"quoted.jpg\"", "jpg", SaveFormat::Jpeg, 1},
        {"odd.bm\"p", "bm", SaveFormat::Png, 0},
        {"x.jpe", "jpe", SaveFormat::Png, 0},
        {"x.jfif", "jfif", SaveFormat::Png, 0},
        {"x.GIF", "GIF", SaveFormat::Png, 0},
        {"", "", SaveFormat::Png, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(extensionOf(c.name), c.extension);
        Session s;
        s.app.settings.saveFormat = SaveFormat::Bmp;  // overwritten whatever the name
        s.app.settings.filterIndex = 2;
        s.app.settings.fileName = c.name;
        formatFromExtension(s.app);
        EXPECT_EQ(s.app.settings.saveFormat, c.format);
        EXPECT_EQ(s.app.settings.filterIndex, c.filterIndex);
    }
}

TEST(LoadSave, NameFormatAndFilterEntryFollowEveryDialog) {
    Session s;
    writeBmp(s.at("tiles.bmp"), 4, 4, pattern);
    writeText(s.at("notes.png"), "not a picture");
    writeText(s.at("shot.bmp"), "");

    enum class Act { Load, Save, SaveWithoutScratch };
    const struct {
        const char* what;
        Act act;
        std::string answer;
        std::optional<bool> overwrite;  // the answer to the question, when one is expected
        std::string proposed;           // the initial name the dialog got
        std::int64_t proposedFilter;
        std::string fileName;
        SaveFormat format;
        std::int64_t filterIndex;
        std::string message;  // empty: none
    } steps[] = {
        {"load cancelled", Act::Load, "", {}, "Lumipad.png", 0, "", SaveFormat::Png, 0, ""},
        {"save after a cancel",
         Act::Save,
         s.at("photo.jpg"),
         {},
         "Lumipad.png",
         0,
         s.at("photo.jpg"),
         SaveFormat::Jpeg,
         1,
         ""},
        {"load of a file that is not a picture",
         Act::Load,
         s.at("notes.png"),
         {},
         s.at("photo.jpg"),
         1,
         s.at("notes.png"),
         SaveFormat::Jpeg,
         1,
         "Cannot load image: " + s.at("notes.png")},
        {"save stopped by No", Act::Save, s.at("shot.bmp"), false, s.at("notes.png"), 1,
         s.at("shot.bmp"), SaveFormat::Jpeg, 1, ""},
        {"load",
         Act::Load,
         s.at("tiles.bmp"),
         {},
         s.at("shot.bmp"),
         1,
         s.at("tiles.bmp"),
         SaveFormat::Bmp,
         2,
         ""},
        {"save without a scratch image",
         Act::SaveWithoutScratch,
         s.at("later.png"),
         {},
         s.at("tiles.bmp"),
         2,
         s.at("later.png"),
         SaveFormat::Bmp,
         2,
         ""},
        {"write failed",
         Act::Save,
         s.at("gone/x.jpeg"),
         {},
         s.at("later.png"),
         2,
         s.at("gone/x.jpeg"),
         SaveFormat::Jpeg,
         1,
         "Cannot save image: " + s.at("gone/x.jpeg")},
        {"save cancelled", Act::Save, "", {}, s.at("gone/x.jpeg"), 1, "", SaveFormat::Jpeg, 1, ""},
        {"save written",
         Act::Save,
         s.at("again"),
         {},
         "Lumipad.png",
         0,
         s.at("again.png"),
         SaveFormat::Png,
         0,
         ""},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        const std::size_t messages = s.ui.messages.size();
        const std::size_t questions = s.ui.questions.size();
        if (step.act == Act::Load) {
            s.load(step.answer);
        } else {
            if (step.act == Act::SaveWithoutScratch)
                s.app.images.setCreateGate([](int, int) { return false; });
            s.save(step.answer, step.overwrite);
            s.app.images.setCreateGate(nullptr);
        }
        const FileDialogRequest& request =
            step.act == Act::Load ? s.ui.openRequests.back() : s.ui.saveRequests.back();
        EXPECT_EQ(request.title, step.act == Act::Load ? "Load Image..." : "Save Image...");
        EXPECT_EQ(request.initialName, step.proposed);
        EXPECT_EQ(request.filter, kFileTypeFilter);
        EXPECT_EQ(request.filterIndex, step.proposedFilter);

        EXPECT_EQ(s.app.settings.fileName, step.fileName);
        EXPECT_EQ(s.app.settings.saveFormat, step.format);
        EXPECT_EQ(s.app.settings.filterIndex, step.filterIndex);
        EXPECT_EQ(s.ui.questions.size(), questions + (step.overwrite ? 1 : 0));
        ASSERT_EQ(s.ui.messages.size(), messages + (step.message.empty() ? 0 : 1));
        if (!step.message.empty()) {
            EXPECT_EQ(s.ui.messages.back(), step.message);
        }
        EXPECT_TRUE(s.scratchFreed());
    }
    EXPECT_EQ(kindOf(s.at("shot.bmp")), FileKind::Empty);
    EXPECT_EQ(kindOf(s.at("later.png")), FileKind::Missing);
    EXPECT_EQ(kindOf(s.at("gone")), FileKind::Missing);
    EXPECT_EQ(kindOf(s.at("again.png")), FileKind::Png);
}

TEST(LoadSave, TheWrittenFormatFollowsTheTypedNameNotTheFilterEntry) {
    const struct {
        const char* typed;
        const char* preselectedBy;  // a name whose extension preselects the filter entry
        std::int64_t preselected;
        const char* written;
        FileKind kind;
        std::int64_t nextFilter;
    } cases[] = {
        {"sketch", "Lumipad.png", 0, "sketch.png", FileKind::Png, 0},
        {"sketch.gif", "Lumipad.png", 0, "sketch.gif", FileKind::Png, 0},
        {"sketch.JPEG", "Lumipad.png", 0, "sketch.JPEG", FileKind::Jpeg, 1},
        {"sketch", "old.bmp", 2, "sketch.png", FileKind::Png, 0},
        {"sketch.", "Lumipad.png", 0, "sketch..png", FileKind::Png, 0},
        {"sketch.bmp", "old.jpg", 1, "sketch.bmp", FileKind::Bmp, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Session s;
        s.paint(pattern);
        s.app.settings.fileName = s.at(c.preselectedBy);
        formatFromExtension(s.app);
        s.save(s.at(c.typed));

        EXPECT_EQ(s.ui.saveRequests.back().filterIndex, c.preselected);
        EXPECT_TRUE(s.ui.questions.empty());
        EXPECT_TRUE(s.ui.messages.empty());
        EXPECT_EQ(s.app.settings.fileName, s.at(c.written));
        EXPECT_EQ(s.app.settings.filterIndex, c.nextFilter);
        EXPECT_EQ(kindOf(s.at(c.written)), c.kind);
        // Nothing but the one file.
        EXPECT_EQ(std::distance(fs::directory_iterator(s.dir.path()), fs::directory_iterator()), 1);
        EXPECT_TRUE(s.scratchFreed());

        // The file holds the canvas (JPEG is lossy; its own tests live with the codecs).
        if (c.kind == FileKind::Bmp) {
            const std::vector<std::uint8_t> bytes = readBytes(s.at(c.written));
            EXPECT_EQ(bytes.size(), 691254u);
            const std::optional<Raster> saved = readBmp24(bytes);
            ASSERT_TRUE(saved.has_value());
            EXPECT_EQ(saved->width(), kPictureSize);
            EXPECT_EQ(saved->height(), kPictureSize);
            EXPECT_EQ(mismatch(*saved, pattern), "");
        } else if (c.kind == FileKind::Png) {
            const std::optional<Picture> saved = loadImage(s.at(c.written));
            ASSERT_TRUE(saved.has_value());
            ASSERT_EQ(saved->width, kPictureSize);
            ASSERT_EQ(saved->height, kPictureSize);
            ASSERT_EQ(saved->channels, 3);
            Raster pixels(kPictureSize, kPictureSize);
            for (int y = 0; y < kPictureSize; ++y) {
                for (int x = 0; x < kPictureSize; ++x) {
                    const std::uint8_t* p = &saved->pixels[(y * kPictureSize + x) * 3u];
                    pixels.setPixel(x, y, rgb(p[0], p[1], p[2]));
                }
            }
            EXPECT_EQ(mismatch(pixels, pattern), "");
        }
    }
}

TEST(LoadSave, AnExistingEntryIsOverwrittenOnlyAfterYes) {
    enum class Entry { EmptyFile, Folder, DanglingLink, None };
    const struct {
        const char* what;
        Entry entry;
        const char* entryName;
        const char* typed;
        std::optional<bool> answer;  // nullopt: no question expected
        const char* asked;           // the name the question and the message give
        bool failureMessage;
        FileKind after;  // of `asked`
    } cases[] = {
        {"empty file, No", Entry::EmptyFile, "empty.bmp", "empty.bmp", false, "empty.bmp", false,
         FileKind::Empty},
        {"empty file, Yes", Entry::EmptyFile, "empty.bmp", "empty.bmp", true, "empty.bmp", false,
         FileKind::Bmp},
        {"folder, Yes", Entry::Folder, "shots.png", "shots.png", true, "shots.png", true,
         FileKind::Folder},
        {"folder, No", Entry::Folder, "shots.png", "shots.png", false, "shots.png", false,
         FileKind::Folder},
        {"link to nowhere, No", Entry::DanglingLink, "link.png", "link.png", false, "link.png",
         false, FileKind::Missing},
        {"the name with .png added exists", Entry::EmptyFile, "sketch.png", "sketch", false,
         "sketch.png", false, FileKind::Empty},
        {"only the name without .png exists", Entry::EmptyFile, "plain", "plain", std::nullopt,
         "plain.png", false, FileKind::Png},
        {"folder of the name missing", Entry::None, "", "gone/x.png", std::nullopt, "gone/x.png",
         true, FileKind::Missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Session s;
        s.paint(pattern);
        const std::string entry = s.at(c.entryName);
        switch (c.entry) {
            case Entry::EmptyFile:
                writeText(entry, "");
                break;
            case Entry::Folder:
                fs::create_directory(entry);
                break;
            case Entry::DanglingLink:
                fs::create_symlink(s.at("nowhere.png"), entry);
                break;
            case Entry::None:
                break;
        }
        s.save(s.at(c.typed), c.answer);

        const std::string asked = s.at(c.asked);
        if (c.answer) {
            EXPECT_EQ(s.ui.questions, std::vector<std::string>{"Overwrite this file? " + asked});
        } else {
            EXPECT_TRUE(s.ui.questions.empty());
        }
        if (c.failureMessage) {
            EXPECT_EQ(s.ui.messages, std::vector<std::string>{"Cannot save image: " + asked});
        } else {
            EXPECT_TRUE(s.ui.messages.empty());
        }
        EXPECT_EQ(kindOf(asked), c.after);
        // Stopped by No: the format and filter entry stay those of the previous name.
        if (c.answer == false) {
            EXPECT_EQ(s.app.settings.filterIndex, 0);
        }
        EXPECT_TRUE(s.scratchFreed());

        switch (c.entry) {
            case Entry::EmptyFile:
                EXPECT_TRUE(fs::exists(entry));
                break;
            case Entry::Folder:
                EXPECT_TRUE(fs::is_empty(entry));
                break;
            case Entry::DanglingLink:
                EXPECT_TRUE(fs::is_symlink(entry));
                EXPECT_FALSE(fs::exists(s.at("nowhere.png")));
                break;
            case Entry::None:
                EXPECT_FALSE(fs::exists(s.at("gone")));
                break;
        }
    }
}

TEST(LoadSave, AFailedLoadChangesNothingButTheName) {
    const struct {
        const char* what;
        const char* name;
        std::function<void(const std::string&)> make;
    } cases[] = {
        {"not a picture", "notes.png", [](const std::string& p) { writeText(p, "hello"); }},
        {"empty file", "empty.jpg", [](const std::string& p) { writeText(p, ""); }},
        {"BMP cut short", "cut.bmp",
         [](const std::string& p) {
             std::vector<std::uint8_t> bytes = bmpBytes(8, 8, pattern);
             bytes.resize(bytes.size() - 10);
             writeBytes(p, bytes);
         }},
        {"no such file", "ghost.bmp", [](const std::string&) {}},
        {"a folder", "folder.png", [](const std::string& p) { fs::create_directory(p); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Session s;
        // Some history, a tool and a picture that must all survive.
        s.app.dispatch({kBoxTool, {}});
        s.paint(pattern);
        s.app.history.runHistoryCommand("SAVE");
        s.app.history.runHistoryCommand("SAVE");
        s.app.settings.fileName = s.at("before.jpg");
        formatFromExtension(s.app);
        const Raster canvas = s.app.canvas;
        const auto toggles = s.ui.toggles;
        const ImageId slots[] = {s.app.history.slot(0), s.app.history.slot(1),
                                 s.app.history.slot(2)};

        c.make(s.at(c.name));
        s.load(s.at(c.name));

        EXPECT_EQ(s.ui.messages, std::vector<std::string>{"Cannot load image: " + s.at(c.name)});
        EXPECT_EQ(s.app.settings.fileName, s.at(c.name));
        EXPECT_EQ(s.app.settings.saveFormat, SaveFormat::Jpeg);
        EXPECT_EQ(s.app.settings.filterIndex, 1);
        EXPECT_EQ(mismatch(s.app.canvas, [&](int x, int y) { return canvas.pixel(x, y); }), "");
        EXPECT_EQ(s.app.settings.currentTool, kBoxTool);
        EXPECT_EQ(s.ui.toggles, toggles);
        EXPECT_EQ(s.app.history.index(), 2);
        EXPECT_EQ(s.ui.text(kUndoCounter), "2");
        for (int i = 0; i < 3; ++i) EXPECT_EQ(s.app.history.slot(i), slots[i]) << i;
        EXPECT_TRUE(s.scratchFreed());

        // The next dialog proposes the name that failed.
        s.save("");
        EXPECT_EQ(s.ui.saveRequests.back().initialName, s.at(c.name));
    }
}

TEST(LoadSave, ALoadedPictureCoversTheTopLeftOfTheBackgroundUnscaled) {
    auto small = [](int x, int y) { return rgb(x * 2, y * 5, 200); };
    const struct {
        const char* what;
        const char* name;
        Color background;
        std::function<void(const std::string&)> make;
        PixelAt expected;
        SaveFormat format;
    } cases[] = {
        {"100 x 50 picture on red", "small.bmp", kRed,
         [&](const std::string& p) { writeBmp(p, 100, 50, small); },
         [&](int x, int y) { return x < 100 && y < 50 ? small(x, y) : kRed; }, SaveFormat::Bmp},
        {"1000 x 1000 picture cropped", "big.bmp", kRed,
         [](const std::string& p) { writeBmp(p, 1000, 1000, pattern); }, pattern, SaveFormat::Bmp},
        {"PNG named .jpg", "picture.jpg", kBlue,
         [&](const std::string& p) {
             Raster r(3, 2);
             for (int i = 0; i < 6; ++i) r.setPixel(i % 3, i / 3, small(i % 3, i / 3));
             ASSERT_TRUE(saveImage(r, p, SaveFormat::Png, 10));
         },
         [&](int x, int y) { return x < 3 && y < 2 ? small(x, y) : kBlue; }, SaveFormat::Jpeg},
        // Transparent pixels show the colours the file stores for them.
        {"PNG with a transparent area", "clear.png", kRed,
         [](const std::string& p) {
             writeRgbaPng(p, 3, 1, {10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 255});
         },
         [](int x, int y) {
             const Color row[] = {rgb(10, 20, 30), rgb(40, 50, 60), rgb(70, 80, 90)};
             return y == 0 && x < 3 ? row[x] : kRed;
         },
         SaveFormat::Png},
        // The one picture drawn with its opacity: (background × (255 − a) + icon × a) / 255.
        {"icon blended over the background", "badge.ico", kRed,
         [](const std::string& p) {
             writeBytes(p, iconBytes(2, 2, {{kBlue, 255}, {kBlue, 0}, {kBlue, 128}, {kGreen, 64}}));
         },
         [](int x, int y) {
             const Color icon[] = {kBlue, kRed, rgb(127, 0, 128), rgb(191, 64, 0)};
             return x < 2 && y < 2 ? icon[y * 2 + x] : kRed;
         },
         SaveFormat::Png},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Session s;
        s.app.settings.backgroundColor = c.background;
        c.make(s.at(c.name));
        s.load(s.at(c.name));

        EXPECT_TRUE(s.ui.messages.empty());
        EXPECT_EQ(mismatch(s.app.canvas, c.expected), "");
        EXPECT_EQ(s.app.settings.fileName, s.at(c.name));
        EXPECT_EQ(s.app.settings.saveFormat, c.format);
        EXPECT_TRUE(s.scratchFreed());
    }
}

TEST(LoadSave, AfterALoadNoToolIsSelectedAndTheHistoryStartsFromThePicture) {
    Session s;
    writeBmp(s.at("tiles.bmp"), 8, 8, pattern);
    s.app.dispatch({kBoxTool, {}});
    s.app.history.runHistoryCommand("SAVE");
    s.app.history.runHistoryCommand("SAVE");
    s.app.history.runHistoryCommand("UNDO");  // leaves a redo tail too

    s.load(s.at("tiles.bmp"));
    const Raster loaded = s.app.canvas;
    const PixelAt same = [&](int x, int y) { return loaded.pixel(x, y); };
    ASSERT_EQ(loaded.pixel(7, 7), pattern(7, 7));

    EXPECT_EQ(s.app.settings.currentTool, 0);
    for (int tool = kFirstTool; tool <= kLastTool; ++tool) EXPECT_FALSE(s.ui.toggle(tool));
    EXPECT_EQ(s.ui.text(kUndoCounter), "0");
    EXPECT_EQ(s.app.history.index(), 0);
    ASSERT_TRUE(s.app.images.exists(s.app.history.slot(0)));
    EXPECT_EQ(mismatch(*s.app.images.get(s.app.history.slot(0)), same), "");
    for (int i = 1; i < 3; ++i) EXPECT_EQ(s.app.history.slot(i), kNullImage) << i;

    s.app.dispatch({kUndoButton, {}});
    s.app.dispatch({kRedoButton, {}});
    EXPECT_EQ(s.ui.text(kUndoCounter), "0");
    EXPECT_EQ(mismatch(s.app.canvas, same), "");
}

TEST(LoadSave, OnAScaledCanvasOnlyThePictureSquareIsLoadedAndSaved) {
    Session s(144);
    ASSERT_EQ(s.app.canvas.width(), 720);
    const Raster before = s.app.canvas;
    writeBmp(s.at("big.bmp"), 1000, 1000, pattern);
    s.load(s.at("big.bmp"));
    EXPECT_EQ(mismatch(s.app.canvas, pattern), "");
    // The control's pixels beyond the picture keep what they showed.
    for (const auto& [x, y] : {std::pair{480, 0}, {719, 719}, {0, 480}, {600, 300}}) {
        EXPECT_EQ(s.app.canvas.pixel(x, y), before.pixel(x, y)) << x << "," << y;
    }

    s.save(s.at("copy.bmp"));
    const std::optional<Raster> saved = readBmp24(readBytes(s.at("copy.bmp")));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->width(), kPictureSize);
    EXPECT_EQ(mismatch(*saved, pattern), "");
}

}  // namespace
}  // namespace lumipad
