// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace stepwell {

/// Every option of the command line.
enum class Option {
    Check,
    Diff,
    Replace,
    NoReplace,
    Yes,
    Tags,
    StdinFilename,
    Jobs,
    WhichTags,
    Learn,
    Explain,
    Help,
    Version,
};

/// One option as the parser, --help, the manual page and the completions know it. The one
/// table of them is the only place an option is described; a test checks that the manual page
/// and the completions name the same options.
struct OptionInfo {
    Option option;
    std::string_view name;      // "--tags"
    std::string_view shortName; // "-h", or ""
    std::string_view argument;  // "TABLE" for --tags=TABLE, or "" for none
    std::string_view summary;   // the option's lines in --help, '\n' between them
};

/// The options, in the order --help lists them.
std::span<const OptionInfo> optionTable();

/// The option named `name` ("--tags" or "-h"), or null.
const OptionInfo* findOption(std::string_view name);

/// The lines of --help that list the options: "-" first, then the table, then "--".
std::string optionLines();

} // namespace stepwell
