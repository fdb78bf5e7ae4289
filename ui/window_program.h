#pragma once

#include "engine/core/prompts.h"

#include <memory>

namespace stepwell {

/// Runs the window until the user closes it, after start-up has made the default folder
/// current. Without a display, says so on standard error and returns 2.
int runWindow(int& argc, char** argv);

/// The prompts of a command-line run: dialogs where there is a real display, created with
/// the application only when the first one is needed, and questions on the terminal
/// otherwise (also under the offscreen and minimal platforms).
std::unique_ptr<Prompts> commandLinePrompts(int& argc, char** argv);

} // namespace stepwell
