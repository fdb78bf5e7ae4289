// SPDX-License-Identifier: MIT
#include "frame/startup/window_module.h"

#include "frame/startup/display_kind.h"
#include "frame/prompts/lazy_prompts.h"
#include "frame/prompts/terminal_prompts.h"
#include "frame/text/paths.h"
#include "frame/startup/window_module_entry.h"

#include <dlfcn.h>
#include <iostream>
#include <unistd.h>

namespace stepwell {
namespace {

// Looks up `symbol` in the module, loading it once; null with `why` set when that fails.
// The module stays loaded for the rest of the process, as objects it made may still live.
void* moduleSymbol(const std::string& programDir, const char* symbol, std::string& why) {
    static void* module = nullptr;
    if (!module) {
        const std::string path = joinPath(programDir, windowModuleName);
        module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* error = ::dlerror();
            why = error ? error : path + ": cannot be loaded";
            return nullptr;
        }
    }
    void* found = ::dlsym(module, symbol);
    if (!found)
        why = std::string(windowModuleName) + " has no " + symbol;
    return found;
}

std::unique_ptr<Prompts> terminalPrompts() {
    return std::make_unique<TerminalPrompts>(std::cin, std::cerr);
}

// Dialogs from the window module, or the terminal when it cannot be loaded.
std::unique_ptr<Prompts> modulePrompts(const std::string& programDir, int& argc, char** argv) {
    std::string why;
    const auto create = reinterpret_cast<StepwellCreateDialogPrompts>(
        moduleSymbol(programDir, "stepwellCreateDialogPrompts", why));
    if (!create) {
        std::cerr << "stepwell: no dialogs (" << why << "); asking here instead\n";
        return terminalPrompts();
    }
    return std::unique_ptr<Prompts>(create(&argc, argv));
}

} // namespace

int reportNoWindow(const std::string& why) {
    std::cerr << "stepwell: " << why
              << "; name files to convert them without the window\nTry 'stepwell --help'.\n";
    return 2;
}

int openWindow(const std::string& programDir, int& argc, char** argv) {
    if (currentDisplay() == Display::None)
        return reportNoWindow("no display to show the window on");
    std::string why;
    const auto run =
        reinterpret_cast<StepwellRunWindow>(moduleSymbol(programDir, "stepwellRunWindow", why));
    if (!run)
        return reportNoWindow("cannot open the window: " + why);
    return run(&argc, argv);
}

std::unique_ptr<Prompts> promptsForCommandLine(const std::string& programDir, int& argc,
                                               char** argv) {
    if (::isatty(STDIN_FILENO) || currentDisplay() != Display::Real)
        return terminalPrompts();
    return std::make_unique<LazyPrompts>(
        [programDir, &argc, argv] { return modulePrompts(programDir, argc, argv); });
}

} // namespace stepwell
