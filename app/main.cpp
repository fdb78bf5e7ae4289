#include "frame/command_line.h"
#include "frame/startup.h"
#include "frame/sys/files.h"
#include "frame/sys/process_start.h"
#include "frame/unattended.h"
#include "frame/window_module.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace stepwell;
    prepareProcess();
    const CommandLine command = parseCommandLine({argv + 1, argv + argc});
    switch (command.action) {
    case CommandLine::Action::Help:
        return printToStandardOutput(usageText());
    case CommandLine::Action::Version:
        return printToStandardOutput(versionText());
    case CommandLine::Action::UsageError:
        std::cerr << "stepwell: " << command.error << "\nTry 'stepwell --help'.\n";
        return 2;
    case CommandLine::Action::Window:
        return openWindow(programDirectory(), argc, argv);
    case CommandLine::Action::Filter:
    case CommandLine::Action::Check:
        return runUnattended(command, startUp().programDir);
    case CommandLine::Action::Convert:
        break;
    }
    // A batch keeps the directory it was started in, so relative names mean what the user
    // typed; the default folder matters only to the window.
    const StartupState state = startUp();
    const auto prompts = promptsForCommandLine(state.programDir, argc, argv);
    return runCommandLine(command.files, {state.programDir, state.replaceSetting}, *prompts);
}
