// SPDX-License-Identifier: MIT
#include "frame/startup/window_module.h"

#include "frame/prompts/lazy_prompts.h"
#include "frame/prompts/terminal_prompts.h"
#include "frame/startup/display_kind.h"
#include "frame/startup/window_module_entry.h"
#include "frame/sys/fd_io.h"
#include "frame/sys/files.h"
#include "frame/sys/loaded_module.h"
#include "frame/text/paths.h"

#include <iostream>

namespace stepwell {
namespace {

// Looks up `symbol` in the window module beside the program; null with `why` set when that
// fails. The packages ship the window apart from the command line, so a module that is not
// there is most likely a package that is not installed: `why` names it.
void* windowSymbol(const std::string& programDir, const char* symbol, std::string& why) {
    const std::string module = joinPath(programDir, windowModuleName);
    void* found = moduleSymbol(module, symbol, why);
    if (!found && !pathExists(module))
        why = module + " is missing: install the package " + std::string(windowPackageName);
    return found;
}

std::unique_ptr<Prompts> terminalPrompts() {
    return std::make_unique<TerminalPrompts>(std::cin, std::cerr);
}

// Dialogs from the window module, or the terminal when it cannot be loaded.
std::unique_ptr<Prompts> modulePrompts(const std::string& programDir, int& argc, char** argv) {
    std::string why;
    const auto create = reinterpret_cast<StepwellCreateDialogPrompts>(
        windowSymbol(programDir, "stepwellCreateDialogPrompts", why));
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
        reinterpret_cast<StepwellRunWindow>(windowSymbol(programDir, "stepwellRunWindow", why));
    if (!run)
        return reportNoWindow("cannot open the window: " + why);
    return run(&argc, argv);
}

std::unique_ptr<Prompts> promptsForCommandLine(const std::string& programDir, int& argc,
                                               char** argv) {
    if (isTerminal(standardInputFd) || currentDisplay() != Display::Real)
        return terminalPrompts();
    return std::make_unique<LazyPrompts>(
        [programDir, &argc, argv] { return modulePrompts(programDir, argc, argv); });
}

} // namespace stepwell
