// SPDX-License-Identifier: MIT
#include "engine/core/page_fit.h"

#include "engine/core/line_error.h"
#include "engine/core/line_indenter.h"

#include <algorithm>

namespace stepwell {

PageFit fitPage(const TagTable& table, std::span<const std::string_view> lines,
                const IndentProfile& profile) {
    PageFit fit;
    LineIndenter indenter(table);
    // With tags that all start with `<` or `{`, as learned ones do, a line without either
    // byte outside a raw block counts nothing and is written at the level: no need to scan.
    const auto usable = table.usable();
    const bool markupOnly = std::all_of(usable.begin(), usable.end(), [](const TagEntry& entry) {
        return entry.tag.front() == '<' || entry.tag.front() == '{';
    });
    std::size_t previousTabs = 0;
    int previousLevel = -1;
    try {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::size_t tabs =
                indenter.level() > 0 ? static_cast<std::size_t>(indenter.level()) : 0;
            if (!markupOnly || indenter.inRawBlock() ||
                lines[i].find_first_of("<{") != std::string_view::npos) {
                const IndentedLine line = indenter.indent(lines[i]);
                // A line copied as it is keeps its own tabs.
                tabs = line.tabs;
                while (tabs - line.tabs < line.text.size() && line.text[tabs - line.tabs] == '\t')
                    ++tabs;
            }
            if (tabs > driftLevel) {
                fit.drifts = true;
                return fit;
            }
            const int level = profile.levels[i];
            if (level < 0)
                continue;
            fit.exact += tabs == static_cast<std::size_t>(level);
            if (previousLevel >= 0)
                fit.changes += static_cast<long>(tabs) - static_cast<long>(previousTabs) ==
                               level - previousLevel;
            previousTabs = tabs;
            previousLevel = level;
        }
    } catch (const LineError&) {
        fit.drifts = true;
        return fit;
    }
    fit.drifts = !indenter.inRawBlock() && indenter.level() > 1;
    return fit;
}

} // namespace stepwell
