// SPDX-License-Identifier: MIT
#include "frame/startup/options.h"

#include <array>

namespace stepwell {
namespace {

constexpr std::array<OptionInfo, 13> options{{
    {Option::Check, "--check", "", "",
     "write nothing; list each FILE whose indentation\nwould change"},
    {Option::Diff, "--diff", "", "", "write nothing; show the changes as a unified diff"},
    {Option::Replace, "--replace", "", "", "replace each FILE, whatever the stored setting says"},
    {Option::NoReplace, "--no-replace", "", "",
     "write FILE.ident, whatever the stored setting says"},
    {Option::Yes, "--yes", "", "", "answer Yes to every question"},
    {Option::Tags, "--tags", "", "TABLE", "use the tag table in the file TABLE"},
    {Option::StdinFilename, "--stdin-filename", "", "PATH",
     "with -: find the tag table, and name the input,\nas if it were PATH"},
    {Option::Jobs, "--jobs", "-j", "N", "work on N files at a time (default: one a\nprocessor)"},
    {Option::WhichTags, "--which-tags", "", "",
     "print the tag table that applies to FILE (or here)"},
    {Option::Learn, "--learn", "", "",
     "print a tag table learned from how each PAGE is\n"
     "indented; how well it fits each page goes to\n"
     "standard error"},
    {Option::Explain, "--explain", "", "",
     "show for each line of FILE (or standard input) its\n"
     "level, the entries that counted and the rule that\n"
     "placed it"},
    {Option::Help, "--help", "-h", "", "show this help and exit"},
    {Option::Version, "--version", "", "", "show the version and exit"},
}};

// One line of the list: the names in a column of their own, then the summary.
std::string line(std::string_view names, std::string_view summary) {
    constexpr std::size_t column = 25;
    std::string text = "  " + std::string(names);
    text.append(text.size() < column ? column - text.size() : 1, ' ');
    // A summary of several lines goes on in the same column.
    for (const char c : summary)
        text += c == '\n' ? "\n" + std::string(column, ' ') : std::string(1, c);
    return text + "\n";
}

} // namespace

std::span<const OptionInfo> optionTable() {
    return options;
}

const OptionInfo* findOption(std::string_view name) {
    for (const OptionInfo& info : options)
        if (info.name == name || (!info.shortName.empty() && info.shortName == name))
            return &info;
    return nullptr;
}

std::string optionLines() {
    std::string text = line("-", "convert standard input to standard output, asking\nnothing");
    for (const OptionInfo& info : options) {
        std::string names = info.shortName.empty() ? "    " : std::string(info.shortName) + ", ";
        names += info.name;
        if (!info.argument.empty())
            names.append("=").append(info.argument);
        text += line(names, info.summary);
    }
    return text + line("    --", "treat every later argument as a file name");
}

} // namespace stepwell
