// SPDX-License-Identifier: MIT
#include "frame/startup/learn.h"

#include "engine/core/table_learner.h"
#include "engine/core/table_text.h"
#include "engine/failure.h"
#include "engine/page_lines.h"
#include "frame/startup/file_names.h"
#include "frame/startup/report.h"
#include "frame/text/shown_text.h"

#include <cstdio>
#include <ostream>

namespace stepwell {
namespace {

// A page's lines, held in memory: the search converts it many times.
struct Page {
    std::string name;
    std::vector<std::string> lines;
    std::vector<std::string_view> views;
};

Page readPage(const std::string& path) {
    Page page{path, pageLines(path), {}};
    page.views.assign(page.lines.begin(), page.lines.end());
    return page;
}

std::string share(std::size_t part, std::size_t whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%",
                  whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0);
    return text;
}

} // namespace

int runLearn(const std::vector<std::string>& tokens, std::ostream& table, std::ostream& report,
             Prompts& prompts) {
    std::vector<Page> pages;
    bool failed = false;
    const bool allNamed = forEachNamedFile(tokens, prompts, [&](const std::string& path) {
        try {
            pages.push_back(readPage(path));
        } catch (...) {
            showCurrentFailure(path, prompts);
            failed = true;
        }
    });
    failed |= !allNamed;
    std::vector<PageLines> lines;
    for (const Page& page : pages)
        lines.emplace_back(page.views);
    const LearnedTable learned = learnTagTable(lines);
    std::size_t reproduced = 0, counted = 0, learnedFrom = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const LearnedPage& page = learned.pages[i];
        const std::string name = escapeControlBytes(pages[i].name);
        if (!page.profile.indented) {
            report << name << ": not indented; nothing to learn from\n";
            continue;
        }
        ++learnedFrom;
        reproduced += page.fit.exact;
        counted += page.profile.counted;
        report << name << ": " << share(page.fit.exact, page.profile.counted) << " of "
               << page.profile.counted << " lines reproduced (indented with "
               << page.profile.unitName() << ")\n";
    }
    if (learnedFrom == 0) {
        // Pages that could not be read were reported already.
        if (!pages.empty())
            prompts.showError("no page to learn from: none is indented");
        return 1;
    }
    report << "total: " << share(reproduced, counted) << " of " << counted << " lines on "
           << learnedFrom << (learnedFrom == 1 ? " page" : " pages") << ", "
           << learned.table.entries().size() << " entries\n"
           << std::flush;
    Report output(table);
    output.write(tagTableText(learned.table));
    if (!output.delivered(prompts))
        return 1;
    return failed ? 1 : 0;
}

} // namespace stepwell
