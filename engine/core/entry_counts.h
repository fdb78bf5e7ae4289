// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace stepwell {

/// How many times each entry of a scanned table counted on one line: what the scan keeps to
/// add fractional deltas up in the rule's order, and what an explanation of the line shows.
class EntryCounts {
public:
    explicit EntryCounts(std::size_t entries) : times_(entries, 0) {}

    /// One more occurrence of `entry`. The scan calls it for every occurrence it counts on
    /// a line with fractional deltas, and is compiled as if it were written out there.
    [[gnu::always_inline]] void add(std::uint8_t entry) {
        if (times_[entry]++ == 0)
            counted_.push_back(entry);
    }
    /// Forgets the line; costs as little as the entries counted on it.
    void clear() {
        for (const std::uint8_t entry : counted_)
            times_[entry] = 0;
        counted_.clear();
    }
    /// Puts the entries counted in table order.
    void sort() {
        if (counted_.size() > 1)
            std::sort(counted_.begin(), counted_.end());
    }

    /// The entries counted, each once, in table order once sorted.
    std::span<const std::uint8_t> entries() const { return counted_; }
    std::uint64_t times(std::uint8_t entry) const { return times_[entry]; }

private:
    std::vector<std::uint64_t> times_;
    std::vector<std::uint8_t> counted_;
};

} // namespace stepwell
