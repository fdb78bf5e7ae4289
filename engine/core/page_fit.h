// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/indent_profile.h"
#include "engine/core/tag_table.h"

#include <span>
#include <string_view>

namespace stepwell {

/// The highest level a line may be written at before a table counts as drifting.
inline constexpr std::size_t driftLevel = 20;

/// How closely a conversion with one table reproduces a page's own indentation.
struct PageFit {
    /// Counted lines (see IndentProfile) written with as many tabs as the author's level.
    std::size_t exact = 0;
    /// Counted lines whose change of tabs from the counted line before equals the author's
    /// change of level: one wrong entry then costs the lines it touches, not every later one.
    std::size_t changes = 0;
    /// Whether the level drifts: the level after the last line is above 1, some line is
    /// written past level 20, or a line cannot be converted. A table that drifts on a page
    /// does not fit it, whatever it reproduces.
    bool drifts = false;
};

/// Converts `lines` with `table`, exactly as a conversion does, and compares each line's
/// leading tabs with the level `profile` gives it.
PageFit fitPage(const TagTable& table, std::span<const std::string_view> lines,
                const IndentProfile& profile);

} // namespace stepwell
