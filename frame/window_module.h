#pragma once

#include "engine/core/prompts.h"

#include <memory>
#include <string>

namespace stepwell {

/// The file name of the window module, which sits in the program's folder.
inline constexpr const char* windowModuleName = "stepwell-window.so";

/// Loads the window module from `programDir` and runs the window. Returns the exit status;
/// 2, with a message on standard error, when there is no display or no module.
int openWindow(const std::string& programDir, int& argc, char** argv);

/// The prompts of a command-line run: with a real display, dialogs from the window module,
/// loaded at the first question (a run that asks nothing never loads it); otherwise, and when
/// the module cannot be loaded, questions on the terminal.
std::unique_ptr<Prompts> promptsForCommandLine(const std::string& programDir, int& argc,
                                               char** argv);

} // namespace stepwell
