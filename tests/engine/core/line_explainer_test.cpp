// SPDX-License-Identifier: MIT
// The explanation of lines: the levels and rules it shows are the conversion's, and the
// entries it lists are those the plain tag rule counts.
#include "engine/core/line_error.h"
#include "engine/core/line_explainer.h"

#include "tests/support/reference_indenter.h"
#include "tests/support/tables.h"

#include "tests/support/random_text.h"

#include <gtest/gtest.h>

#include <random>

namespace stepwell {
namespace {

using test::tableOf;

// The explanations view `explainer`'s table and `lines`.
std::vector<LineExplanation> explainAll(const std::vector<std::string>& lines,
                                        LineExplainer& explainer) {
    std::vector<LineExplanation> explained;
    for (const auto& line : lines)
        explained.push_back(explainer.explain(line));
    return explained;
}

std::string countedText(const LineExplanation& line) {
    std::string text;
    for (const CountedEntry& entry : line.counted)
        text += std::string(entry.tag) + "," + std::string(entry.deltaText) + "x" +
                std::to_string(entry.times) + " ";
    return text;
}

TEST(LineExplainer, NamesTheRuleThatPlacedEachLine) {
    const TagTable table = tableOf(
        {{"<PRE", "raw:</PRE>"}, {"<UL", "1"}, {"<LI", "1"}, {"</LI>", "-1"}, {"</UL", "-1"}});
    struct Row {
        const char* line;
        Placement placement;
        int level, next;
        const char* counted;
    };
    const std::vector<Row> rows{
        {"<ul>", Placement::AtLevel, 0, 1, "<UL,1x1 "},
        {"  <li>a", Placement::AtLevel, 1, 2, "<LI,1x1 "},
        {"</li><li>b", Placement::OneOut, 1, 2, "<LI,1x1 </LI>,-1x1 "},
        {"</li><li><pre> x", Placement::OneOut, 1, 2, "<LI,1x1 </LI>,-1x1 "},
        {"   kept", Placement::RawCopy, 2, 2, ""},
        {"</pre></li></ul>", Placement::RawEnd, 2, 0, "</LI>,-1x1 </UL,-1x1 "},
        {"<ul><li>x</li></li>", Placement::AtLevel, 0, 0, "<UL,1x1 <LI,1x1 </LI>,-1x2 "},
        {"</ul></ul>", Placement::OutBySum, -2, -2, "</UL,-1x2 "},
    };
    std::vector<std::string> lines;
    for (const Row& row : rows)
        lines.emplace_back(row.line);
    LineExplainer explainer(table);
    const auto explained = explainAll(lines, explainer);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(explained[i].placement, rows[i].placement) << rows[i].line;
        EXPECT_EQ(explained[i].next, rows[i].next) << rows[i].line;
        EXPECT_EQ(countedText(explained[i]), rows[i].counted) << rows[i].line;
        if (rows[i].placement != Placement::RawCopy && rows[i].placement != Placement::RawEnd) {
            EXPECT_EQ(explained[i].level, rows[i].level) << rows[i].line;
        }
    }
    EXPECT_TRUE(explained[3].opensBlock);
    EXPECT_EQ(explained[4].text, "   kept"); // raw content keeps its blanks
    // What a person reads: aligned columns, the text last, control bytes escaped.
    EXPECT_EQ(explanationHeading(), "   line level  next  rule                   lead  entries "
                                    "counted                 text\n");
    EXPECT_EQ(explanationRow(3, explained[2]), "      3     1     2  one out                  -1  "
                                               "<LI,1; </LI>,-1                 </li><li>b\n");
    EXPECT_EQ(explanationRow(5, explained[4]), "      5     -     2  raw, as it is             -  "
                                               "-                                  kept\n");
    EXPECT_EQ(explanationRow(8, explained[7]), "      8    -2    -2  out by sum               -1  "
                                               "</UL,-1 x2                      </ul></ul>\n");
    // Entries wider than their column push the text right; their control bytes are escaped.
    LineExplanation wide;
    wide.level = 3;
    wide.next = 4;
    wide.text = "x";
    wide.counted = {{"<A\x01", "0.5", 3}, {"<BLOCKQUOTE", "1", 12}};
    EXPECT_EQ(explanationRow(12, wide), "     12     3     4  at level                  0  "
                                        "<A\\x01,0.5 x3; <BLOCKQUOTE,1 x12  x\n");
    const std::string text = "\x1b" + std::string(70, 'x');
    LineExplanation longLine;
    longLine.text = text;
    EXPECT_EQ(explanationRow(1, longLine).substr(82), "\\x1b" + std::string(59, 'x') + "...\n");
}

// Random tables whose tags and raw openers share their few bytes, so that removals join
// text into new occurrences and raw sections cut lines in every way.
TEST(LineExplainer, AgreesWithTheIndenterAndThePlainModelOnRandomPages) {
    test::RandomText random(2323);
    const auto below = [&](int n) { return random.below(n); };
    const auto piece = [&](int longest) { return random.piece(longest); };
    const char* deltas[] = {"1", "-1", "1", "-1", "0", "2", "0.5", "-0.5"};
    int failures = 0;
    for (int page = 0; page < 20'000 && failures < 5; ++page) {
        TagTable table;
        const bool raw = below(2) == 0;
        for (int n = 1 + below(5); n > 0; --n) {
            if (raw && below(3) == 0)
                table.add(piece(3), "raw:" + piece(2));
            else
                table.add(piece(3), deltas[below(std::size(deltas))]);
        }
        const auto entries = test::refEntries(table);
        test::RefState state;
        LineExplainer explainer(table);
        for (int k = 1 + below(8); k > 0; --k) {
            const std::string line = random.line();
            const int before = state.level;
            const bool inBlock = state.open >= 0;
            const auto expected = test::refIndentLine(line, entries, state);
            if (!expected) {
                EXPECT_THROW(explainer.explain(line), LineError);
                break;
            }
            const LineExplanation got = explainer.explain(line);
            const std::string written = std::string(got.tabs, '\t') + std::string(got.text);
            bool agrees = written == *expected && got.next == state.level;
            // The rule agrees with the levels it names, and the entries with the sum.
            double sum = 0;
            for (const CountedEntry& entry : got.counted)
                sum += static_cast<double>(entry.times) * std::stod(std::string(entry.deltaText));
            agrees = agrees && std::abs(sum - got.lineDelta) < 1e-9;
            if (!inBlock) {
                agrees = agrees && got.tabs == static_cast<std::size_t>(std::max(got.level, 0));
                if (got.placement == Placement::AtLevel)
                    agrees = agrees && got.level == before;
                if (got.placement == Placement::OneOut)
                    agrees = agrees && got.level == before - 1 && got.next == before;
            }
            if (!raw) {
                const test::RefTally tally = test::refTally(stripLeadingBlanks(line), entries);
                std::string counted; // the entries the rule counted, as countedText() shows them
                for (std::size_t i = 0; i < entries.size(); ++i)
                    if (tally.times[i] > 0)
                        counted += entries[i].tag + "," + entries[i].deltaText + "x" +
                                   std::to_string(tally.times[i]) + " ";
                agrees = agrees && tally.sum == got.lineDelta && tally.lead == got.leadDelta &&
                         countedText(got) == counted;
            }
            if (!agrees) {
                ++failures;
                std::string tags;
                for (const TagEntry& entry : table.entries())
                    tags += entry.tag + "," + entry.deltaText + "  ";
                ADD_FAILURE() << "tags " << tags << "\nline \"" << line << "\" model \""
                              << *expected << "\" @" << state.level << ", explained \"" << written
                              << "\" @" << got.next << " " << countedText(got);
                break;
            }
        }
    }
}

} // namespace
} // namespace stepwell
