// SPDX-License-Identifier: MIT
#pragma once

#include "engine/tag_file.h"

#include <string>
#include <vector>

namespace stepwell {

/// Where Stepwell keeps its files. A portable copy (a folder that holds the program beside
/// its StepwellTag.txt, as the build tree does) keeps the tag table and the settings file
/// in the program's folder. An installed copy ships no table beside the program: each user's
/// settings live in the user's configuration folder, and nothing is written under the
/// installation's prefix.
struct Places {
    std::string programDir;
    bool portable = false;
    std::string userDir;                  // $XDG_CONFIG_HOME/stepwell
    std::vector<TablePlace> systemTables; // SYSCONFDIR/stepwell/StepwellTag.txt

    /// The settings file: beside a portable program, in the user's folder otherwise.
    std::string settingsFile() const;
    /// The tag table places of a run; `named` is the table named on the command line, or
    /// "" to take STEPWELL_TAGS when it is set.
    TagTablePlaces tagTables(const std::string& named = "") const;
};

/// The places of the running program and its user, from the environment.
Places findPlaces();

/// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
/// ~/.config.
std::string userConfigHome();

} // namespace stepwell
