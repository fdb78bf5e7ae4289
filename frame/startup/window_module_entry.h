// SPDX-License-Identifier: MIT
#pragma once

// The functions the window module exports, looked up by name when it is loaded.

#include "frame/prompts/prompts.h"

extern "C" {

/// Runs the window until the user closes it; returns the exit status.
int stepwellRunWindow(int* argc, char** argv);
using StepwellRunWindow = int (*)(int*, char**);

/// Starts the toolkit and returns prompts for a command-line run: dialogs where the display
/// can be reached, the terminal otherwise. The caller owns them.
stepwell::Prompts* stepwellCreateDialogPrompts(int* argc, char** argv);
using StepwellCreateDialogPrompts = stepwell::Prompts* (*)(int*, char**);
}
