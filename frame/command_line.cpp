#include "frame/command_line.h"

#include "frame/sys/folder_listing.h"
#include "frame/text/error.h"
#include "frame/text/paths.h"
#include "frame/text/wildcards.h"

namespace stepwell {

namespace {

CommandLine usageError(std::string error) {
    return {CommandLine::Action::UsageError, {}, std::move(error)};
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    bool optionsEnded = false;
    bool filter = false;
    bool check = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "-") {
            filter = true;
            continue;
        }
        if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            if (argument == "--") {
                optionsEnded = true;
            } else if (argument == "--help" || argument == "-h") {
                return {CommandLine::Action::Help, {}, {}};
            } else if (argument == "--version") {
                return {CommandLine::Action::Version, {}, {}};
            } else if (argument == "--check") {
                check = true;
            } else {
                return usageError("unknown option '" + argument + "'");
            }
            continue;
        }
        command.files.push_back(argument);
    }
    if (filter) {
        if (check || !command.files.empty())
            return usageError("'-' converts standard input and takes no file or --check");
        command.action = CommandLine::Action::Filter;
        return command;
    }
    if (check) {
        if (command.files.empty())
            return usageError("--check needs a file to check");
        command.action = CommandLine::Action::Check;
        return command;
    }
    command.action = command.files.empty() && !optionsEnded ? CommandLine::Action::Window
                                                            : CommandLine::Action::Convert;
    if (command.action == CommandLine::Action::Convert && command.files.empty())
        return usageError("no file named after '--'");
    return command;
}

std::string usageText() {
    return "Usage: stepwell [FILE]...\n"
           "       stepwell -\n"
           "       stepwell --check FILE...\n"
           "Re-indent HTML or any line-oriented text with tabs, following the tag table\n"
           "StepwellTag.txt in the program's folder.\n"
           "\n"
           "Each FILE is converted to FILE.ident beside it, or replaced when the replace\n"
           "setting in Stepwell.ini is on (after a question). A FILE with * or ? converts\n"
           "every matching file of its folder. With no FILE the window opens.\n"
           "\n"
           "  -              convert standard input to standard output, asking nothing\n"
           "      --check    write nothing; list each FILE whose indentation would change\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "      --         treat every later argument as a file name\n"
           "\n"
           "Exit status: 0 when every file converted or its question was declined,\n"
           "1 when a conversion failed, 2 for a usage error. With --check: 0 when no file\n"
           "would change, 1 when some would, 2 when a file could not be checked.\n";
}

std::string versionText() {
    return std::string("stepwell ") + STEPWELL_VERSION + "\n";
}

std::vector<std::string> expandToken(const std::string& token) {
    const std::string name = namePart(token);
    if (!hasWildcards(name))
        return {token};
    const std::string folder = folderPart(token);
    std::vector<std::string> paths;
    const auto matches = [&name](std::string_view candidate) {
        return wildcardMatch(name, candidate);
    };
    for (const std::string& match : listFiles(folder, matches))
        paths.push_back(folder + match);
    if (paths.empty())
        throw Error("no file matches \"" + token + "\"");
    return paths;
}

bool forEachNamedFile(const std::vector<std::string>& tokens, Prompts& prompts,
                      const std::function<void(const std::string&)>& each) {
    bool allNamed = true;
    for (const std::string& token : tokens) {
        std::vector<std::string> paths;
        try {
            paths = expandToken(token);
        } catch (const Error& error) {
            prompts.showError(error.what());
            allNamed = false;
            continue;
        }
        for (const std::string& path : paths)
            each(path);
    }
    return allNamed;
}

int runCommandLine(const std::vector<std::string>& tokens, const ConvertOptions& options,
                   Prompts& prompts) {
    bool failed = false;
    const bool allNamed = forEachNamedFile(tokens, prompts, [&](const std::string& path) {
        failed |= convertFile(path, options, prompts) == ConvertResult::Failed;
    });
    return failed || !allNamed ? 1 : 0;
}

} // namespace stepwell
