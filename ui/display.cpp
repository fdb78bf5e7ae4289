#include "ui/display.h"

#include <QGuiApplication>
#include <cstdlib>
#include <string_view>

namespace stepwell {
namespace {

bool isSet(const char* value) {
    return value && *value;
}

bool fallbackAllowed = false;

} // namespace

void allowPlatformFallback() {
    if (isSet(std::getenv("QT_QPA_PLATFORM")))
        return;
    // Qt aborts when its platform cannot start; a list makes it try the next one instead.
    const bool wayland =
        isSet(std::getenv("WAYLAND_DISPLAY")) &&
        std::string_view(std::getenv("XDG_SESSION_TYPE") ? std::getenv("XDG_SESSION_TYPE") : "") ==
            "wayland";
    ::setenv("QT_QPA_PLATFORM", wayland ? "wayland;xcb;offscreen" : "xcb;offscreen", 1);
    fallbackAllowed = true;
}

bool platformReached() {
    return !fallbackAllowed || QGuiApplication::platformName() != QStringLiteral("offscreen");
}

} // namespace stepwell
