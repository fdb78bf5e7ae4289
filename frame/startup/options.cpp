// SPDX-License-Identifier: MIT
#include "frame/startup/options.h"

#include <array>

namespace stepwell {
namespace {

constexpr std::array<OptionSpec, 10> options{{
    {Option::Check, "--check", "", "",
     "write nothing; list each FILE whose indentation would change"},
    {Option::Diff, "--diff", "", "", "write nothing; show the changes as a unified diff"},
    {Option::Replace, "--replace", "", "", "replace each FILE, whatever the stored setting says"},
    {Option::NoReplace, "--no-replace", "", "",
     "write FILE.ident, whatever the stored setting says"},
    {Option::Yes, "--yes", "", "", "answer Yes to every question"},
    {Option::Tags, "--tags", "", "TABLE", "use the tag table in the file TABLE"},
    {Option::Jobs, "--jobs", "-j", "N", "work on N files at a time (default: one a processor)"},
    {Option::WhichTags, "--which-tags", "", "",
     "print the tag table that applies to FILE (or here)"},
    {Option::Help, "--help", "-h", "", "show this help and exit"},
    {Option::Version, "--version", "", "", "show the version and exit"},
}};

// One line of the list: the names in a column of their own, then the summary.
std::string line(std::string_view shortName, std::string_view name, std::string_view summary) {
    constexpr std::size_t column = 21;
    std::string text = "  ";
    text += shortName.empty() ? "    " : std::string(shortName) + ", ";
    text += name;
    text.append(text.size() < column ? column - text.size() : 1, ' ');
    return text + std::string(summary) + "\n";
}

} // namespace

std::span<const OptionSpec> optionTable() {
    return options;
}

const OptionSpec* findOption(std::string_view name) {
    for (const OptionSpec& spec : options)
        if (spec.name == name || (!spec.shortName.empty() && spec.shortName == name))
            return &spec;
    return nullptr;
}

std::string optionLines() {
    std::string text =
        "  -                  convert standard input to standard output, asking nothing\n";
    for (const OptionSpec& spec : options) {
        std::string name(spec.name);
        if (!spec.argument.empty())
            name.append("=").append(spec.argument);
        text += line(spec.shortName, name, spec.summary);
    }
    return text + line("", "--", "treat every later argument as a file name");
}

} // namespace stepwell
