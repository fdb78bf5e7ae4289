// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"

#include <optional>
#include <string>
#include <vector>

namespace stepwell {

/// An entry a learner chose: a tag, upper-cased, and its delta text.
struct LearnedEntry {
    std::string tag;
    std::string delta;
    bool operator==(const LearnedEntry&) const = default;
};

/// The tag table that `chosen` makes, laid out as the tag file's rules ask: raw blocks
/// first, then openings and zero entries before closings, so that `</li><li>` starts with
/// its closing tag; within each, a longer tag before a shorter one it starts with. A tag
/// that would count longer element names (`<LI` in `<link>`) gets zero entries that take
/// them first. Nothing when that makes more than 100 entries.
std::optional<TagTable> layOutTable(const std::vector<LearnedEntry>& chosen);

} // namespace stepwell
