// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/indent_profile.h"
#include "engine/core/page_fit.h"
#include "engine/core/tag_table.h"

#include <span>
#include <string_view>
#include <vector>

namespace stepwell {

/// One page to learn from: its lines, held in memory while the search runs.
using PageLines = std::span<const std::string_view>;

/// What a learned table does to one of the pages it was learned from.
struct LearnedPage {
    IndentProfile profile; // the author's unit and levels
    PageFit fit;           // the learned table's conversion of the page
};

/// A tag table learned from pages, and how it fits each of them.
struct LearnedTable {
    TagTable table;
    std::vector<LearnedPage> pages; // in the order given
};

/// Learns one tag table, at most 100 entries, that reproduces the indentation the authors
/// of `pages` gave their lines as closely as it can, measured by converting each page with
/// the real indenter. It never makes an indented page drift. Pages written flush left take
/// no part; with none left, the table is empty.
///
/// Behind what was learned, the elements that occur on none of the pages open and close a
/// level where their author indents their kin (see kinsIndented), as far as room allows: the
/// table then still has an answer for the elements that other pages of the same site use,
/// and it changes nothing on the pages themselves.
LearnedTable learnTagTable(std::span<const PageLines> pages);

} // namespace stepwell
