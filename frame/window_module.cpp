#include "frame/window_module.h"

#include "frame/display_kind.h"
#include "frame/terminal_prompts.h"
#include "frame/text/paths.h"
#include "frame/window_module_entry.h"

#include <dlfcn.h>
#include <iostream>

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

// Dialogs from the window module, which is loaded by the first question or error.
class ModulePrompts : public Prompts {
public:
    ModulePrompts(std::string programDir, int& argc, char** argv)
        : programDir_(std::move(programDir)), argc_(argc), argv_(argv) {}

    bool askYesNo(const std::string& question) override { return prompts().askYesNo(question); }
    void showError(const std::string& message) override { prompts().showError(message); }

private:
    Prompts& prompts() {
        if (!prompts_) {
            std::string why;
            const auto create = reinterpret_cast<StepwellCreateDialogPrompts>(
                moduleSymbol(programDir_, "stepwellCreateDialogPrompts", why));
            if (create) {
                prompts_.reset(create(&argc_, argv_));
            } else {
                std::cerr << "stepwell: no dialogs (" << why << "); asking here instead\n";
                prompts_ = std::make_unique<TerminalPrompts>(std::cin, std::cerr);
            }
        }
        return *prompts_;
    }

    std::string programDir_;
    int& argc_;
    char** argv_;
    std::unique_ptr<Prompts> prompts_;
};

} // namespace

int openWindow(const std::string& programDir, int& argc, char** argv) {
    if (currentDisplay() == Display::None) {
        std::cerr << "stepwell: no display to show the window on; name files to convert them "
                     "without the window\nTry 'stepwell --help'.\n";
        return 2;
    }
    std::string why;
    const auto run =
        reinterpret_cast<StepwellRunWindow>(moduleSymbol(programDir, "stepwellRunWindow", why));
    if (!run) {
        std::cerr << "stepwell: cannot open the window: " << why << '\n';
        return 2;
    }
    return run(&argc, argv);
}

std::unique_ptr<Prompts> promptsForCommandLine(const std::string& programDir, int& argc,
                                               char** argv) {
    if (currentDisplay() == Display::Real)
        return std::make_unique<ModulePrompts>(programDir, argc, argv);
    return std::make_unique<TerminalPrompts>(std::cin, std::cerr);
}

} // namespace stepwell
