// SPDX-License-Identifier: MIT
// Raw blocks: lines from an opener through its end text are copied exactly, and the tags
// in them do not move the level.
#include "engine/core/line_error.h"
#include "engine/core/line_indenter.h"

#include "tests/support/tables.h"
#include "tests/support/verify_indent.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace stepwell {
namespace {

using test::tableOf;

const TagTable pageTable = test::rawBlocksTable();

struct Indented {
    std::vector<std::string> lines;
    std::int16_t level;
    bool open;
};

Indented indentAll(const std::vector<std::string>& lines, const TagTable& table = pageTable) {
    LineIndenter indenter(table);
    Indented result;
    for (const auto& line : lines) {
        std::string out;
        indenter.indentLine(line, out);
        result.lines.push_back(out);
    }
    result.level = indenter.level();
    result.open = indenter.inRawBlock();
    return result;
}

using Lines = std::vector<std::string>;

// Pages with raw blocks: each converts to the first text (and the first text to itself).
TEST(RawBlocks, LinesUpToTheEndAreCopiedExactly) {
    const std::pair<std::string, std::string> rows[] = {
        // The lines through the end are copied; the end line moves the level afterwards.
        {"<div>\n\t<pre>  keep\n  <div> as is\n\n\tend</PRE></div>\n<p>next</p>\n",
         "<div>\n  <pre>  keep\n  <div> as is\n\n\tend</PRE></div>\n  <p>next</p>\n"},
        // After "</pre>" the line closes a div: no rule moves the copied line, and the level
        // falls from the next line on.
        {"<div><div>\n\t\t<pre>\n</pre></div>x\n\ty\n", "<div><div>\n<pre>\n</pre></div>x\ny\n"},
        // Opened and closed on one line is no block: the tags before the opener and after
        // the end count; inside they do not.
        {"<div><pre><div></pre><div>\n\t\tx\n\t</div>\n",
         "<div><pre><div></pre><div>\nx\n</div>\n"},
        // Several sections on a line, the last one left open.
        {"<!-- a --><div><!-- <div>\n  <div>\n-->\n\tx\n",
         "<!-- a --><div><!-- <div>\n  <div>\n-->\nx\n"},
        // An end line may open the next block.
        {"<pre>\n a</pre> <!-- b\n  c -->  <div>\n\tx\n",
         "<pre>\n a</pre> <!-- b\n  c -->  <div>\nx\n"},
        // Nested openers are content, and the first end closes.
        {"<pre>\n <pre>\n </pre>\n</pre>\n", "<pre>\n <pre>\n </pre>\n </pre>\n"},
        // Opener and end ignore case.
        {"<PrE>\n x\n </pRe><div>\n\ty\n", "<PrE>\n x\n </pRe><div>\ny\n"},
    };
    for (const auto& [converted, input] : rows) {
        SCOPED_TRACE(input);
        verifyIndent(converted, input, pageTable);
    }
    EXPECT_FALSE(indentAll({"<div><pre><div></pre><div>"}).open);
}

TEST(RawBlocks, AnUnterminatedBlockRunsToTheEnd) {
    const auto out = indentAll({"<div>", "<!-- a", "  <div>", "\t</div>"});
    EXPECT_EQ(out.lines, (Lines{"<div>", "\t<!-- a", "  <div>", "\t</div>"}));
    EXPECT_EQ(out.level, 1);
    EXPECT_TRUE(out.open);
}

TEST(RawBlocks, TheEndCountsWhereverItStandsEvenInsideAnotherTag) {
    // The match is on text: "-->" in an attribute value ends the comment, and what follows
    // it is ordinary text again.
    const auto out = indentAll({"<!--", "<a title=\"-->\"><div>", "x"});
    EXPECT_EQ(out.lines, (Lines{"<!--", "<a title=\"-->\"><div>", "\tx"}));
    // On the opener's line the end is looked for only behind the opener.
    EXPECT_TRUE(indentAll({"--><!--"}).open);
}

TEST(RawBlocks, TheLeftmostOpenerWinsAndTableOrderBreaksATie) {
    // "<pre>" stands first on the line, so the comment opener is its content.
    EXPECT_EQ(indentAll({"<pre><!--", "x</pre>", "y"}).lines, (Lines{"<pre><!--", "x</pre>", "y"}));
    const TagTable tie = tableOf({{"<AB", "raw:]"}, {"<A", "raw:)"}});
    EXPECT_FALSE(indentAll({"<ab ]"}, tie).open);
    EXPECT_TRUE(indentAll({"<ab )"}, tie).open);
    EXPECT_TRUE(indentAll({"<a ]"}, tie).open);
    const TagTable reversed = tableOf({{"<A", "raw:)"}, {"<AB", "raw:]"}});
    EXPECT_FALSE(indentAll({"<ab )"}, reversed).open);
}

TEST(RawBlocks, OpenersAreHiddenFromTheOrdinaryScan) {
    // "<P" does not count the "<pre" it starts, and text on the two sides of a raw section
    // does not join into a tag.
    EXPECT_EQ(indentAll({"<pre>x</pre>", "y"}).level, 0);
    EXPECT_EQ(indentAll({"<d<!-- -->iv>", "y"}).level, 0);
}

TEST(RawBlocks, LeadingDeltaOnTheOpenerLine) {
    // A closer before the opener is a leading closer; one behind a raw section is not.
    EXPECT_EQ(indentAll({"<div><div>", "</div><pre>", "x</pre>"}).lines[1], "\t</div><pre>");
    EXPECT_EQ(indentAll({"<div><div>", "<!-- c --></div>", "x"}).lines,
              (Lines{"<div><div>", "\t\t<!-- c --></div>", "\tx"}));
}

TEST(RawBlocks, EntriesBehindAnEmptyTagAndZeroDeltasOpenNothing) {
    EXPECT_FALSE(
        indentAll({"<pre>", " x"}, tableOf({{"<A", "1"}, {"", ""}, {"<PRE", "raw:x"}})).open);
    // Delta 0 is how a user turns a block off: the line is indented like any other.
    const auto off = indentAll({"<pre>", " x"}, tableOf({{"<PRE", "0"}, {"<P", "1"}}));
    EXPECT_EQ(off.lines, (Lines{"<pre>", "x"}));
    EXPECT_EQ(off.level, 0);
}

TEST(RawBlocks, AnOpenerWithoutEndTextFailsAtItsFirstHit) {
    const TagTable table = tableOf({{"<X", "RAW:"}, {"<DIV", "1"}});
    EXPECT_NO_THROW(indentAll({"<div>"}, table));
    try {
        indentAll({"<div><x>"}, table);
        FAIL() << "no error";
    } catch (const LineError& error) {
        EXPECT_STREQ(error.what(),
                     "tag \"<X\" has the delta \"RAW:\", which names no end text after \"raw:\"");
    }
}

// On random pages: only leading blanks change, lines inside blocks are untouched, and a
// converted page converts to itself.
TEST(RawBlocks, RandomPagesKeepTheirTextAndConvertToThemselves) {
    const std::vector<std::string> pieces{"<div>", "</div>", "<pre>", "</pre>", "<!--", "-->",
                                          "<p>",   "</p>",   "x",     " ",      "\t",   "<"};
    std::mt19937 random(7);
    for (int page = 0; page < 300; ++page) {
        Lines lines(1 + random() % 12);
        for (auto& line : lines)
            for (unsigned n = random() % 6; n > 0; --n)
                line += pieces[random() % pieces.size()];
        LineIndenter indenter(pageTable);
        Lines out;
        for (const auto& line : lines) {
            const bool inside = indenter.inRawBlock();
            std::string written;
            indenter.indentLine(line, written);
            EXPECT_EQ(stripLeadingBlanks(written), stripLeadingBlanks(line));
            if (inside) {
                EXPECT_EQ(written, line);
            }
            out.push_back(written);
        }
        EXPECT_EQ(indentAll(out).lines, out) << "page " << page;
    }
}

} // namespace
} // namespace stepwell
