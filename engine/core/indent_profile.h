// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace stepwell {

/// How the author of a page indented it: the unit of one level and the level of each line
/// that shows one on purpose.
struct IndentProfile {
    /// Spaces per level, or 0 when the page is indented with tabs.
    int unit = 0;
    /// Per line: the author's level, or -1 for a line that does not count: a blank line, a
    /// line that starts inside a comment, <pre>, <textarea>, <script> or <style> (content
    /// whose indentation is not the markup's), a line whose indentation is not a whole
    /// number of units.
    std::vector<int> levels;
    /// How many lines count.
    std::size_t counted = 0;
    /// Whether some counted line stands above level 0: a page written flush left has
    /// nothing to learn from.
    bool indented = false;

    /// "tabs" or "N spaces".
    std::string_view unitName() const;
};

/// Finds the indent unit of the page `lines` (tabs, or 1, 2, 3, 4 or 8 spaces) and the
/// level of each line.
IndentProfile profileIndentation(std::span<const std::string_view> lines);

} // namespace stepwell
