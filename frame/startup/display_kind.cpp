// SPDX-License-Identifier: MIT
#include "frame/startup/display_kind.h"

#include <cstdlib>
#include <string_view>

namespace stepwell {
namespace {

bool isSet(const char* value) {
    return value && *value;
}

} // namespace

Display displayFrom(const char* platform, const char* x11Display, const char* waylandDisplay) {
    if (isSet(platform)) {
        const std::string_view name(platform);
        // "offscreen:option=..." names the offscreen platform with options.
        const std::string_view plugin = name.substr(0, name.find(':'));
        return plugin == "offscreen" || plugin == "minimal" ? Display::Virtual : Display::Real;
    }
    return isSet(x11Display) || isSet(waylandDisplay) ? Display::Real : Display::None;
}

Display currentDisplay() {
    return displayFrom(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                       std::getenv("WAYLAND_DISPLAY"));
}

} // namespace stepwell
