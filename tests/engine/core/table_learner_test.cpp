// SPDX-License-Identifier: MIT
// Learning tag tables from real pages (tests/data/pages, with their licences): each learned
// table, written out and read back as a tag file, reproduces its page through a real
// conversion and never lets the level drift.
#include "engine/core/convert_lines.h"
#include "engine/core/element_kins.h"
#include "engine/core/indent_profile.h"
#include "engine/core/table_layout.h"
#include "engine/core/table_learner.h"
#include "engine/core/table_text.h"

#include "tests/support/tables.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace stepwell {
namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

std::string page(const std::string& name) {
    return test::readFile(STEPWELL_SOURCE_DIR "/tests/data/pages/" + name);
}

// How many counted lines of `text` come out of a conversion with `table` at the author's
// level; whether the level drifts.
std::pair<std::size_t, bool> reproduced(const std::string& text, const TagTable& table) {
    const auto lines = linesOf(text);
    const IndentProfile profile = profileIndentation(lines);
    const std::string converted = convertText(text + "\n", table);
    const auto out = linesOf(converted);
    std::size_t same = 0, highest = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::size_t tabs = out[i].find_first_not_of('\t') == std::string_view::npos
                                     ? out[i].size()
                                     : out[i].find_first_not_of('\t');
        highest = std::max(highest, tabs);
        same += i < lines.size() && profile.levels[i] >= 0 &&
                tabs == static_cast<std::size_t>(profile.levels[i]);
    }
    // The blank line appended gets the level after the page's last line.
    const std::size_t last = out.back().size();
    return {same, last > 1 || highest > driftLevel};
}

TEST(IndentProfile, FindsTheUnitAndTheLinesThatCount) {
    struct Row {
        std::string page;
        int unit;
        std::vector<int> levels;
    };
    std::vector<Row> rows{
        {"<ul>\n\t<li>\n\t\t<b>\n", 0, {0, 1, 2}},
        {"<ul>\n  <li>\n    x\n\n", 2, {0, 1, 2, -1}},
        {"<ul>\n" + std::string(9 * 9, ' ') + "   odd\n", 4, {}}, // nine in ten lines decide
        {"a\n\tb\n  \tc\n", 0, {0, 1, -1}},                       // spaces in a tab-indented page
        {"<div>\n  <PRE class=x>\n    kept\n</pre>\n  <p>\n", 2, {0, 1, -1, -1, 1}},
        {"<prefix>\n  a\n", 2, {0, 1}}, // <pre must end its name
        {"<!-- a\n    b --> <style>\n  c\n  </style>\n  d\n", 2, {0, -1, -1, -1, 1}},
        {"a\n   b\n  c\n", 1, {0, 3, 2}},
    };
    rows[2].page = "<ul>\n";
    for (int i = 0; i < 9; ++i)
        rows[2].page += "    <li>\n";
    rows[2].page += "   odd\n";
    rows[2].levels = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, -1};
    for (const Row& row : rows) {
        const IndentProfile profile = profileIndentation(linesOf(row.page));
        EXPECT_EQ(profile.unit, row.unit) << row.page;
        EXPECT_EQ(profile.levels, row.levels) << row.page;
    }
    EXPECT_FALSE(profileIndentation(linesOf("<p>\n<script>\n  x\n</script>\n")).indented);
}

TEST(TableLearner, LearnedTablesReproduceTheirPagesWhenConverted) {
    const std::vector<std::pair<std::string, double>> rows{
        {"minima-header.html", 0.95},
        {"minima-footer.html", 0.85},
        {"mkdocs-readthedocs-base.html", 0.805}, // single tags help here
        {"django-admin-change_list.html", 0.75},
    };
    for (const auto& [name, atLeast] : rows) {
        const std::string text = page(name);
        const auto lines = linesOf(text);
        const std::vector<PageLines> pages{lines};
        const LearnedTable learned = learnTagTable(pages);
        const TagTable table = parseTagTable(tagTableText(learned.table), "learned");
        EXPECT_LE(table.entries().size(), maxTagEntries) << name;
        const auto [same, drifts] = reproduced(text, table);
        const LearnedPage& report = learned.pages.front();
        EXPECT_FALSE(drifts) << name;
        EXPECT_FALSE(report.fit.drifts) << name;
        // What --learn reports is what a conversion does.
        EXPECT_EQ(same, report.fit.exact) << name;
        EXPECT_GE(static_cast<double>(same), atLeast * static_cast<double>(report.profile.counted))
            << name << ": " << same << " of " << report.profile.counted << "\n"
            << tagTableText(learned.table);
    }
}

TEST(TableLearner, ATableLearnedOnOnePageServesAnotherOfItsSite) {
    const std::string header = page("minima-header.html");
    const auto lines = linesOf(header);
    const std::vector<PageLines> pages{lines};
    const LearnedTable learned = learnTagTable(pages);
    const std::string footer = page("minima-footer.html");
    const auto [same, drifts] = reproduced(footer, learned.table);
    EXPECT_FALSE(drifts);
    const std::size_t counted = profileIndentation(linesOf(footer)).counted;
    EXPECT_GE(same, counted * 3 / 4) << same;
    // Far above what the page gets from a table that knows nothing of it.
    EXPECT_LT(reproduced(footer, TagTable{}).first, counted / 2);
}

