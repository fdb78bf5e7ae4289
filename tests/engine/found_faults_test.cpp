// SPDX-License-Identifier: MIT
// Faults found by fuzzing and fault injection, kept so that they stay fixed.
#include "engine/convert.h"
#include "engine/core/line_error.h"
#include "engine/core/line_indenter.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace stepwell {
namespace {

TEST(FoundFaults, InfiniteDeltasThatCancelAreAnErrorWhateverTheLineStartsWith) {
    // Deltas too large for a double are infinite; two of opposite sign add up to NaN, which
    // no level rule applied to, so a line starting with a closing tag passed unchanged.
    TagTable table;
    table.add("</A", "-1");
    table.add("<X", std::string(400, '9'));
    table.add("<Y", "-" + std::string(400, '9'));
    std::int16_t level = 3;
    EXPECT_THROW(indentLine("</a><x><y>", table, level), LineError);
    EXPECT_THROW(indentLine("z<x><y>", table, level), LineError);
    EXPECT_EQ(level, 3);
}

TEST(FoundFaults, ShortFileEndingInALoneCrIsOneLine) {
    // A file shorter than a byte-order mark is read to its end at once; a CR as its last
    // byte then made the reader go back to the start of the buffer and return empty lines
    // for ever, filling the disk with the result.
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    for (const std::string input : {"\r", "x\r", "\n\r", "\r\r"}) {
        const std::string page = dir.file("page.html");
        test::writeFile(page, input);
        ::unlink((page + ".ident").c_str());
        ASSERT_EQ(convertFile(page, {dir.path(), 0}, prompts), ConvertResult::Converted);
        EXPECT_EQ(test::readFile(page + ".ident"), input == "\n\r" ? "\n\n" : input);
    }
}

} // namespace
} // namespace stepwell
