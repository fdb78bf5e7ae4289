// SPDX-License-Identifier: MIT
#include "frame/command_line.h"

namespace stepwell {
namespace {

using Action = CommandLine::Action;

CommandLine usageError(std::string error) {
    CommandLine command;
    command.action = Action::UsageError;
    command.error = std::move(error);
    return command;
}

CommandLine answer(Action action) {
    CommandLine command;
    command.action = action;
    return command;
}

// --learn and --explain: the pages to learn from, or the one file (or '-') to explain.
CommandLine settleStudy(CommandLine command, bool learn) {
    const std::string option = learn ? "--learn" : "--explain";
    if (command.replace || command.yes)
        return usageError(option + " writes no file and takes no --replace, --no-replace or --yes");
    if (learn && !command.tags.empty())
        return usageError("--learn makes a tag table and takes no --tags");
    if (learn && command.standardInput)
        return usageError("--learn reads pages from files, not from '-'");
    const std::size_t inputs = command.files.size() + (command.standardInput ? 1 : 0);
    if (inputs == 0)
        return usageError(option +
                          (learn ? " needs a page to learn from" : " needs a file to explain"));
    if (!learn && inputs > 1)
        return usageError("--explain takes one file, or '-'");
    command.action = learn ? Action::Learn : Action::Explain;
    return command;
}

// The mode the options ask for, from what was given; a usage error when they contradict
// each other or miss their files.
CommandLine settle(CommandLine command, bool check, bool diff, bool whichTags, bool learn,
                   bool explain, bool optionsEnded) {
    const int modes = int(check) + int(diff) + int(whichTags) + int(learn) + int(explain);
    if (modes > 1)
        return usageError(
            "--check, --diff, --which-tags, --learn and --explain cannot be combined");
    if (learn || explain)
        return settleStudy(std::move(command), learn);
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
    } else if (command.replace || command.yes || !command.tags.empty()) {
        return usageError("no file to convert: the options apply to files named with them");
    }
    return command;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    bool optionsEnded = false, check = false, diff = false, whichTags = false;
    bool learn = false, explain = false;
    bool replace = false, noReplace = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            if (!optionsEnded && argument == "-")
                command.standardInput = true;
            else
                command.files.push_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            return answer(Action::Help);
        } else if (argument == "--version") {
            return answer(Action::Version);
        } else if (name == "--tags") {
            if (equals != std::string::npos)
                command.tags = argument.substr(equals + 1);
            else if (i + 1 < arguments.size())
                command.tags = arguments[++i];
            if (command.tags.empty())
                return usageError("--tags needs the tag table's file");
        } else if (argument == "--check") {
            check = true;
        } else if (argument == "--diff") {
            diff = true;
        } else if (argument == "--which-tags") {
            whichTags = true;
        } else if (argument == "--learn") {
            learn = true;
        } else if (argument == "--explain") {
            explain = true;
        } else if (argument == "--replace") {
            replace = true;
        } else if (argument == "--no-replace") {
            noReplace = true;
        } else if (argument == "--yes") {
            command.yes = true;
        } else {
            return usageError("unknown option '" + argument + "'");
        }
    }
    if (replace && noReplace)
        return usageError("--replace and --no-replace cannot be combined");
    if (replace || noReplace)
        command.replace = replace;
    return settle(std::move(command), check, diff, whichTags, learn, explain, optionsEnded);
}

std::string usageText() {
    return "Usage: stepwell [OPTION]... [FILE]...\n"
           "       stepwell [--diff] -\n"
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
           "\n"
           "  -                  convert standard input to standard output, asking nothing\n"
           "      --check        write nothing; list each FILE whose indentation would change\n"
           "      --diff         write nothing; show the changes as a unified diff\n"
           "      --replace      replace each FILE, whatever the stored setting says\n"
           "      --no-replace   write FILE.ident, whatever the stored setting says\n"
           "      --yes          answer Yes to every question\n"
           "      --tags=TABLE   use the tag table in the file TABLE\n"
           "      --which-tags   print the tag table that applies to FILE (or here)\n"
           "      --learn        print a tag table learned from the indentation of each\n"
           "                     PAGE; how well it fits each page goes to standard error\n"
           "      --explain      show for each line of FILE (or standard input) its level,\n"
           "                     the entries that counted and the rule that placed it\n"
           "  -h, --help         show this help and exit\n"
           "      --version      show the version and exit\n"
           "      --             treat every later argument as a file name\n"
           "\n"
           "The tag table is the first of: --tags, $STEPWELL_TAGS, .stepwell-tags in the\n"
           "file's folder or the nearest one above it, StepwellTag.txt beside the program,\n"
           "$XDG_CONFIG_HOME/stepwell/StepwellTag.txt, the system's stepwell/StepwellTag.txt.\n"
           "\n"
           "Exit status: 0 when every file converted or its question was declined,\n"
           "1 when a conversion failed, 2 for a usage error. With --check and --diff: 0 when\n"
           "no file would change, 1 when some would, 2 when a file could not be checked.\n"
           "With --which-tags: 0 when a table applies, 1 when none does. With --learn:\n"
           "0 when a table was learned, 1 when no page gave anything or one could not be read.\n";
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
