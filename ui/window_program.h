// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

#include <memory>

namespace stepwell {

/// Runs the window until the user closes it, after start-up has made the default folder
/// current. A display that cannot be reached is reported on standard error (status 2).
int runWindow(int& argc, char** argv);

/// Starts the toolkit for a command-line run's first question and returns its prompts:
/// dialogs where the display can be reached, questions on the terminal otherwise.
std::unique_ptr<Prompts> startDialogs(int& argc, char** argv);

} // namespace stepwell
