#pragma once

#include "engine/convert.h"
#include "engine/core/prompts.h"

#include <functional>
#include <string>
#include <vector>

namespace stepwell {

/// What the program was asked to do.
struct CommandLine {
    enum class Action { Window, Convert, Filter, Check, Help, Version, UsageError };
    Action action = Action::Window;
    std::vector<std::string> files; // tokens to convert or check, in order
    std::string error;              // what is wrong, for UsageError
};

/// Reads the arguments after the program's name. Each argument is one token; "--help" and
/// "--version" answer at once; "--" ends the options. A lone "-" asks for the filter from
/// standard input to standard output and takes no other token; "--check" checks the tokens
/// instead of converting them.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

/// The text of --help.
std::string usageText();

/// The text of --version.
std::string versionText();

/// The files a token names: a token whose name holds '*' or '?' names every ordinary file
/// of its folder that matches, in name order; any other token names itself. Throws Error
/// when a wildcard token matches nothing or its folder cannot be read.
std::vector<std::string> expandToken(const std::string& token);

/// Calls `each` with every file the tokens name, in order. A token that names no file (a
/// wildcard that matches nothing, a folder that cannot be read) is reported through
/// `prompts` and the rest go on; returns false when that happened.
bool forEachNamedFile(const std::vector<std::string>& tokens, Prompts& prompts,
                      const std::function<void(const std::string&)>& each);

/// Converts the files the tokens name, one after another; a failed token does not stop the
/// rest. Returns the exit status: 0 when every file converted or was declined, 1 when any
/// failed.
int runCommandLine(const std::vector<std::string>& tokens, const ConvertOptions& options,
                   Prompts& prompts);

} // namespace stepwell
