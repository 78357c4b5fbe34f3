#include "e2e/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace lumipad::e2e {

namespace {

using Clock = std::chrono::steady_clock;

// Windows come and go while a test looks at them (a dialog closing between listing the windows
// and reading one); Xlib's default handler would end the test process for that.
int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

// A child started here must not outlive a test process that dies early.
void dieWithParent() { prctl(PR_SET_PDEATHSIG, SIGKILL); }

std::optional<int> waitChild(pid_t pid, std::chrono::milliseconds timeout, bool& signalled) {
    const auto deadline = Clock::now() + timeout;
    while (true) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) {
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            signalled = true;
            return std::nullopt;
        }
        if (r < 0 || Clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

XServer::XServer(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dieWithParent();
        close(fds[0]);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes the display number it chose once it is ready for clients.
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return;
    name_ = ":" + number;
    XSetErrorHandler(ignoreXErrors);
    display_ = XOpenDisplay(name_.c_str());
}

XServer::~XServer() {
    if (display_ != nullptr) XCloseDisplay(display_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

std::optional<Window> XServer::waitForWindow(const std::string& prefix,
                                             std::chrono::milliseconds timeout) const {
    return waitFor([&prefix](const std::string& t) { return t.rfind(prefix, 0) == 0; }, timeout);
}

std::optional<Window> XServer::waitForExactTitle(const std::string& title,
                                                 std::chrono::milliseconds timeout) const {
    return waitFor([&title](const std::string& t) { return t == title; }, timeout);
}

std::optional<Window> XServer::waitFor(const std::function<bool(const std::string&)>& titleMatches,
                                       std::chrono::milliseconds timeout) const {
    const auto deadline = Clock::now() + timeout;
    while (true) {
        Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display_, root, &root, &parent, &children, &count) != 0) {
            for (unsigned i = 0; i < count; ++i) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(display_, children[i], &attributes) == 0) continue;
                if (attributes.map_state != IsViewable) continue;
                if (titleMatches(title(children[i]))) {
                    const Window found = children[i];
                    XFree(children);
                    return found;
                }
            }
            if (children != nullptr) XFree(children);
        }
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string XServer::title(Window window) const {
    const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, rest = 0;
    unsigned char* data = nullptr;
    std::string result;
    if (XGetWindowProperty(display_, window, netName, 0, 1024, False, utf8, &type, &format, &items,
                           &rest, &data) == Success &&
        data != nullptr) {
        result.assign(reinterpret_cast<char*>(data), items);
        XFree(data);
    }
    return result;
}

bool XServer::innerGeometry(Window window, int& x, int& y, int& width, int& height) const {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, window, &attributes) == 0) return false;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    width = attributes.width;
    height = attributes.height;
    return true;
}

std::optional<Raster> XServer::capture(int x, int y, int width, int height) const {
    Raster result(width, height);
    XSync(display_, False);
    XImage* image =
        XGetImage(display_, DefaultRootWindow(display_), x, y, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return std::nullopt;
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const unsigned long p = XGetPixel(image, col, row);
            result.setPixel(col, row,
                            rgb(static_cast<int>((p >> 16) & 0xff),
                                static_cast<int>((p >> 8) & 0xff), static_cast<int>(p & 0xff)));
        }
    }
    XDestroyImage(image);
    return result;
}

void XServer::requestClose(Window window) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

bool XServer::xdotool(const std::vector<std::string>& args) const {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", name_.c_str(), 1);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>("xdotool"));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp("xdotool", argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Program::Program(const std::string& path,
                 const std::vector<std::pair<std::string, std::string>>& env,
                 const std::vector<std::string>& unset) {
    char pattern[] = "/tmp/lumipad-e2e-XXXXXX";
    const int errFd = mkstemp(pattern);
    errPath_ = pattern;
    pid_ = fork();
    if (pid_ == 0) {
        dieWithParent();
        dup2(errFd, STDERR_FILENO);
        for (const std::string& name : unset) unsetenv(name.c_str());
        for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
        execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(errFd);
}

Program::~Program() {
    if (pid_ > 0 && !exited_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(errPath_.c_str());
}

std::optional<int> Program::waitExit(std::chrono::milliseconds timeout) {
    const std::optional<int> status = waitChild(pid_, timeout, signalled_);
    exited_ = status.has_value() || signalled_;
    return status;
}

std::string Program::stderrText() const {
    std::ifstream in(errPath_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace lumipad::e2e
