// SPDX-License-Identifier: MIT
#include "engine/core/line_error.h"
#include "engine/core/line_indenter.h"

#include "tests/support/tables.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace stepwell {
namespace {

using test::tableOf;

// Indents lines in order from level 0; returns the output lines.
std::vector<std::string> indentAll(const std::vector<std::string>& lines, const TagTable& table,
                                   std::int16_t* finalLevel = nullptr) {
    std::int16_t level = 0;
    std::vector<std::string> out;
    for (const auto& line : lines)
        out.push_back(indentLine(line, table, level));
    if (finalLevel)
        *finalLevel = level;
    return out;
}

const TagTable tableRows =
    tableOf({{"<TABLE", "1"}, {"</TABLE", "-1"}, {"<TR", "1"}, {"</TR", "-1"}});

TEST(IndentLine, WorkedExample) {
    std::int16_t level = 0;
    EXPECT_EQ(indentLine("<TABLE>", tableRows, level), "<TABLE>");
    EXPECT_EQ(level, 1);
    EXPECT_EQ(indentLine("  <TR><TD>x</TD></TR>", tableRows, level), "\t<TR><TD>x</TD></TR>");
    EXPECT_EQ(level, 1);
    EXPECT_EQ(indentLine("\t</TABLE>", tableRows, level), "</TABLE>");
    EXPECT_EQ(level, 0);
}

TEST(IndentLine, StripsOnlyLeadingBlanks) {
    EXPECT_EQ(stripLeadingBlanks(" \t x \t"), "x \t");
    EXPECT_EQ(stripLeadingBlanks(" \t "), "");
    EXPECT_EQ(stripLeadingBlanks(""), "");
    EXPECT_EQ(stripLeadingBlanks("\vx"), "\vx"); // only spaces and tabs are blanks
}

TEST(IndentLine, WithoutTableOnlyStrips) {
    EXPECT_EQ(indentAll({"  <table>", "\t\t<tr>", "x  "}, TagTable{}),
              (std::vector<std::string>{"<table>", "<tr>", "x  "}));
}

TEST(IndentLine, BlankLineIsTabsForTheLevel) {
    EXPECT_EQ(indentAll({"<table><tr>", "   \t ", ""}, tableRows),
              (std::vector<std::string>{"<table><tr>", "\t\t", "\t\t"}));
}

TEST(IndentLine, MatchesAnywhereIgnoringCaseAndCountsEveryOccurrence) {
    const TagTable td = tableOf({{"<td", "1"}});
    std::int16_t level = 0;
    indentLine("x <a title='<Td'> <TDX> <td>", td, level);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(td.entries()[0].tag, "<TD");
}

TEST(IndentLine, RemovalJoinsTextIntoANewOccurrence) {
    std::int16_t level = 0;
    indentLine("<<AA", tableOf({{"<A", "1"}}), level);
    EXPECT_EQ(level, 2);
}

TEST(IndentLine, OverlappingEntriesCountOnceInTableOrder) {
    // "<TBODY" takes its text away from "<TB", listed after it.
    std::int16_t level = 0;
    indentLine("<tbody>", tableOf({{"<TBODY", "0"}, {"<TB", "5"}}), level);
    EXPECT_EQ(level, 0);
    indentLine("<tbody>", tableOf({{"<TB", "5"}, {"<TBODY", "0"}}), level);
    EXPECT_EQ(level, 5);
}

TEST(IndentLine, LeadingCloserThatBalancesIsWrittenOneLevelOut) {
    std::int16_t level = 2;
    EXPECT_EQ(indentLine("</tr><tr>", tableRows, level), "\t</tr><tr>");
    EXPECT_EQ(level, 2);
}

TEST(IndentLine, LeadingCloserWithNetOpeningIsWrittenAtTheLevel) {
    std::int16_t level = 1;
    EXPECT_EQ(indentLine("</tr><tr><table>", tableRows, level), "\t</tr><tr><table>");
    EXPECT_EQ(level, 2);
}

TEST(IndentLine, CloserAfterTextTakesEffectFromTheNextLine) {
    std::int16_t level = 1;
    EXPECT_EQ(indentLine("x</tr>", tableRows, level), "\tx</tr>");
    EXPECT_EQ(level, 0);
}

TEST(IndentLine, LeadDeltaFollowsTableOrderNotLineOrder) {
    const TagTable table = tableOf({{"</TR>", "-1"}, {"<TD>", "1"}});
    TagScanner scanner(table);
    const LineTally tally = scanner.scan("</TR><TD>");
    EXPECT_EQ(tally.lineDelta, 0);
    EXPECT_EQ(tally.leadDelta, 1);
    std::int16_t level = 1;
    EXPECT_EQ(indentLine("</TR><TD>", table, level), "\t</TR><TD>");
    EXPECT_EQ(level, 1);
}

TEST(IndentLine, NegativeLevelWritesNoTabsButIsKept) {
    std::int16_t level = 0;
    EXPECT_EQ(
        indentAll({"</table>", "</table>", "<table>", "x", "<table>", "y"}, tableRows, &level),
        (std::vector<std::string>{"</table>", "</table>", "<table>", "x", "<table>", "y"}));
    EXPECT_EQ(level, 0);
}

TEST(IndentLine, EmptyTagHidesTheEntriesBehindIt) {
    TagTable table = tableOf({{"<A", "1"}, {"", "1"}, {"<B", "1"}});
    std::int16_t level = 0;
    indentLine("<a><b>", table, level);
    EXPECT_EQ(level, 1);
}

TEST(IndentLine, FractionalDeltasAccumulateAndRoundHalfToEven) {
    const TagTable half = tableOf({{"<H", "0.5"}, {"</H", "-0.5"}});
    EXPECT_EQ(TagScanner(half).scan("<h>").leadDelta, 0); // 0.5 rounds to 0
    std::int16_t level = 0;
    indentLine("<h>", half, level); // 0 + 0.5 rounds to 0
    EXPECT_EQ(level, 0);
    indentLine("<h><h><h>", half, level); // 1.5 rounds to 2
    EXPECT_EQ(level, 2);
    // S < 0 but F = round(-0.5) = 0: the change comes after the line.
    EXPECT_EQ(indentLine("</h>", half, level), "\t\t</h>");
    EXPECT_EQ(level, 2); // 2 - 0.5 = 1.5 rounds to 2
}

TEST(IndentLineErrors, DeltaThatIsNotANumberNamesTagAndText) {
    const TagTable table = tableOf({{"<A", "1"}, {"<B", "x"}});
    std::int16_t level = 0;
    EXPECT_NO_THROW(indentLine("<a>", table, level)); // only a hit converts the delta
    try {
        indentLine("<b>", table, level);
        FAIL() << "no error";
    } catch (const LineError& error) {
        EXPECT_STREQ(error.what(), "tag \"<B\" has the delta \"x\", which is not a number");
    }
}

TEST(IndentLineErrors, LevelAndLeadDeltaOverflow) {
    std::int16_t level = 32767;
    EXPECT_THROW(indentLine("x<table>", tableRows, level), LineError);
    level = -32768;
    EXPECT_THROW(indentLine("</table>", tableRows, level), LineError);
    level = -32768;
    EXPECT_THROW(indentLine("</tr><tr>", tableRows, level), LineError); // rule of one level out
    level = 0;
    EXPECT_THROW(indentLine("<big>", tableOf({{"<BIG", "40000"}}), level), LineError);
    level = 0;
    EXPECT_THROW(indentLine("x<big>", tableOf({{"<BIG", "40000"}}), level), LineError);
    level = 0;
    EXPECT_NO_THROW(indentLine("<ok>", tableOf({{"<OK", "32767"}}), level));
    EXPECT_EQ(level, 32767);
}

} // namespace
} // namespace stepwell
