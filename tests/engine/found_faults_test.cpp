// Faults found by fuzzing and fault injection, kept so that they stay fixed.
#include "line_indenter.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace stepwell
