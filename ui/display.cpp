// SPDX-License-Identifier: MIT
#include "ui/display.h"

#include <cstdlib>
#include <string_view>

namespace stepwell {
namespace {

bool isSet(const char* value) {
    return value && *value;
}

bool fallbackAllowed = false;
QtMessageHandler previousHandler = nullptr;

// While the platform starts, its complaints about a display it cannot reach would only
// clutter the terminal that the questions then go to. Fatal messages still end the process.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && previousHandler)
        previousHandler(type, context, message);
}

// Qt aborts when its platform cannot start; a list makes it try the next one instead.
void allowPlatformFallback() {
    if (isSet(std::getenv("QT_QPA_PLATFORM")))
        return;
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland = isSet(std::getenv("WAYLAND_DISPLAY")) &&
                         std::string_view(session ? session : "") == "wayland";
    ::setenv("QT_QPA_PLATFORM", wayland ? "wayland;xcb;offscreen" : "xcb;offscreen", 1);
    fallbackAllowed = true;
}

} // namespace

std::unique_ptr<QApplication> startApplication(int& argc, char** argv) {
    allowPlatformFallback();
    if (fallbackAllowed)
        previousHandler = qInstallMessageHandler(quietHandler);
    auto application = std::make_unique<QApplication>(argc, argv);
    if (fallbackAllowed)
        qInstallMessageHandler(previousHandler);
    QApplication::setApplicationName(QStringLiteral("Stepwell"));
    QApplication::setApplicationVersion(QStringLiteral(STEPWELL_VERSION));
    return application;
}

bool platformReached() {
    return !fallbackAllowed || QGuiApplication::platformName() != QStringLiteral("offscreen");
}

} // namespace stepwell
