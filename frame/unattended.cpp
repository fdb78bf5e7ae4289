#include "frame/unattended.h"

#include "frame/check.h"
#include "frame/filter.h"
#include "frame/sys/fd_io.h"
#include "frame/terminal_prompts.h"
#include "frame/text/error.h"

#include <iostream>
#include <unistd.h>

namespace stepwell {
namespace {

const std::string standardOutput = "standard output";

} // namespace

int runUnattended(const CommandLine& command, const std::string& programDir) {
    // Only errors are shown; neither mode asks a question.
    TerminalPrompts prompts(std::cin, std::cerr);
    if (command.action == CommandLine::Action::Filter)
        return runFilter(STDIN_FILENO, STDOUT_FILENO, programDir, prompts);
    try {
        // A list that could not be read is no answer, even when it would have been empty.
        checkWritable(STDOUT_FILENO, standardOutput);
    } catch (const Error& error) {
        prompts.showError(error.what());
        return 2;
    }
    return runCheck(command.files, programDir, std::cout, prompts);
}

int printToStandardOutput(const std::string& text) {
    try {
        writeAll(STDOUT_FILENO, text.data(), text.size(), standardOutput);
        return 0;
    } catch (const Error& error) {
        TerminalPrompts(std::cin, std::cerr).showError(error.what());
        return 1;
    }
}

} // namespace stepwell
