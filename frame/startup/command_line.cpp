// SPDX-License-Identifier: MIT
#include "frame/startup/command_line.h"

#include "frame/startup/options.h"
#include "frame/startup/run_size.h"

#include <optional>

namespace stepwell {
namespace {

using Action = CommandLine::Action;

CommandLine usageError(std::string error) {
    CommandLine command;
    command.action = Action::UsageError;
    command.error = std::move(error);
    return command;
}

CommandLine answerWith(Action action) {
    CommandLine command;
    command.action = action;
    return command;
}

// --learn and --explain: the pages to learn from, or the one file (or '-') to explain.
CommandLine chooseStudy(CommandLine command, bool learn) {
    const std::string option = learn ? "--learn" : "--explain";
    if (command.replace || command.yes)
        return usageError(option + " writes no file and takes no --replace, --no-replace or --yes");
    if (learn && !command.tags.empty())
        return usageError("--learn makes a tag table and takes no --tags");
    if (learn && command.standardInput)
        return usageError("--learn reads pages from files, not from '-'");
    if (!command.stdinName.empty() && !command.standardInput)
        return usageError("--stdin-filename names what '-' reads, and no '-' was given");
    const std::size_t inputs = command.files.size() + (command.standardInput ? 1 : 0);
    if (inputs == 0)
        return usageError(option +
                          (learn ? " needs a page to learn from" : " needs a file to explain"));
    if (!learn && inputs > 1)
        return usageError("--explain takes one file, or '-'");
    command.action = learn ? Action::Learn : Action::Explain;
    return command;
}

// The modes asked for; a run has one.
struct Modes {
    bool check = false, diff = false, whichTags = false, learn = false, explain = false;
    int count() const {
        return int(check) + int(diff) + int(whichTags) + int(learn) + int(explain);
    }
};

// The mode the options ask for, from what was given; a usage error when they contradict
// each other or miss their files.
CommandLine chooseAction(CommandLine command, const Modes& modes, bool optionsEnded) {
    const auto [check, diff, whichTags, learn, explain] = modes;
    if (modes.count() > 1)
        return usageError(
            "--check, --diff, --which-tags, --learn and --explain cannot be combined");
    if (learn || explain)
        return chooseStudy(std::move(command), learn);
    if (command.replace && (check || diff || whichTags || command.standardInput))
        return usageError(std::string(*command.replace ? "--replace" : "--no-replace") +
                          " applies to a conversion of files, not to " +
                          (check       ? "--check"
                           : diff      ? "--diff"
                           : whichTags ? "--which-tags"
                                       : "'-'"));
    if (command.standardInput && (check || whichTags))
        return usageError("'-' converts standard input and takes no --check or --which-tags");
    if (command.standardInput && !command.files.empty())
        return usageError("'-' converts standard input and takes no file");
    if (!command.stdinName.empty() && !command.standardInput)
        return usageError("--stdin-filename names what '-' reads, and no '-' was given");
    if (whichTags) {
        if (command.files.size() > 1)
            return usageError("--which-tags takes at most one file");
        command.action = Action::WhichTags;
    } else if (check || diff) {
        if (command.files.empty() && !command.standardInput)
            return usageError(std::string(check ? "--check" : "--diff") +
                              " needs a file to look at");
        command.action = check ? Action::Check : Action::Diff;
    } else if (command.standardInput) {
        command.action = Action::Filter;
    } else if (!command.files.empty()) {
        command.action = Action::Convert;
    } else if (optionsEnded) {
        return usageError("no file named after '--'");
    } else if (command.replace || command.yes || !command.tags.empty() || command.jobs) {
        return usageError("no file to convert: the options apply to files named with them");
    }
    return command;
}

// The number of --jobs: plain digits, 1 to maxJobs.
std::optional<unsigned> jobsIn(const std::string& value) {
    if (value.empty() || value.size() > 3 ||
        value.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned jobs = static_cast<unsigned>(std::stoul(value));
    if (jobs < 1 || jobs > maxJobs)
        return std::nullopt;
    return jobs;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    bool optionsEnded = false;
    Modes modes;
    bool replace = false, noReplace = false;
    std::optional<Action> answer; // --help or --version, whichever came first
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            if (!optionsEnded && argument == "-")
                command.standardInput = true;
            else
                command.files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const OptionInfo* info = findOption(std::string_view(argument).substr(0, equals));
        // A short option's value may follow it at once: -j4.
        const OptionInfo* shortWithValue =
            argument[1] != '-' ? findOption(argument.substr(0, 2)) : nullptr;
        const bool attached = !info && shortWithValue && !shortWithValue->argument.empty();
        if (attached)
            info = shortWithValue;
        if (!info || (info->argument.empty() && equals != std::string::npos))
            return usageError("unknown option '" + argument + "'");
        std::string value;
        if (!info->argument.empty()) {
            if (attached)
                value = argument.substr(2);
            else if (equals != std::string::npos)
                value = argument.substr(equals + 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            if (value.empty())
                return usageError(std::string(info->name) + " needs " +
                                  std::string(info->argument));
        }
        switch (info->option) {
        case Option::Help:
            answer = answer.value_or(Action::Help);
            break;
        case Option::Version:
            answer = answer.value_or(Action::Version);
            break;
        case Option::Tags:
            // Two tables for one run would leave the user guessing which one applied.
            if (!command.tags.empty() && value != command.tags)
                return usageError("--tags names two tables, '" + command.tags + "' and '" + value +
                                  "'");
            command.tags = value;
            break;
        case Option::StdinFilename:
            if (!command.stdinName.empty() && value != command.stdinName)
                return usageError("--stdin-filename names two files, '" + command.stdinName +
                                  "' and '" + value + "'");
            command.stdinName = value;
            break;
        case Option::Check:
            modes.check = true;
            break;
        case Option::Diff:
            modes.diff = true;
            break;
        case Option::WhichTags:
            modes.whichTags = true;
            break;
        case Option::Learn:
            modes.learn = true;
            break;
        case Option::Explain:
            modes.explain = true;
            break;
        case Option::Replace:
            replace = true;
            break;
        case Option::NoReplace:
            noReplace = true;
            break;
        case Option::Yes:
            command.yes = true;
            break;
        case Option::Jobs: {
            const std::optional<unsigned> jobs = jobsIn(value);
            if (!jobs)
                return usageError("--jobs takes a number of files from 1 to " +
                                  std::to_string(maxJobs) + ", not '" + value + "'");
            command.jobs = *jobs;
            break;
        }
        }
    }
    // A misspelt option is an error wherever it stands, even beside --help.
    if (answer)
        return answerWith(*answer);
    if (replace && noReplace)
        return usageError("--replace and --no-replace cannot be combined");
    if (replace || noReplace)
        command.replace = replace;
    return chooseAction(std::move(command), modes, optionsEnded);
}

std::string usageText() {
    return "Usage: stepwell [OPTION]... [FILE]...\n"
           "       stepwell [--diff] [--stdin-filename=PATH] -\n"
           "       stepwell --check FILE...\n"
           "       stepwell --diff FILE...\n"
           "       stepwell --which-tags [FILE]\n"
           "       stepwell --learn PAGE...\n"
           "       stepwell --explain FILE|-\n"
           "Re-indent HTML or any line-oriented text with tabs, following a tag table.\n"
           "\n"
           "Each FILE is converted to FILE.ident beside it, or replaced (after a question)\n"
           "when the replace setting is on. A FILE with * or ? converts every matching file\n"
           "of its folder; a folder part ** stands for any number of folders. A name that\n"
           "names an existing file is that file. With no FILE the window opens.\n"
           "\n" +
           optionLines() +
           "\n"
           "The tag table is the first of: --tags, $STEPWELL_TAGS, .stepwell-tags in the\n"
           "file's folder or the nearest one above it, StepwellTag.txt beside the program,\n"
           "$XDG_CONFIG_HOME/stepwell/StepwellTag.txt, the system's stepwell/StepwellTag.txt.\n"
           "\n"
           "Exit status: 0 when every file converted or its question was declined,\n"
           "1 when a conversion failed, 2 for a usage error. With --check and --diff: 0 when\n"
           "no file would change, 1 when some would, 2 when a file could not be checked.\n"
           "With --which-tags: 0 when a table applies, 1 when none does, 2 when the table\n"
           "found cannot be read or trusted. With --learn: 0 when a table was learned,\n"
           "1 when no page gave anything or one could not be read.\n"
           "\n"
           "Report problems at <" STEPWELL_ISSUES_URL ">.\n";
}

// The version line, then the copyright and the licence in the words GNU tools use.
std::string versionText() {
    return "stepwell " STEPWELL_VERSION "\n"
           "Copyright (C) 2026 the Stepwell authors.\n"
           "License MIT: <https://opensource.org/licenses/MIT>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

} // namespace stepwell
