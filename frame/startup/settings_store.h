// SPDX-License-Identifier: MIT
#pragma once

#include "frame/startup/settings.h"

#include <string>

namespace stepwell {

// Both commands rewrite the whole settings file at `path` atomically (a temporary file
// beside it, renamed over it, with the old file's permission bits), so a failure never
// leaves half a file. Lines are written with CR LF; lines after the second are not kept. A
// missing file is created, and its folder with it, its other line being "" for the folder
// and "0" for the replace setting. Both throw Error, naming the settings file, when storing
// fails; the file is then unchanged.

/// Stores `folder` as line 1 of the settings file, keeping line 2.
void storeDefaultFolder(const std::string& path, const std::string& folder);

/// Stores `replaceSetting` as line 2 (0, 1 or 2), keeping line 1.
void storeDefaultReplaceSetting(const std::string& path, ReplaceSetting replaceSetting);

} // namespace stepwell
