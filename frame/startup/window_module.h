// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

#include <memory>
#include <string>

namespace stepwell {

/// The file name of the window module, which sits in the program's folder.
inline constexpr const char* windowModuleName = "stepwell-window.so";
/// The Debian package that installs the window module.
inline constexpr const char* windowPackageName = "stepwell-gui";

/// Says on standard error that the window cannot be shown and why, and how to convert
/// without it; returns 2, the exit status of such a run.
int reportNoWindow(const std::string& why);

/// Loads the window module from `programDir` and runs the window. Returns the exit status;
/// 2, with a message on standard error, when there is no display or no module.
int openWindow(const std::string& programDir, int& argc, char** argv);

/// The prompts of a command-line run. Questions go where the user is: to the terminal when
/// standard input is one or there is no real display; otherwise (a run from a desktop
/// launcher) to dialogs from the window module, loaded at the first question, so a run that
/// asks nothing never loads it. A module that cannot be loaded sends them to the terminal.
std::unique_ptr<Prompts> promptsForCommandLine(const std::string& programDir, int& argc,
                                               char** argv);

} // namespace stepwell
