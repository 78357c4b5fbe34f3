// The real program on a private X server: what the user sees at start, and how it ends.
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "e2e/x_session.h"

namespace lumipad::e2e {
namespace {

using namespace std::chrono_literals;

const std::string kTitlePrefix = "Lumipad v1.1 beta - ";

TEST(Startup, OpensTitledWindowWithBlackCanvasAndExitsZeroOnClose) {
    XServer x;
    ASSERT_TRUE(x.ok());
    Program program(LUMIPAD_BINARY, {{"DISPLAY", x.name()}}, {"QT_QPA_PLATFORM"});
    const std::optional<Window> window = x.waitForWindow(kTitlePrefix, 20s);
    ASSERT_TRUE(window.has_value()) << program.stderrText();

    EXPECT_TRUE(std::regex_search(
        x.title(*window), std::regex(R"(^Lumipad v1\.1 beta - .*\b\d\d/\d\d/\d{4} \d\d:\d\d)")))
        << x.title(*window);
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_TRUE(x.innerGeometry(*window, left, top, width, height));
    EXPECT_EQ(width, 608);
    EXPECT_EQ(height, 488);
    // Centred on the 1024 × 768 screen (no window manager adds a frame here).
    EXPECT_EQ(left, (1024 - 608) / 2);
    EXPECT_EQ(top, (768 - 488) / 2);

    // The canvas control's frame-free edge: black inside, the window's face around it.
    std::optional<Raster> shot;
    // Mapped is not yet painted: wait for the window's face to show around the canvas.
    for (int tries = 0; tries < 500; ++tries) {
        shot = x.capture(left + 3, top + 3, 482, 482);
        ASSERT_TRUE(shot.has_value());
        if (shot->pixel(0, 0) != kBlack) break;
        std::this_thread::sleep_for(10ms);
    }
    int black = 0;
    for (int y = 1; y <= 480; ++y) {
        for (int xx = 1; xx <= 480; ++xx) black += shot->pixel(xx, y) == kBlack;
    }
    EXPECT_EQ(black, 480 * 480);
    EXPECT_NE(shot->pixel(0, 0), kBlack);
    EXPECT_NE(shot->pixel(481, 481), kBlack);

    x.requestClose(*window);
    const std::optional<int> status = program.waitExit(20s);
    ASSERT_TRUE(status.has_value()) << "did not exit; signalled=" << program.signalled();
    EXPECT_EQ(*status, 0) << program.stderrText();
}

TEST(Startup, WithoutADisplayExplainsAndFails) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> env;
    };
    const Case cases[] = {
        {"DISPLAY unset", {}},
        {"unreachable display", {{"DISPLAY", ":4093"}}},
    };
    for (const Case& c : cases) {
        Program program(LUMIPAD_BINARY, c.env, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
        const std::optional<int> status = program.waitExit(20s);
        ASSERT_TRUE(status.has_value())
            << c.what << ": no plain exit, signalled=" << program.signalled();
        EXPECT_NE(*status, 0) << c.what;
        const std::string err = program.stderrText();
        EXPECT_NE(err.find("lumipad: cannot open the main window: "), std::string::npos)
            << c.what << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.what << ": " << err;
    }
}

}  // namespace
}  // namespace lumipad::e2e
