// The real program on a private X server, driven as a user would: a stroke saved through the
// Save dialog, saved again over the same file after the overwrite question, and a picture
// loaded through the Load dialog, each checked against the pixels on the screen.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "e2e/x_session.h"
#include "loadsave/bmp_bytes.h"
#include "temp_dir.h"

namespace lumipad::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::readBmp24;
using test::readBytes;
using test::writeBmp;

const std::string kTitlePrefix = "Lumipad v1.1 beta - ";

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The first pixel of the 480 × 480 picture where `a` and `b` differ, as text; empty if none.
std::string difference(const Raster& a, const Raster& b) {
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 480; ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                char text[80];
                std::snprintf(text, sizeof text, "(%d, %d): %06x vs %06x", x, y, a.pixel(x, y),
                              b.pixel(x, y));
                return text;
            }
        }
    }
    return {};
}

// The running program and the places of its controls on the screen (96 DPI).
class Session {
  public:
    explicit Session(const test::TempDir& folder)
        : program_(LUMIPAD_BINARY,
                   {{"DISPLAY", x_.name()},
                    {"HOME", folder / "home"},
                    {"XDG_CONFIG_HOME", folder / "config"},
                    {"XDG_CACHE_HOME", folder / "cache"}},
                   {"QT_QPA_PLATFORM"}) {}

    bool start() {
        if (!x_.ok()) return false;
        const std::optional<Window> window = x_.waitForWindow(kTitlePrefix, 20s);
        if (!window) return false;
        main_ = *window;
        int width = 0, height = 0;
        if (!x_.innerGeometry(main_, left_, top_, width, height)) return false;
        // Mapped is not yet painted: wait for the black picture.
        return eventually([&] { return canvas() && canvas()->pixel(240, 240) == kBlack; }, 10s);
    }

    std::optional<Raster> canvas() const { return x_.capture(left_ + 4, top_ + 4, 480, 480); }

    // A left-button drag through canvas points.
    bool drag(const std::vector<std::pair<int, int>>& points) {
        bool ok = move(left_ + 4 + points[0].first, top_ + 4 + points[0].second) &&
                  x_.xdotool({"mousedown", "1"});
        for (const auto& [px, py] : points) ok = ok && move(left_ + 4 + px, top_ + 4 + py);
        return x_.xdotool({"mouseup", "1"}) && ok;
    }

    // Clicks the centre of a button given in layout units.
    bool clickButton(int x, int y, int width, int height) {
        return move(left_ + x + width / 2, top_ + y + height / 2) && x_.xdotool({"click", "1"});
    }
    bool clickSave() { return clickButton(490, 424, 110, 26); }
    bool clickLoad() { return clickButton(490, 394, 110, 26); }

    // Waits for the file dialog, replaces the proposed name with `name` (unless empty) and
    // confirms it; true once the dialog has closed.
    bool confirmDialog(const std::string& title, const std::string& name) {
        const std::optional<Window> dialog = x_.waitForWindow(title, 10s);
        if (!dialog || !focus(*dialog)) return false;
        if (!name.empty()) {
            if (!x_.xdotool({"key", "ctrl+a"})) return false;
            if (!x_.xdotool({"type", "--delay", "5", name})) return false;
        }
        // Return first closes the completion list when the typed name matches a file, then
        // confirms the dialog.
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!x_.xdotool({"key", "Return"})) return false;
            if (eventually([&] { return !x_.waitForExactTitle(title, 0ms); }, 2s)) return true;
        }
        return false;
    }

    // Answers the program's Yes/No question with Return, its default button.
    bool answerQuestionWithReturn() {
        const std::optional<Window> box = x_.waitForExactTitle("Lumipad", 10s);
        return box && focus(*box) && x_.xdotool({"key", "Return"}) &&
               eventually([&] { return !x_.waitForExactTitle("Lumipad", 0ms); }, 5s);
    }

    bool messageShown() const { return x_.waitForExactTitle("Lumipad", 0ms).has_value(); }

    std::optional<int> close() {
        x_.requestClose(main_);
        return program_.waitExit(20s);
    }
    std::string errors() const { return program_.stderrText(); }

  private:
    // xdotool's --sync waits for the pointer to move, which it never does when it is there.
    bool move(int x, int y) {
        Window root = 0, child = 0;
        int rootX = -1, rootY = -1, winX = 0, winY = 0;
        unsigned mask = 0;
        XQueryPointer(x_.display(), DefaultRootWindow(x_.display()), &root, &child, &rootX, &rootY,
                      &winX, &winY, &mask);
        if (rootX == x && rootY == y) return true;
        return x_.xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y)});
    }
    // No window manager runs: give the keyboard to the window and put the pointer on it.
    bool focus(Window window) {
        int x = 0, y = 0, width = 0, height = 0;
        return x_.innerGeometry(window, x, y, width, height) &&
               move(x + width / 2, y + height / 2) &&
               x_.xdotool({"windowfocus", std::to_string(window)});
    }

    XServer x_;
    Program program_;
    Window main_ = 0;
    int left_ = 0, top_ = 0;
};

