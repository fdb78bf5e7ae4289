// SPDX-License-Identifier: MIT
#include "frame/startup/startup.h"

#include "frame/startup/settings.h"
#include "frame/sys/files.h"
#include "frame/text/error.h"

namespace stepwell {

StartupState startUp() {
    StartupState state;
    state.places = findPlaces();
    try {
        state.startDirectory = currentDirectory();
    } catch (const Error&) {
        // A current directory that was removed under us; relative names then fail one by one.
    }
    const Settings settings = readSettings(state.places.settingsFile());
    state.defaultFolder = settings.defaultFolder;
    state.replaceSetting = settings.replaceSetting;
    return state;
}

bool applyDefaultFolder(const StartupState& state) {
    if (state.defaultFolder.empty())
        return false;
    try {
        changeDirectory(state.defaultFolder);
        return true;
    } catch (const Error&) {
        return false;
    }
}

} // namespace stepwell
