// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/entry_counts.h"
#include "engine/core/line_tally.h"
#include "engine/core/scan_entry.h"
#include "engine/core/tag_automaton.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace stepwell {

/// Counts the tag occurrences of a line with the result of the plain rule by one sweep of the
/// line per entry, in table order, which also follows the occurrences that appear when a
/// removal joins text (with the tag `<TD`, removing it from `<<TDTD` leaves a new `<TD`).
/// The one-pass scan cannot follow those, so TagScanner hands the lines where one may happen
/// to the sweeps; each sweep is still linear in the line's length.
///
/// Keeps its buffers between lines, so it is not shared between threads.
class TagSweeps {
public:
    /// `automaton` matches the tags of `entries`, in the same order; both must outlive the
    /// sweeps.
    TagSweeps(const TagAutomaton& automaton, std::span<const ScanEntry> entries);

    /// The tally of `text` (already stripped of leading blanks). Throws LineError for a
    /// delta that is not a number or a leading delta out of range, as the plain rule meets
    /// them.
    LineTally scan(std::string_view text);

    /// From now on, every scan also sets `counts` (null: no longer) to how many times each
    /// entry counted, in table order.
    void countEntriesInto(EntryCounts* counts) { counts_ = counts; }

private:
    bool joinedMatch(std::size_t limit, std::size_t read, std::size_t& start, std::uint8_t& entry);

    const TagAutomaton& automaton_;
    std::span<const ScanEntry> entries_;
    std::size_t longest_ = 0;
    EntryCounts* counts_ = nullptr;

    // Per line: the text right of the sweep (rest_), the text left of it (kept_), and the
    // bytes around the join of the two that joinedMatch() reads (window_).
    std::string rest_;
    std::string kept_;
    std::string window_;
};

} // namespace stepwell
