// SPDX-License-Identifier: MIT
// The fast scanner against the plain model: random lines and tables made to overlap and to
// join text into new occurrences, the sample pages, and lines far too long for the model.
#include "engine/core/line_error.h"
#include "engine/core/tag_scanner.h"

#include "engine/core/raw_blocks.h"

#include "tests/support/reference_indenter.h"
#include "tests/support/tables.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace stepwell {
namespace {

std::string tallyText(double sum, int lead) {
    char text[64];
    std::snprintf(text, sizeof text, "%a %d", sum, lead);
    return text;
}

// A scan's result, or the message of the error it threw, as one comparable text.
template <typename Scan> std::string outcome(Scan&& scan) {
    try {
        const LineTally tally = scan();
        return tallyText(tally.lineDelta, tally.leadDelta);
    } catch (const LineError& error) {
        return std::string("error: ") + error.what();
    }
}

// The same for the plain model.
std::string modelOutcome(std::string_view text, const TagTable& table) {
    const test::RefTally tally = test::refTally(text, test::refEntries(table));
    return tally.error.empty() ? tallyText(tally.sum, tally.lead) : "error: " + tally.error;
}

class RandomText {
public:
    explicit RandomText(unsigned seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    // A few short tags made of the same fragments as the lines, so that they overlap.
    TagTable table() {
        static const char* fragments[] = {"<", "/", "A", "B", ">"};
        static const char* deltas[] = {"1",    "-1", "1",   "-1", "0",     "2",      "-2", "0.5",
                                       "-0.5", ".1", "-.3", "x",  "40000", "-40000", " 1 "};
        TagTable table;
        const int entries = 1 + below(6);
        for (int i = 0; i < entries; ++i) {
            std::string tag;
            for (int n = 1 + below(3); n > 0; --n)
                tag += fragments[below(5)];
            // Bad deltas are rare enough that most lines finish.
            const int delta = below(40) < 38 ? below(11) : 11 + below(4);
            table.add(tag, deltas[delta]);
        }
        return table;
    }

    std::string line(int longest) {
        static const char bytes[] = "<</ab>AB> x";
        std::string text;
        for (int n = below(longest + 1); n > 0; --n)
            text += bytes[below(sizeof bytes - 1)];
        return text;
    }

private:
    std::mt19937 random_;
};

TEST(TagScanner, MatchesTheModelOnAMillionRandomLines) {
    RandomText random(20240601);
    int lines = 0, failures = 0;
    while (lines < 1'000'000 && failures < 10) {
        const TagTable table = random.table();
        TagScanner scanner(table);
        for (int i = 0; i < 250; ++i, ++lines) {
            const std::string text = random.line(i % 10 == 0 ? 60 : 16);
            const std::string expected = modelOutcome(text, table);
            const std::string fast = outcome([&] { return scanner.scan(text); });
            const std::string swept = outcome([&] { return scanner.scanBySweeps(text); });
            if (fast != expected || swept != expected) {
                ++failures;
                std::string tags;
                for (const TagEntry& entry : table.entries())
                    tags += entry.tag + "," + entry.deltaText + " ";
                ADD_FAILURE() << "line \"" << text << "\", tags " << tags << "\nmodel " << expected
                              << "\nscan  " << fast << "\nsweep " << swept;
            }
        }
    }
}

// The shipped table as the scanner sees it: without its raw-block entries.
TagTable scannedTable() {
    return RawBlocks(test::shippedTable()).ordinaryTable();
}

TEST(TagScanner, MatchesTheModelOnEverySampleLine) {
    const TagTable table = scannedTable();
    TagScanner scanner(table);
    int checked = 0;
    for (auto& entry : std::filesystem::directory_iterator(STEPWELL_SOURCE_DIR "/samples")) {
        const std::string page = test::readFile(entry.path().string());
        std::size_t from = 0;
        while (from < page.size()) {
            const std::size_t end = std::min(page.find_first_of("\r\n", from), page.size());
            const std::string_view text(page.data() + from, end - from);
            const std::string expected = modelOutcome(text, table);
            EXPECT_EQ(outcome([&] { return scanner.scan(text); }), expected) << text;
            EXPECT_EQ(outcome([&] { return scanner.scanBySweeps(text); }), expected) << text;
            ++checked;
            from = end + 1;
        }
    }
    EXPECT_GT(checked, 300);
}

// Whole pages on one line, as minified HTML comes: the model would take far too long, so
// the one-pass scan and the sweeps, two different ways to the same result, check each other.
TEST(TagScanner, LongLinesAgreeBothWays) {
    const TagTable table = scannedTable();
    TagScanner scanner(table);
    std::string pages;
    for (auto& entry : std::filesystem::directory_iterator(STEPWELL_SOURCE_DIR "/samples"))
        for (const char c : test::readFile(entry.path().string()))
            if (c != '\r' && c != '\n')
                pages += c;
    std::string line;
    while (line.size() < 2'000'000)
        line += pages;
    const LineTally fast = scanner.scan(line);
    const LineTally swept = scanner.scanBySweeps(line);
    EXPECT_EQ(fast.lineDelta, swept.lineDelta);
    EXPECT_EQ(fast.leadDelta, swept.leadDelta);

    // Every removal joins text into a new occurrence, to the end of the line.
    TagTable joining;
    joining.add("<A", "1");
    const std::string nested = std::string(300'000, '<') + std::string(300'000, 'a');
    EXPECT_EQ(TagScanner(joining).scan(nested).lineDelta, 300'000);
}

TEST(TagScanner, OverlapsGoToTheEarlierEntryWhereverTheyStand) {
    TagTable table;
    table.add("<PRE", "0");
    table.add("<P", "1");
    table.add("RE>", "5");
    TagScanner scanner(table);
    // "<PRE" takes the text "<P" and "RE>" would share; the later "<P" counts.
    EXPECT_EQ(scanner.scan("<pre> <p>").lineDelta, 1);
    // Taking "<PRE" out joins "<P" and ">", and that "<P" then stands at the start.
    const LineTally joined = scanner.scan("<p<pre>");
    EXPECT_EQ(joined.lineDelta, 1);
    EXPECT_EQ(joined.leadDelta, 1);
}

TEST(TagScanner, AJoinWithSeveralNewOccurrencesTakesTheFirst) {
    TagTable table;
    table.add("AAA", "2");
    table.add("X", "-1");
    // Cutting out "X" leaves "AAAA": "AAA" is then found at the start, not one further on.
    const LineTally tally = TagScanner(table).scan("aaxaa");
    EXPECT_EQ(tally.lineDelta, 1);
    EXPECT_EQ(tally.leadDelta, 2);
    EXPECT_EQ(test::refTally("aaxaa", test::refEntries(table)).lead, 2);
}

TEST(TagScanner, TheFirstErrorInTableOrderIsReported) {
    TagTable table;
    table.add("<A", "40000"); // in range as a sum, not as a leading delta
    table.add("<B", "x");
    TagScanner scanner(table);
    EXPECT_EQ(scanner.scan("x<a>").lineDelta, 40000);
    EXPECT_EQ(outcome([&] { return scanner.scan("<b><a>"); }), // "<A" is not at the start
              "error: tag \"<B\" has the delta \"x\", which is not a number");
    EXPECT_EQ(outcome([&] { return scanner.scan("<a><b>"); }),
              "error: the delta \"40000\" of tag \"<A\" is outside -32768 to 32767");
    EXPECT_EQ(outcome([&] { return scanner.scan("x<a><b>"); }),
              "error: tag \"<B\" has the delta \"x\", which is not a number");
    // A line without the tag never looks at its delta.
    EXPECT_EQ(scanner.scan("x<a>").leadDelta, 0);
}

TEST(TagScanner, ChecksTablesWithManyStartingBytes) {
    struct Case {
        std::vector<std::string> tags;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {{"a", "BC", "{%", "%}", "\xE3\x81\x82", "<td"},
         {"abc{%x%}", "\xE3\x81\x82\xE3\x81\x82<TD", "bbb cCc", ""}},
        // Every letter, a to z, in either case matches the other (in the one pass: no tag
        // here starts inside another).
        {{"<abcdefghijklmnopqrstuvwxyz", "[ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
         {"<ABCDEFGHIJKLMNOPQRSTUVWXYZ [abcdefghijklmnopqrstuvwxyz",
          "[abcdefghijklmnopqrstuvwxyz <ABCDEFGHIJKLMNOPQRSTUVWXYZ"}},
    };
    for (const Case& row : cases) {
        TagTable table;
        for (const std::string& tag : row.tags)
            table.add(tag, "1");
        TagScanner scanner(table);
        for (const std::string& text : row.texts)
            EXPECT_EQ(outcome([&] { return scanner.scan(text); }), modelOutcome(text, table))
                << text;
    }
}

} // namespace
} // namespace stepwell
