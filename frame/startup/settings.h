// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell {

/// The name of the settings file (see Places::settingsFile for its folder).
inline constexpr const char* settingsFileName = "Stepwell.ini";

/// The two persistent settings: line 1 of the settings file is the default folder, line 2
/// the default replace setting (0 off, 1 on, 2 greyed and on).
struct Settings {
    std::string defaultFolder; // "" when there is none
    int replaceSetting = 0;
};

/// Reads the settings file at `path`. A missing or unreadable file, or an empty one, gives
/// the defaults. A line 2 that is not 0, 1 or 2 once rounded leaves the replace setting off;
/// lines are used as read, without trimming.
Settings readSettings(const std::string& path);

} // namespace stepwell
