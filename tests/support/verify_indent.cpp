// SPDX-License-Identifier: MIT
#include "tests/support/verify_indent.h"

#include "engine/core/convert_lines.h"
#include "engine/core/line_error.h"
#include "tests/support/reference_indenter.h"

#include <gtest/gtest.h>

namespace stepwell::test {
namespace {

std::string converted(std::string_view text, const TagTable& table) {
    try {
        return convertText(text, table);
    } catch (const LineError& error) {
        return std::string("error: ") + error.what();
    }
}

// `input` with other leading blanks on every line that a conversion indents; the lines
// inside raw blocks, which it copies, stay as they are.
std::string scrambled(std::string_view input, const TagTable& table) {
    static const char* const blanks[] = {"", "  ", "\t \t", " \t  \t", "\t\t\t\t\t"};
    const std::vector<RefEntry> entries = refEntries(table);
    const RefLines split = refSplit(input);
    std::string out = split.byteOrderMark ? "\xEF\xBB\xBF" : "";
    RefState state;
    for (std::size_t i = 0; i < split.lines.size(); ++i) {
        std::string_view line = split.lines[i];
        const bool copied = state.open >= 0;
        refIndentLine(line, entries, state);
        if (!copied) {
            line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
            out += blanks[i % std::size(blanks)];
        }
        out.append(line).append(split.breaks[i]);
    }
    return out;
}

} // namespace

void verifyIndentAt(const char* file, int line, std::string_view expected, std::string_view input,
                    const TagTable& table) {
    const ::testing::ScopedTrace trace(file, line, "verifyIndent");
    EXPECT_EQ(converted(input, table), expected) << "converting the input";
    EXPECT_EQ(converted(expected, table), expected) << "converting the result again";
    EXPECT_EQ(converted(scrambled(input, table), table), expected)
        << "converting the input with its leading blanks scrambled";
}

} // namespace stepwell::test
