// SPDX-License-Identifier: MIT
// The entry points of the window module, which the program loads only when it needs the
// window or a dialog, so that a command-line run never loads the GUI toolkit.
#include "frame/startup/window_module_entry.h"
#include "ui/window_program.h"

extern "C" {

int stepwellRunWindow(int* argc, char** argv) {
    return stepwell::runWindow(*argc, argv);
}

stepwell::Prompts* stepwellCreateDialogPrompts(int* argc, char** argv) {
    return stepwell::startDialogs(*argc, argv).release();
}

} // extern "C"
