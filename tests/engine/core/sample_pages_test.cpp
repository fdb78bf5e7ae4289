// SPDX-License-Identifier: MIT
// The shipped tag table against the sample pages: well-formed pages come out balanced, a
// conversion changes nothing but leading blanks, and lines inside raw blocks (pre,
// textarea, comments) come out exactly as they went in.
#include "engine/core/line_indenter.h"
#include "engine/core/tag_table.h"
#include "tests/support/tables.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace stepwell {
namespace {

std::vector<std::string> samplePages() {
    std::vector<std::string> pages;
    for (auto& entry : std::filesystem::directory_iterator(STEPWELL_SOURCE_DIR "/samples"))
        if (entry.path().extension() == ".html")
            pages.push_back(entry.path().string());
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(line);
            line.clear();
        } else {
            line += text[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

TEST(SamplePages, ComeOutBalancedWithTheShippedTable) {
    const TagTable table = test::shippedTable();
    ASSERT_LE(table.entries().size(), maxTagEntries);
    const auto pages = samplePages();
    ASSERT_GE(pages.size(), 4u);
    std::size_t rawLines = 0;
    for (const auto& page : pages) {
        const auto lines = linesOf(test::readFile(page));
        LineIndenter indenter(table);
        std::string out;
        std::vector<std::string> written;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            out.clear();
            const bool raw = indenter.inRawBlock();
            indenter.indentLine(lines[i], out);
            if (raw) {
                EXPECT_EQ(out, lines[i]) << page << " line " << i + 1;
                ++rawLines;
            }
            ASSERT_GE(indenter.level(), 0) << page << " line " << i + 1;
            // Nothing but the leading blanks changes.
            EXPECT_EQ(stripLeadingBlanks(out), stripLeadingBlanks(lines[i]));
            written.push_back(out);
        }
        EXPECT_EQ(indenter.level(), 0) << page;
        EXPECT_FALSE(indenter.inRawBlock()) << page;
        // A converted page converts to itself.
        LineIndenter again(table);
        for (const auto& line : written) {
            out.clear();
            again.indentLine(line, out);
            EXPECT_EQ(out, line) << page;
        }
    }
    EXPECT_GE(rawLines, 10u); // the pre blocks of the blog article
}

// Real pages leave out end tags HTML lets them leave out (`</li>`, `</p>`, `</td>` ...): the
// shipped table must not let their level drift (end above level 1, or pass level 20).
TEST(SamplePages, TheShippedTableDoesNotDriftOnRealPages) {
    const TagTable table = test::shippedTable();
    std::vector<std::string> pages = samplePages();
    pages.push_back("omitted");
    for (auto& entry : std::filesystem::directory_iterator(STEPWELL_SOURCE_DIR "/tests/data/pages"))
        if (entry.path().extension() == ".html")
            pages.push_back(entry.path().string());
    // A page of items and paragraphs whose end tags are all left out.
    std::string omitted = "<ul>\n";
    for (int i = 0; i < 30; ++i)
        omitted += "<li><p>item<dl><dt>a<dd>b</dl><table><tr><td>x<td>y</table>\n";
    omitted += "</ul>\n";
    for (const auto& page : pages) {
        LineIndenter indenter(table);
        std::string out;
        for (const auto& line : linesOf(page == "omitted" ? omitted : test::readFile(page))) {
            out.clear();
            indenter.indentLine(line, out);
            ASSERT_LE(std::min(out.find_first_not_of('\t'), out.size()), 20u)
                << page << ": " << line;
        }
        EXPECT_LE(indenter.level(), 1) << page;
    }
}

} // namespace
} // namespace stepwell