bool fileHolds(const std::string& path, const Raster& expected) {
    if (!fs::exists(path) || fs::file_size(path) != 691254) return false;
    const std::optional<Raster> saved = readBmp24(readBytes(path));
    return saved && difference(*saved, expected).empty();
}

TEST(LoadSave, SavesAStrokeOverwritesAfterYesAndLoadsAPicture) {
    test::TempDir folder;
    ASSERT_FALSE(folder.path().empty());
    for (const char* place : {"home", "config", "cache"}) fs::create_directory(folder / place);
    Session s(folder);
    ASSERT_TRUE(s.start()) << s.errors();

    // A stroke with the Brush, the tool at start, in the white pen.
    ASSERT_TRUE(s.drag({{100, 100}, {150, 125}, {200, 150}, {250, 175}, {300, 200}}));
    ASSERT_TRUE(eventually(
        [&] {
            const std::optional<Raster> c = s.canvas();
            return c && c->pixel(100, 100) == kWhite && c->pixel(300, 200) == kWhite;
        },
        5s))
        << "the Brush left no white stroke";
    const Raster stroke = *s.canvas();

    // Saved through the Save dialog under a BMP name: the canvas pixels, bottom row first.
    const std::string bmp = folder / "stroke.bmp";
    ASSERT_TRUE(s.clickSave());
    ASSERT_TRUE(s.confirmDialog("Save Image...", bmp));
    ASSERT_TRUE(eventually([&] { return fileHolds(bmp, stroke) || s.messageShown(); }, 10s));
    ASSERT_FALSE(s.messageShown()) << "the program reported a failure";
    EXPECT_TRUE(fileHolds(bmp, stroke));

    // A second stroke, saved under the name the dialog proposes: Yes to the question.
    ASSERT_TRUE(s.drag({{50, 400}, {200, 400}, {400, 420}}));
    ASSERT_TRUE(eventually(
        [&] {
            const std::optional<Raster> c = s.canvas();
            return c && c->pixel(200, 400) == kWhite;
        },
        5s));
    const Raster twoStrokes = *s.canvas();
    ASSERT_TRUE(s.clickSave());
    ASSERT_TRUE(s.confirmDialog("Save Image...", ""));
    ASSERT_TRUE(s.answerQuestionWithReturn()) << "no overwrite question";
    EXPECT_TRUE(eventually([&] { return fileHolds(bmp, twoStrokes); }, 10s));

    // A picture with known pixels loaded through the Load dialog: top-left, on black.
    auto known = [](int x, int y) { return rgb(x * 2, y * 3, (x + y) % 256); };
    const std::string picture = folder / "known.bmp";
    writeBmp(picture, 120, 80, known);
    ASSERT_TRUE(s.clickLoad());
    ASSERT_TRUE(s.confirmDialog("Load Image...", picture));
    Raster expected(480, 480);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 120; ++x) expected.setPixel(x, y, known(x, y));
    }
    std::string diff = "never captured";
    EXPECT_TRUE(eventually(
        [&] {
            const std::optional<Raster> c = s.canvas();
            diff = c ? difference(*c, expected) : "no capture";
            return diff.empty();
        },
        10s))
        << diff;
    EXPECT_FALSE(s.messageShown());

    // Nothing of the dialogs is kept for the next run.
    for (const auto& entry : fs::recursive_directory_iterator(folder / "config")) {
        ADD_FAILURE() << "written: " << entry.path();
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder / "home")) {
        EXPECT_EQ(entry.path().string().find("QtProject"), std::string::npos) << entry.path();
    }

    const std::optional<int> status = s.close();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0) << s.errors();
}

}  // namespace
}  // namespace lumipad::e2e
