// SPDX-License-Identifier: MIT
#pragma once

#include "frame/startup/places.h"
#include "frame/startup/settings.h"

#include <string>

namespace stepwell {

/// What start-up learns before the window or a batch run begins.
struct StartupState {
    Places places;              // the program's folder, the settings file, the tag tables
    std::string startDirectory; // the current directory the program was started in
    std::string defaultFolder;  // from the settings file; "" when there is none
    std::string pattern = "*.html";
    ReplaceSetting replaceSetting = ReplaceSetting::Off; // from the settings file
};

/// Finds the program's places and reads the settings file. Changes nothing.
StartupState startUp();

/// Makes the default folder the current directory. A folder that is missing or cannot be
/// entered is passed over silently; returns whether the change was made.
bool applyDefaultFolder(const StartupState& state);

} // namespace stepwell
