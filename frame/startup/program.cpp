// SPDX-License-Identifier: MIT
#include "frame/startup/program.h"

#include "frame/prompts/terminal_prompts.h"
#include "frame/prompts/yes_prompts.h"
#include "frame/startup/batch.h"
#include "frame/startup/check.h"
#include "frame/startup/command_line.h"
#include "frame/startup/explain.h"
#include "frame/startup/filter.h"
#include "frame/startup/learn.h"
#include "frame/startup/startup.h"
#include "frame/startup/window_module.h"
#include "frame/sys/fd_io.h"
#include "frame/sys/files.h"
#include "frame/sys/process_limits.h"
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

// What the modes that convert need once the command line is read: the start-up state and
// the places of the run's tag tables. A run keeps the directory it was started in, so that
// relative names mean what the user typed; the default folder matters only to the window.
class Run {
public:
    /// With `sayWhenNoTable`, says once, through `errors`, when no table applies to a file,
    /// so that a file whose indentation disappears surprises no one; the run goes on as it
    /// would.
    Run(const CommandLine& command, Prompts& errors, bool sayWhenNoTable = true)
        : state(startUp()), tags(state.places.tagTables(command.tags)), errors_(errors) {
        if (sayWhenNoTable)
            tags.noneApplies = [this](const std::string& folder) { noteNoTable(folder); };
    }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    /// A table named for the run must be there: falling back to another would convert with
    /// rules the user did not ask for.
    bool namedTableReadable() const {
        if (tags.named.empty())
            return true;
        try {
            readTagFile(tags.named);
            return true;
        } catch (const Error& error) {
            errors_.showError(error.what());
            return false;
        }
    }

    const StartupState state;
    TagTablePlaces tags;

private:
    void noteNoTable(const std::string& folder) {
        if (!toldNoTable_)
            errors_.showError("no tag table applies" +
                              (folder.empty() ? std::string() : " in " + folder) +
                              "; lines only lose their leading blanks (see --which-tags)");
        toldNoTable_ = true;
    }

    Prompts& errors_;
    bool toldNoTable_ = false;
};

// The files a run works on at a time: as asked, or one a processor.
unsigned jobsOf(const CommandLine& command) {
    return command.jobs ? command.jobs : availableProcessors();
}

int convertFiles(const CommandLine& command, const Run& run, int& argc, char** argv) {
    const ConvertOptions options{run.tags,
                                 command.replace.value_or(replacesFiles(run.state.replaceSetting))};
    const auto prompts = promptsForCommandLine(run.state.places.programDir, argc, argv);
    if (command.yes) {
        YesPrompts yes(*prompts);
        return runCommandLine(command.files, options, yes, jobsOf(command));
    }
    return runCommandLine(command.files, options, *prompts, jobsOf(command));
}

// --check and --diff: the files' names or their diffs, or the diff of standard input. A
// report that cannot be written, like a table that cannot be read, leaves no sure answer.
int checkFiles(const CommandLine& command, Prompts& errors) {
    if (!reportWritable(errors))
        return 2;
    const Run run(command, errors);
    if (!run.namedTableReadable())
        return 2;
    if (command.action == Action::Check)
        return runCheck(command.files, run.tags, std::cout, errors, ReportKind::Names,
                        jobsOf(command));
    if (command.standardInput)
        return runDiffOfInput(run.tags, std::cout, errors, command.stdinName);
    return runCheck(command.files, run.tags, std::cout, errors, ReportKind::Diffs, jobsOf(command));
}

} // namespace

int runStepwell(int& argc, char** argv) {
    prepareProcess();
    const CommandLine command = parseCommandLine({argv + 1, argv + argc});
    // The modes that ask nothing show only errors, on the terminal.
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
    case Action::WhichTags:
        return whichTags(command.files, Run(command, errors, false).tags, errors);
    case Action::Filter: {
        const Run run(command, errors);
        return run.namedTableReadable() ? runFilter(run.tags, errors, command.stdinName) : 1;
    }
    case Action::Check:
    case Action::Diff:
        return checkFiles(command, errors);
    case Action::Convert: {
        const Run run(command, errors);
        return run.namedTableReadable() ? convertFiles(command, run, argc, argv) : 1;
    }
    case Action::Learn:
        return runLearn(command.files, std::cout, std::cerr, errors);
    case Action::Explain: {
        // An explanation writes nothing but itself, so no note comes when no table applies.
        const Run run(command, errors, false);
        if (!run.namedTableReadable())
            return 1;
        return runExplain(command.standardInput ? command.stdinName : command.files[0],
                          command.standardInput, run.tags, std::cout, errors);
    }
    }
    return 2; // no action is left out above
}

} // namespace stepwell
