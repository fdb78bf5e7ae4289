// SPDX-License-Identifier: MIT
// The indenter finds raw openers in the pass that counts the tags. Checked against the plain
// model, which splits every line at its openers first and scans what is left.
#include "engine/core/line_error.h"
#include "engine/core/line_indenter.h"
#include "engine/core/tag_scanner.h"

#include "tests/support/reference_indenter.h"
#include "tests/support/tables.h"

#include "tests/support/random_text.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace stepwell {
namespace {

using test::tableOf;

// Each line's output, level and open block after it, or "error" for the line that ends the
// page.
std::vector<std::string> indentFast(const std::vector<std::string>& lines, const TagTable& table) {
    LineIndenter indenter(table);
    std::vector<std::string> results;
    for (const auto& line : lines) {
        std::string out;
        try {
            indenter.indentLine(line, out);
        } catch (const LineError&) {
            results.emplace_back("error");
            break;
        }
        results.push_back(out + " @" + std::to_string(indenter.level()) +
                          (indenter.inRawBlock() ? " open" : ""));
    }
    return results;
}

// The same from the plain model.
std::vector<std::string> indentPlain(const std::vector<std::string>& lines, const TagTable& table) {
    const std::vector<test::RefEntry> entries = test::refEntries(table);
    test::RefState state;
    std::vector<std::string> results;
    for (const auto& line : lines) {
        const auto out = test::refIndentLine(line, entries, state);
        if (!out) {
            results.emplace_back("error");
            break;
        }
        results.push_back(*out + " @" + std::to_string(state.level) +
                          (state.open >= 0 ? " open" : ""));
    }
    return results;
}

// Tables whose ordinary tags, openers and end texts are made of the same few bytes, so
// that they overlap each other and removals join text in every way.
TEST(MarkedScan, AgreesWithThePlainModelOnRandomPages) {
    test::RandomText random(424242);
    const auto below = [&](int n) { return random.below(n); };
    const auto piece = [&](int longest) { return random.piece(longest); };
    const char* deltas[] = {"1", "-1", "1", "-1", "0", "2", "0.5", "-0.5", "x"};
    int failures = 0;
    for (int page = 0; page < 20'000 && failures < 5; ++page) {
        TagTable table;
        for (int n = 1 + below(5); n > 0; --n) {
            if (below(3) == 0)
                table.add(piece(3), below(12) == 0 ? "raw:" : "raw:" + piece(2));
            else
                table.add(piece(3), deltas[below(std::size(deltas))]);
        }
        std::vector<std::string> lines(1 + below(8));
        for (auto& line : lines)
            line = random.line();
        const auto fast = indentFast(lines, table);
        const auto expected = indentPlain(lines, table);
        if (fast != expected) {
            ++failures;
            std::string tags, text;
            for (const TagEntry& entry : table.entries())
                tags += entry.tag + "," + entry.deltaText + "  ";
            for (std::size_t k = 0; k < lines.size(); ++k)
                text += "\n  \"" + lines[k] + "\" -> " + (k < fast.size() ? fast[k] : "-") + " | " +
                        (k < expected.size() ? expected[k] : "-");
            ADD_FAILURE() << "tags " << tags << text;
        }
    }
}

const TagTable pageTable = test::rawBlocksTable();

TEST(MarkedScan, OpenersAnywhereInALineAreFound) {
    const std::vector<std::vector<std::string>> pages{
        {"<p><pre>x</pre></p>", "y"},      // inside ordinary tags, closed on the line
        {"<div <!-- x", "-->", "y"},       // inside an ordinary tag, left open
        {"x <PrE>", "  a", "</pRe>", "y"}, // in any case, after text
        {"<<div> <!-- <div>", "-->", "y"}, // behind a removal that joins text (taken by the
                                           // sweeps), the opener further on
        {"<p<pre>", "</pre>", "y"},        // right behind a tag that begins the opener
        {"<div>", "x", "</div>"},          // none at all
        {"<!-->", "  <div>", "-->", "y"},  // the end is looked for only behind the opener
    };
    for (const auto& page : pages)
        EXPECT_EQ(indentFast(page, pageTable), indentPlain(page, pageTable)) << page[0];
    EXPECT_EQ(indentFast({"<<div> <!-- <div>", "-->", "y"}, pageTable),
              (std::vector<std::string>{"<<div> <!-- <div> @1 open", "--> @1", "\ty @1"}));
    EXPECT_EQ(indentFast({"<!-->", "  <div>", "-->"}, pageTable),
              (std::vector<std::string>{"<!--> @0 open", "  <div> @0 open", "--> @0"}));
}

TEST(MarkedScan, ARemovalNeverCreatesAnOpener) {
    // Openers are found in the line as it stands: taking "X" out of "<!X--" would join
    // "<!--", but no block opens and "X" counts.
    const TagTable table = tableOf({{"<!--", "raw:-->"}, {"X", "1"}});
    EXPECT_EQ(indentFast({"<!x--", "y"}, table), (std::vector<std::string>{"<!x-- @1", "\ty @1"}));
}

TEST(MarkedScan, MarkersAreNotTags) {
    const TagTable table = tableOf({{"<P", "1"}, {"<A", "1"}});
    const std::vector<std::string> markers{"<PRE", "<!--"};
    TagScanner scanner(table, markers);
    // A tag that begins a marker still counts at once (the marker's text does not make it
    // wait for a longer tag), and a marker makes the line unfit for the single pass.
    LineTally tally;
    EXPECT_EQ(scanner.scanToMarker("<p><a>", tally), std::string_view::npos);
    EXPECT_EQ(tally.lineDelta, 2);
    EXPECT_EQ(scanner.scanToMarker("<p><a><PRE>", tally), 10u);
    EXPECT_EQ(scanner.scanToMarker("<<a <!-- <a", tally), 8u); // found behind a join
    // The tally before a marker: the pass is finished, or the text before it scanned again
    // when a counted tag reaches into the marker.
    EXPECT_EQ(scanner.scanToMarker("<a><p><!--", tally), 10u);
    EXPECT_EQ(scanner.tallyBefore("<a><p>").lineDelta, 2);
    EXPECT_EQ(scanner.scanToMarker("<a><PRE>", tally), 7u);
    EXPECT_EQ(scanner.tallyBefore("<a>").lineDelta, 1);
    // scan() counts the tags and passes over the markers.
    EXPECT_EQ(scanner.scan("<pre><a>").lineDelta, 2);
    EXPECT_EQ(scanner.scan("<<a <!-- <a").lineDelta, 2);
}

} // namespace
} // namespace stepwell
