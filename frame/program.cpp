// SPDX-License-Identifier: MIT
#include "frame/program.h"

#include "frame/batch.h"
#include "frame/check.h"
#include "frame/command_line.h"
#include "frame/explain.h"
#include "frame/filter.h"
#include "frame/learn.h"
#include "frame/startup.h"
#include "frame/sys/fd_io.h"
#include "frame/sys/files.h"
#include "frame/sys/process_start.h"
#include "frame/terminal_prompts.h"
#include "frame/text/error.h"
#include "frame/text/paths.h"
#include "frame/window_module.h"

#include <iostream>
#include <unistd.h>

namespace stepwell {
namespace {

using Action = CommandLine::Action;

const std::string standardOutput = "standard output";

// The help or the version on standard output; 1, with an error, when it cannot be written.
int print(const std::string& text, Prompts& errors) {
    try {
        writeAll(STDOUT_FILENO, text.data(), text.size(), standardOutput);
        return 0;
    } catch (const Error& error) {
        errors.showError(error.what());
        return 1;
    }
}

// A check's report that cannot be written is no answer, even when it would have been empty.
bool reportWritable(Prompts& errors) {
    try {
        checkWritable(STDOUT_FILENO, standardOutput);
        return true;
    } catch (const Error& error) {
        errors.showError(error.what());
        return false;
    }
}

// A table named for the run must be there: falling back to another would convert with
// rules the user did not ask for.
bool namedTableReadable(const TagTablePlaces& places, Prompts& errors) {
    if (places.named.empty())
        return true;
    try {
        readTagFile(places.named);
        return true;
    } catch (const Error& error) {
        errors.showError(error.what());
        return false;
    }
}

// --which-tags: the table that applies to `file` (a folder names itself), or to the
// current folder.
int whichTags(const std::vector<std::string>& files, const TagTablePlaces& places,
              Prompts& errors) {
    std::string folder;
    if (!files.empty())
        folder = isFolder(files[0]) ? files[0] : folderPart(files[0]);
    const std::string table = findTagTable(places, folder);
    if (table.empty()) {
        errors.showError("no tag table applies " +
                         (files.empty() ? std::string("here") : "to " + files[0]) +
                         "; lines would only lose their leading blanks");
        return 1;
    }
    try {
        readTagFile(table);
    } catch (const Error& error) {
        errors.showError(error.what());
        return 1;
    }
    std::cout << table << '\n' << std::flush;
    return std::cout ? 0 : 1;
}

int convertFiles(const CommandLine& command, const StartupState& state, const TagTablePlaces& tags,
                 int& argc, char** argv) {
    const int replace = command.replace ? (*command.replace ? 1 : 0) : state.replaceSetting;
    const auto prompts = promptsForCommandLine(state.places.programDir, argc, argv);
    if (command.yes) {
        YesPrompts yes(*prompts);
        return runCommandLine(command.files, {tags, replace}, yes);
    }
    return runCommandLine(command.files, {tags, replace}, *prompts);
}

} // namespace

int runStepwell(int& argc, char** argv) {
    prepareProcess();
    const CommandLine command = parseCommandLine({argv + 1, argv + argc});
    // The modes that ask nothing show only errors.
    TerminalPrompts errors(std::cin, std::cerr);
    switch (command.action) {
    case Action::Help:
        return print(usageText(), errors);
    case Action::Version:
        return print(versionText(), errors);
    case Action::UsageError:
        std::cerr << "stepwell: " << command.error << "\nTry 'stepwell --help'.\n";
        return 2;
    case Action::Window:
        return openWindow(programDirectory(), argc, argv);
    case Action::Learn:
        return runLearn(command.files, std::cout, std::cerr, errors);
    default:
        break;
    }
    // A batch keeps the directory it was started in, so relative names mean what the user
    // typed; the default folder matters only to the window.
    const StartupState state = startUp();
    const TagTablePlaces tags = state.places.tagTables(command.tags);
    const bool checking = command.action == Action::Check || command.action == Action::Diff;
    if (checking && !reportWritable(errors))
        return 2;
    if (!namedTableReadable(tags, errors))
        return checking ? 2 : 1;
    switch (command.action) {
    case Action::WhichTags:
        return whichTags(command.files, tags, errors);
    case Action::Explain:
        return runExplain(command.standardInput ? "" : command.files[0], tags, std::cout, errors);
    case Action::Filter:
        return runFilter(STDIN_FILENO, STDOUT_FILENO, tags, errors);
    case Action::Check:
        return runCheck(command.files, tags, std::cout, errors, Report::Names);
    case Action::Diff:
        if (command.standardInput)
            return runDiffOfInput(STDIN_FILENO, tags, std::cout, errors);
        return runCheck(command.files, tags, std::cout, errors, Report::Diffs);
    default:
        return convertFiles(command, state, tags, argc, argv);
    }
}

} // namespace stepwell
