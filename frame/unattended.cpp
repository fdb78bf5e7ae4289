#include "frame/unattended.h"

#include "frame/check.h"
#include "frame/filter.h"
#include "frame/terminal_prompts.h"

#include <iostream>
#include <unistd.h>

namespace stepwell {

int runUnattended(const CommandLine& command, const std::string& programDir) {
    // Only errors are shown; neither mode asks a question.
    TerminalPrompts prompts(std::cin, std::cerr);
    if (command.action == CommandLine::Action::Filter)
        return runFilter(STDIN_FILENO, STDOUT_FILENO, programDir, prompts);
    return runCheck(command.files, programDir, std::cout, prompts);
}

} // namespace stepwell
