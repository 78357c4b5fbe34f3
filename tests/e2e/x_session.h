// A private X server (Xvfb) and the real program running on it, for end-to-end tests.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "drawing/raster.h"

namespace lumipad::e2e {

// Starts Xvfb on a free display; stops it when destroyed.
class XServer {
  public:
    explicit XServer(int width = 1024, int height = 768);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool ok() const { return display_ != nullptr; }
    const std::string& name() const { return name_; }
    Display* display() const { return display_; }

    // Waits for a mapped top-level window whose title starts with `prefix`, or is exactly
    // `title`; a timeout of 0 looks once.
    std::optional<Window> waitForWindow(const std::string& prefix,
                                        std::chrono::milliseconds timeout) const;
    std::optional<Window> waitForExactTitle(const std::string& title,
                                            std::chrono::milliseconds timeout) const;
    std::string title(Window window) const;
    // The window's inner area in root coordinates.
    bool innerGeometry(Window window, int& x, int& y, int& width, int& height) const;
    // What the screen shows in a rectangle of root coordinates.
    std::optional<Raster> capture(int x, int y, int width, int height) const;
    // The close request a window manager sends when the user presses the close box.
    void requestClose(Window window) const;
    // Runs xdotool with the given arguments on this display; true when it succeeded.
    bool xdotool(const std::vector<std::string>& args) const;

  private:
    std::optional<Window> waitFor(const std::function<bool(const std::string&)>& titleMatches,
                                  std::chrono::milliseconds timeout) const;

    pid_t pid_ = -1;
    std::string name_;
    Display* display_ = nullptr;
};

// A child process with its standard error captured.
class Program {
  public:
    Program(const std::string& path, const std::vector<std::pair<std::string, std::string>>& env,
            const std::vector<std::string>& unset = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The exit status, or nullopt if it has not exited in time (or died by a signal).
    std::optional<int> waitExit(std::chrono::milliseconds timeout);
    bool signalled() const { return signalled_; }
    std::string stderrText() const;

  private:
    pid_t pid_ = -1;
    std::string errPath_;
    bool exited_ = false;
    bool signalled_ = false;
};

}  // namespace lumipad::e2e