TEST(TableLearner, AnAuthorIndentsAnElementAsItsKin) {
    using enum ElementUse;
    // The kins in order: blocks, lists, TABLE, forms, embedded, items, table parts, rows and
    // cells, HEAD and BODY.
    const std::vector<std::pair<std::map<std::string, ElementUse>, std::vector<bool>>> rows{
        {{}, {1, 1, 1, 1, 1, 0, 0, 0, 0}},
        // An author who nests indents list items and table rows too.
        {{{"DIV", Indented}, {"SPAN", Flat}}, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
        // One who keeps lists flat keeps them all flat, and does not nest.
        {{{"DIV", Indented}, {"UL", Flat}, {"LI", Indented}}, {1, 0, 1, 1, 1, 1, 0, 0, 0}},
        {{{"DIV", Flat}, {"SECTION", Silent}, {"TD", Indented}}, {0, 1, 1, 1, 1, 0, 0, 1, 0}},
        {{{"DIV", Flat}, {"SECTION", Indented}}, {1, 1, 1, 1, 1, 0, 0, 0, 0}},
    };
    for (const auto& [shown, indented] : rows)
        EXPECT_EQ(kinsIndented(shown), indented) << "with " << shown.size() << " elements shown";
    // A page whose author nests gets table rows and cells it never shows; one who keeps its
    // blocks flat gets no section it never shows.
    const auto nesting = linesOf("<div>\n  <ul>\n    <li>one\n    </li>\n  </ul>\n</div>\n");
    const auto flat = linesOf("<div>\n<p>one\n<p>two\n</div>\n");
    const std::string nestingTable =
        tagTableText(learnTagTable(std::vector<PageLines>{nesting}).table);
    const std::string flatTable = tagTableText(learnTagTable(std::vector<PageLines>{flat}).table);
    EXPECT_NE(nestingTable.find("\n<TD,1\n"), std::string::npos) << nestingTable;
    EXPECT_EQ(flatTable.find("<SECTION,1"), std::string::npos) << flatTable;
    EXPECT_EQ(flatTable.find("<DIV,1"), std::string::npos) << flatTable;
}

TEST(TableLearner, LaysOutTablesByTheTagFileRules) {
    // Raw blocks first, openings before closings, a longer tag before a shorter one it
    // starts with, zero entries that keep `<link>` and `<listing>` from counting as `<li>`.
    const auto table = layOutTable(
        {{"</UL", "-1"}, {"<LI", "1"}, {"</LI>", "-1"}, {"<PRE", "raw:</PRE>"}, {"<UL", "1"}});
    ASSERT_TRUE(table);
    EXPECT_EQ(tagTableText(*table), "<PRE,raw:</PRE>\n<UL,1\n<LIS,0\n<LIN,0\n<LI,1\n"
                                    "</UL,-1\n</LI>,-1\n");
    std::vector<LearnedEntry> many;
    for (int i = 0; i < 101; ++i)
        many.push_back({"<X" + std::to_string(i), "1"});
    EXPECT_FALSE(layOutTable(many));
}

TEST(TableLearner, NeverProposesATableThatDrifts) {
    // Items whose end tags are left out: `<LI,1` would fit each item's content and drift.
    std::string text = "<ul>\n";
    for (int i = 0; i < 30; ++i)
        text += "  <li>item\n    <b>more</b>\n";
    text += "</ul>\n";
    const auto lines = linesOf(text);
    const std::vector<PageLines> pages{lines};
    const LearnedTable learned = learnTagTable(pages);
    EXPECT_FALSE(reproduced(text, learned.table).second) << tagTableText(learned.table);
    EXPECT_GE(learned.pages[0].fit.exact, 2u); // <ul> and </ul> at least
    // A fragment that ends two levels deep: `<DIV,1` would fit every line, and drift.
    const auto fragment = linesOf("<div class=page>\n  <div class=content>\n    text\n    more\n");
    const std::vector<PageLines> fragments{fragment};
    const LearnedTable deep = learnTagTable(fragments);
    EXPECT_FALSE(deep.pages[0].fit.drifts) << tagTableText(deep.table);
    EXPECT_FALSE(
        reproduced("<div class=page>\n  <div class=content>\n    text\n    more\n", deep.table)
            .second);
    // A page written flush left has nothing to teach.
    const auto flat = linesOf("<ul>\n<li>x\n</ul>\n");
    const std::vector<PageLines> flatPages{flat};
    EXPECT_FALSE(learnTagTable(flatPages).pages[0].profile.indented);
    EXPECT_TRUE(learnTagTable(flatPages).table.entries().empty());
}

} // namespace
} // namespace stepwell
