// SPDX-License-Identifier: MIT
#pragma once

namespace stepwell {

/// Where windows and dialogs can go.
enum class Display {
    None,    // no display: nothing can be shown
    Virtual, // the offscreen or minimal platform: windows exist but nobody sees them
    Real,    // an X or Wayland display, or a platform the user chose
};

/// The display the environment offers, from QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY
/// (each may be null).
Display displayFrom(const char* platform, const char* x11Display, const char* waylandDisplay);

/// The display of this process's environment.
Display currentDisplay();

} // namespace stepwell
