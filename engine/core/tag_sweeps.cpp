// SPDX-License-Identifier: MIT
#include "engine/core/tag_sweeps.h"

#include "frame/text/ascii.h"

#include <algorithm>

namespace stepwell {

TagSweeps::TagSweeps(const TagAutomaton& automaton, std::span<const ScanEntry> entries)
    : automaton_(automaton), entries_(entries) {
    for (const ScanEntry& entry : entries_)
        longest_ = std::max(longest_, entry.tag.size());
}

// For each entry in table order, its occurrences from left to right, each removal followed at
// once by the lower entries it joins into being, as the plain rule would find them when it
// starts its search over. The text left of the sweep is built up in kept_, the text right of
// it is rest_ from `read` on.
LineTally TagSweeps::scan(std::string_view text) {
    EntryCounts* const counts = counts_;
    if (counts)
        counts->clear();
    rest_.assign(text);
    for (char& c : rest_)
        c = upperAscii(c);
    LineTally tally;
    const auto count = [&](std::uint8_t entry, bool atStart) {
        tally.lineDelta += entries_[entry].checkedDelta();
        if (atStart)
            tally.leadDelta = entries_[entry].checkedLead();
        if (counts)
            counts->add(entry);
    };
    for (std::size_t sweep = 0; sweep < entries_.size(); ++sweep) {
        const std::string& tag = entries_[sweep].tag;
        kept_.clear();
        std::size_t read = 0;
        for (;;) {
            std::size_t start = 0;
            std::uint8_t entry = 0;
            if (joinedMatch(sweep, read, start, entry)) {
                // It begins in kept_ and ends in the rest.
                const std::size_t length = entries_[entry].tag.size();
                read += length - (kept_.size() - start);
                kept_.resize(start);
                count(entry, start == 0);
                continue;
            }
            const std::size_t found = rest_.find(tag, read);
            if (found == std::string::npos)
                break;
            kept_.append(rest_, read, found - read);
            read = found + tag.size();
            count(static_cast<std::uint8_t>(sweep), kept_.empty());
        }
        if (read > 0) {
            kept_.append(rest_, read);
            rest_.swap(kept_);
        }
    }
    if (counts)
        counts->sort();
    return tally;
}

// The lowest entry up to `limit` with an occurrence across the join of kept_ and rest_ from
// `read` on, and the start in kept_ of its first such occurrence. Only the last longest_ - 1
// bytes on either side can take part, so the automaton reads just those.
bool TagSweeps::joinedMatch(std::size_t limit, std::size_t read, std::size_t& start,
                            std::uint8_t& entry) {
    if (kept_.empty() || read == rest_.size())
        return false;
    const std::size_t left = std::min(kept_.size(), longest_ - 1);
    window_.assign(kept_, kept_.size() - left);
    window_.append(rest_, read, longest_ - 1);
    bool found = false;
    TagAutomaton::State state = TagAutomaton::start;
    for (std::size_t i = 0; i < window_.size(); ++i) {
        state = automaton_.next(state, static_cast<unsigned char>(window_[i]));
        if (!(state & TagAutomaton::matchFlag) || i + 1 <= left)
            continue;
        for (const std::uint8_t candidate : automaton_.matches(state)) {
            const std::size_t from = i + 1 - entries_[candidate].tag.size();
            if (candidate > limit || from >= left)
                continue;
            if (!found || candidate < entry || (candidate == entry && from < start)) {
                found = true;
                entry = candidate;
                start = from;
            }
        }
    }
    start += kept_.size() - left;
    return found;
}

} // namespace stepwell
