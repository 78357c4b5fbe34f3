// Lumipad: starts the window system, builds the main window and runs until it is closed.
#include <unistd.h>
#include <QApplication>
#include <QColorDialog>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/qt/main_window.h"

namespace {

std::string lastPlatformWarning;

// Qt ends the process with abort() when no platform can be started; we end it with a plain
// message and a failure status instead, and no core dump.
void onQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::string reason =
            lastPlatformWarning.empty() ? message.toStdString() : lastPlatformWarning;
        std::fprintf(stderr, "lumipad: cannot open the main window: %s\n", reason.c_str());
        std::fflush(stderr);
        _exit(EXIT_FAILURE);
    }
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        lastPlatformWarning = message.toStdString();
    }
}

// The reason the X display cannot be reached when that is clear before Qt starts.
const char* missingDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool wantsX =
        platform == nullptr || *platform == '\0' || std::string(platform).rfind("xcb", 0) == 0;
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wantsX && (display == nullptr || *display == '\0') &&
        (wayland == nullptr || *wayland == '\0')) {
        return "no display to show it on (DISPLAY is not set)";
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // Canvas pixels map one to one to screen pixels; the layout scales itself by the DPI.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    if (const char* reason = missingDisplay()) {
        std::fprintf(stderr, "lumipad: cannot open the main window: %s\n", reason);
        return EXIT_FAILURE;
    }
    qInstallMessageHandler(onQtMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("lumipad"));

    // Nothing is kept between runs: Qt's dialogs would remember folders and custom colours in
    // the user's settings, so they get an empty place that is gone when the program ends.
    QTemporaryDir noSettings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, noSettings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, noSettings.path());
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, Qt::black);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const lumipad::ScreenDpi dpi =
        screen != nullptr
            ? lumipad::ScreenDpi{screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()}
            : lumipad::ScreenDpi{};
    lumipad::MainWindow window(dpi);
    window.showCentred();
    app.exec();
    return EXIT_SUCCESS;
}
