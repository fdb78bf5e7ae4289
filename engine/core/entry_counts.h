// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// How often each entry of a table counts on a line, by the plain rule (the first entry in
/// table order that occurs is counted and cut out, and the search starts over), and the
/// tally that gives. The scanner that converts lines keeps no such record; this one serves
/// the explanation of lines.
class EntryCounts {
public:
    /// `table`'s usable entries, without raw-block entries (see RawBlocks::ordinaryTable).
    explicit EntryCounts(const TagTable& table);

    /// Counts the tags of `text` (already stripped of leading blanks, raw sections cut).
    /// Entries whose delta is not a number count as 0: the indenter reports them.
    void count(std::string_view text);

    /// Per entry, in table order, how many times it counted on the last line.
    const std::vector<std::size_t>& times() const { return times_; }
    double lineDelta() const { return sum_; }
    std::int16_t leadDelta() const { return lead_; }
    const std::vector<TagEntry>& entries() const { return entries_; }

private:
    void take(std::size_t entry, bool atStart);
    bool joinsEarlier(std::size_t entry, std::size_t at) const;
    void countPlainly(std::string copy);

    std::vector<TagEntry> entries_;
    std::vector<std::size_t> times_;
    double sum_ = 0;
    std::int16_t lead_ = 0;
    // The sweep of one entry: the text left of it, with its occurrences cut, and the text
    // not yet swept.
    std::string kept_;
    std::string rest_;
    // The pairs of adjacent bytes the line has held, joins included: an entry two of whose
    // neighbouring bytes never stood side by side cannot occur, and most are passed over so.
    std::vector<std::uint8_t> pairs_ = std::vector<std::uint8_t>(1 << 16);
    std::vector<std::uint16_t> pairsSet_;
    void notePair(char first, char second);
    bool mayOccur(const std::string& tag) const;
};

} // namespace stepwell
