// SPDX-License-Identifier: MIT
#include "frame/startup/program.h"

#include "frame/prompts/terminal_prompts.h"
#include "frame/startup/batch.h"
#include "frame/startup/check.h"
#include "frame/startup/command_line.h"
#include "frame/startup/filter.h"
#include "frame/startup/startup.h"
#include "frame/startup/window_module.h"
#include "frame/sys/fd_io.h"
#include "frame/sys/files.h"
#include "frame/sys/process_start.h"
#include "frame/text/error.h"
#include "frame/text/paths.h"
#include "frame/text/shown_text.h"

#include <iostream>

namespace stepwell {
namespace {

using Action = CommandLine::Action;

const std::string standardOutput = "standard output";

// The help or the version on standard output; 1, with an error, when it cannot be written.
int print(const std::string& text, Prompts& errors) {
    try {
        writeAll(standardOutputFd, text.data(), text.size(), standardOutput);
        return 0;
    } catch (const Error& error) {
        errors.showError(error.what());
        return 1;
    }
}

// A check's report that cannot be written is no answer, even when it would have been empty.
bool reportWritable(Prompts& errors) {
    try {
        checkWritable(standardOutputFd, standardOutput);
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
// current folder. 0 when one does, 1 when none does, 2 when the answer is unsure: the table
// found cannot be read or trusted, or the answer cannot be written.
int whichTags(const std::vector<std::string>& files, const TagTablePlaces& places,
              Prompts& errors) {
    std::string folder;
    if (!files.empty())
        folder = isFolder(files[0]) ? files[0] : folderPart(files[0]);
    std::string table;
    try {
        table = findTagTable(places, folder);
        if (table.empty()) {
            errors.showError("no tag table applies " +
                             (files.empty() ? std::string("here") : "to " + files[0]) +
                             "; lines would only lose their leading blanks");
            return 1;
        }
        readTagFile(table);
    } catch (const Error& error) {
        errors.showError(error.what());
        return 2;
    }
    return print(table + "\n", errors) == 0 ? 0 : 2;
}

// Tells once per run that no table applies, so that a file whose indentation disappears
// does not surprise anyone; the run goes on as it would.
void noteWhenNoTableApplies(TagTablePlaces& places, bool& said, Prompts& errors) {
    places.noneApplies = [&errors, &said](const std::string& folder) {
        if (!said)
            errors.showError("no tag table applies" +
                             (folder.empty() ? std::string() : " in " + folder) +
                             "; lines only lose their leading blanks (see --which-tags)");
        said = true;
    };
}

int convertFiles(const CommandLine& command, const StartupState& state, const TagTablePlaces& tags,
                 int& argc, char** argv) {
    const bool replace = command.replace.value_or(replacesFiles(state.replaceSetting));
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
        std::cerr << "stepwell: " << escapeControlBytes(command.error)
                  << "\nTry 'stepwell --help'.\n";
        return 2;
    case Action::Window:
        return openWindow(programDirectory(), argc, argv);
    default:
        break;
    }
    // A batch keeps the directory it was started in, so relative names mean what the user
    // typed; the default folder matters only to the window.
    const StartupState state = startUp();
    TagTablePlaces tags = state.places.tagTables(command.tags);
    bool toldNoTable = false;
    if (command.action != Action::WhichTags)
        noteWhenNoTableApplies(tags, toldNoTable, errors);
    const bool checking = command.action == Action::Check || command.action == Action::Diff;
    if (checking && !reportWritable(errors))
        return 2;
    if (!namedTableReadable(tags, errors))
        return checking ? 2 : 1;
    switch (command.action) {
    case Action::WhichTags:
        return whichTags(command.files, tags, errors);
    case Action::Filter:
        return runFilter(tags, errors);
    case Action::Check:
        return runCheck(command.files, tags, std::cout, errors, ReportKind::Names);
    case Action::Diff:
        if (command.standardInput)
            return runDiffOfInput(tags, std::cout, errors);
        return runCheck(command.files, tags, std::cout, errors, ReportKind::Diffs);
    default:
        return convertFiles(command, state, tags, argc, argv);
    }
}

} // namespace stepwell
