#pragma once

#include "frame/display_kind.h"

namespace stepwell {

/// When the user chose no platform, lets Qt fall back to the offscreen platform instead of
/// aborting when the display cannot be reached; `platformReached` tells afterwards.
void allowPlatformFallback();

/// Whether the running application reached the display it was meant for (false when it fell
/// back to offscreen by allowPlatformFallback). Needs a QGuiApplication.
bool platformReached();

} // namespace stepwell
