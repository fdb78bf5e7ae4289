// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace stepwell {

/// What the program was asked to do.
struct CommandLine {
    enum class Action {
        Window,    // no file: open the window
        Convert,   // convert the files
        Filter,    // "-": standard input to standard output
        Check,     // --check: list the files that would change
        Diff,      // --diff: show how the files (or standard input) would change
        WhichTags, // --which-tags: name the tag table that applies
        Learn,     // --learn: learn a tag table from the pages
        Explain,   // --explain: show why each line of a file comes out as it does
        Help,
        Version,
        UsageError,
    };
    Action action = Action::Window;
    std::vector<std::string> files; // tokens to convert, check or diff, in order
    bool standardInput = false;     // "-" was given (Filter, or Diff of standard input)
    std::string tags;               // --tags FILE; "" when not given
    std::string stdinName;          // --stdin-filename PATH: the file "-" is taken for
    std::optional<bool> replace;    // --replace or --no-replace, for this run only
    bool yes = false;               // --yes: every question is answered Yes
    unsigned jobs = 0;              // --jobs N: files at a time; 0 when not given
    std::string error;              // what is wrong, for UsageError
};

/// Reads the arguments after the program's name, GNU style: options anywhere, "--" ends
/// them, "--tags FILE" or "--tags=FILE" (and so every option with a value), "-j N" or "-jN".
/// "--help" and "--version" answer at once. Unknown or conflicting options are a UsageError,
/// before any file is touched.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

/// The text of --help.
std::string usageText();

/// The text of --version: the version line, the copyright and the licence.
std::string versionText();

} // namespace stepwell
