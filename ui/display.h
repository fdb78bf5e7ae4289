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

/// When the user chose no platform, lets Qt fall back to the offscreen platform instead of
/// aborting when the display cannot be reached; `platformReached` tells afterwards.
void allowPlatformFallback();

/// Whether the running application reached the display it was meant for (false when it fell
/// back to offscreen by allowPlatformFallback). Needs a QGuiApplication.
bool platformReached();

} // namespace stepwell
