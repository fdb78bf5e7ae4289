// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell {

/// The name of the settings file (see Places::settingsFile for its folder).
inline constexpr const char* settingsFileName = "Stepwell.ini";

/// Whether conversions replace their files, as the replace check box shows it: off, on, or
/// the box's greyed third state, which only the settings file sets and which counts as on.
/// The settings file stores the values as 0, 1 and 2.
enum class ReplaceSetting { Off = 0, On = 1, Greyed = 2 };

/// Whether conversions under `setting` replace their files.
constexpr bool replacesFiles(ReplaceSetting setting) {
    return setting != ReplaceSetting::Off;
}

/// The two persistent settings: line 1 of the settings file is the default folder, line 2
/// the default replace setting.
struct Settings {
    std::string defaultFolder; // "" when there is none
    ReplaceSetting replaceSetting = ReplaceSetting::Off;
};

/// Reads the settings file at `path`. A missing or unreadable file, or an empty one, gives
/// the defaults. A line 2 that is not 0, 1 or 2 once rounded leaves the replace setting off;
/// lines are used as read, without trimming.
Settings readSettings(const std::string& path);

} // namespace stepwell
