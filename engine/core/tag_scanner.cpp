// SPDX-License-Identifier: MIT
#include "engine/core/tag_scanner.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// How scan() gets the plain rule's result in one pass over the line.
//
// The automaton reports each occurrence where it ends; between tags it idles, and the pass
// jumps with memchr to the next byte that can begin one. When no removal can join text into a
// new occurrence, the occurrences are fixed by this first reading, and the rule comes down to
// this: each entry in table order counts its occurrences from left to right, except those
// that overlap one counted before. Overlaps reach no further than the longest tag, so each
// group of overlapping occurrences is settled on its own as the pass goes by. An occurrence
// is counted at the very start of the scan copy when everything before it was removed
// earlier, which the chain of counted occurrences from position 0 tells. The deltas are added
// entry by entry in table order, as the rule adds them, so that fractions round the same way;
// whole deltas add up exactly in any order, so those are summed as the occurrences come.
//
// A removal can join text into a new occurrence only when the text just before some
// occurrence is the unfinished beginning of a tag (`<<td`, partFlag on the state before it).
// Such lines take the sweeps (TagSweeps), which follow every join.
//
// The raw openers ride in the same automaton as markers, so the pass that counts a line's
// tags also tells whether the line holds one; nearly every line holds none and is done in
// that pass. Where one ends the pass stops, and what it counted before the opener is the
// tally of the text before it (tallyBefore), as no removal joins text across a raw section.
// A marker is not the beginning of a tag for the join check: markers are looked for in the
// line as it stands, before any removal.

namespace stepwell {
namespace {

std::vector<ScanEntry> scanEntries(const TagTable& table) {
    const auto usable = table.usable();
    return std::vector<ScanEntry>(usable.begin(), usable.end());
}

} // namespace

ScanPatterns::ScanPatterns(const TagTable& table, std::span<const std::string> markers)
    : entries(scanEntries(table)), automaton(table.usable(), markers), marked(!markers.empty()) {
    wholeDeltas = true;
    for (const ScanEntry& entry : entries) {
        longest = std::max(longest, entry.tag.size());
        // Whole numbers up to 2^20, at most 2^32 of them on a line: every partial sum is
        // exact, so the order of adding does not matter.
        if (!entry.delta || !entry.lead || std::abs(*entry.delta) > 0x1p20 ||
            *entry.delta != std::trunc(*entry.delta))
            wholeDeltas = false;
    }
    depth = longest;
    for (const std::string& marker : markers)
        depth = std::max(depth, marker.size());
}

TagScanner::TagScanner(const ScanPatterns& patterns) : TagScanner(nullptr, &patterns) {}

TagScanner::TagScanner(const TagTable& table, std::span<const std::string> markers)
    : TagScanner(std::make_unique<const ScanPatterns>(table, markers), nullptr) {}

TagScanner::TagScanner(std::unique_ptr<const ScanPatterns> owned, const ScanPatterns* shared)
    : owned_(std::move(owned)), patterns_(shared ? *shared : *owned_), entries_(patterns_.entries),
      automaton_(patterns_.automaton), sweeps_(automaton_, entries_), marked_(patterns_.marked),
      longest_(patterns_.longest), sumsAsFound_(patterns_.wholeDeltas), depth_(patterns_.depth),
      counts_(entries_.size()) {}

LineTally TagScanner::scan(std::string_view text) {
    LineTally tally;
    pass<false>(text, tally);
    return tally;
}

std::size_t TagScanner::scanToMarker(std::string_view text, LineTally& tally) {
    return pass<true>(text, tally);
}

// The occurrences that the pass counted or queued before it stopped are those of the
// shorter text when none of them ends after it; overlaps with later ones, which could have
// decided otherwise, are then none either. An occurrence still held is the shorter text's
// only when it ends there: a tag that begins the marker (<P of <PRE) does not.
LineTally TagScanner::tallyBefore(std::string_view start) {
    if (!resumable_ || lastEnd_ > start.size())
        return scan(start);
    resumable_ = false;
    if (holding_ && held_.start + entries_[held_.entry].tag.size() > start.size())
        holding_ = false;
    return finishPass();
}

inline void TagScanner::startLine(std::size_t size) {
    lastEnd_ = 0;
    counts_.clear();
    summing_ = sumsAsFound_ && size < (std::size_t{1} << 32);
    sum_ = 0;
    holding_ = false;
    queued_ = false;
    pending_.clear();
    pendingHead_ = 0;
    group_.clear();
    groupEnd_ = 0;
    chainEnd_ = 0;
    chainOpen_ = true;
    chainTop_ = -1;
    leadEntry_ = -1;
    leadError_ = -1;
}

// Counts a surviving occurrence; they come in order of position.
inline void TagScanner::take(const Occurrence& occurrence) {
    const std::uint8_t entry = occurrence.entry;
    if (summing_)
        sum_ += *entries_[entry].delta;
    else
        counts_.add(entry);
    if (!chainOpen_)
        return;
    if (occurrence.start != chainEnd_) {
        chainOpen_ = false;
        return;
    }
    // Everything before it is removed by the chain; it is at the very start when it comes
    // after every one of them in the rule's order.
    if (entry >= chainTop_) {
        chainTop_ = entry;
        leadEntry_ = entry;
        if (entries_[entry].delta && !entries_[entry].lead && leadError_ < 0)
            leadError_ = entry;
    }
    chainEnd_ += entries_[entry].tag.size();
}

// Whether the text before `start` ends with the unfinished beginning of a tag. The automaton
// idled where the current walk began; elsewhere its state is read again from the bytes
// before, of which no more than the longest tag or marker decide it. Most occurrences begin
// a walk, so the scan keeps no state per byte.
inline bool TagScanner::partBefore(std::size_t start) const {
    if (start == walkStart_)
        return false;
    TagAutomaton::State state = TagAutomaton::start;
    for (std::size_t k = std::max(walkStart_, start > depth_ ? start - depth_ : 0); k < start; ++k)
        state = automaton_.next(state, data_[k]);
    return state & TagAutomaton::partFlag;
}

// Queues the occurrences that end at `end`, keeping the queue in order of start. False when
// the text before one of them is the unfinished beginning of a tag, which removing the
// occurrence could join to the text after it. Called for every occurrence, so the usual case
// is settled here, inline.
inline bool TagScanner::notePending(TagAutomaton::State state, std::size_t end) {
    const auto matches = automaton_.matches(state);
    // One occurrence that nothing before it overlaps. When nothing after it can either, it
    // counts at once; otherwise it is held until the automaton idles. So is a tag that a
    // marker may still overlap (<P of <PRE), which the marker would cut off the text before it.
    if (matches.size() == 1 && !holding_ && !queued_) {
        const Occurrence occurrence{end - entries_[matches[0]].tag.size(), matches[0]};
        if (partBefore(occurrence.start))
            return false;
        if (state & (TagAutomaton::partFlag | TagAutomaton::markerPartFlag)) {
            held_ = occurrence;
            holding_ = true;
        } else {
            lastEnd_ = end;
            take(occurrence);
        }
        return true;
    }
    lastEnd_ = end;
    return queueOverlapping(matches, end);
}

// The other cases: several occurrences end here, or others are still pending.
bool TagScanner::queueOverlapping(std::span<const std::uint8_t> matches, std::size_t end) {
    queued_ = true;
    if (holding_) {
        pending_.push_back(held_);
        holding_ = false;
    }
    for (const std::uint8_t entry : matches) {
        const std::size_t start = end - entries_[entry].tag.size();
        if (partBefore(start))
            return false;
        pending_.push_back({start, entry});
        for (std::size_t k = pending_.size() - 1;
             k > pendingHead_ && pending_[k - 1].start > pending_[k].start; --k)
            std::swap(pending_[k - 1], pending_[k]);
    }
    // Occurrences found later end after `end`, so they start at end + 1 - longest_ or later.
    if (end + 1 > longest_)
        releasePending(end + 1 - longest_);
    return true;
}

// Counts what is held or pending, where no occurrence still to come can overlap it. Called
// whenever the automaton idles, so that a long line does not keep its latest occurrences
// pending, and every later one with them, to its end.
inline void TagScanner::releaseAll() {
    if (holding_) {
        holding_ = false;
        take(held_);
    } else if (queued_) {
        queued_ = false;
        releasePending(std::string::npos);
        countOverlapGroup();
    }
}

// The tally of everything the pass noted.
inline LineTally TagScanner::finishPass() {
    releaseAll();
    if (summing_)
        return {sum_, leadEntry_ < 0 ? std::int16_t{0}
                                     : *entries_[static_cast<std::size_t>(leadEntry_)].lead};
    return finishTally();
}

// The pass over one line; npos once `tally` is set. With `stopAtMarkers`, it stops as soon as
// a marker shows up and returns where it ends.
template <bool stopAtMarkers>
std::size_t TagScanner::pass(std::string_view text, LineTally& tally) {
    constexpr std::size_t done = std::string_view::npos;
    startLine(text.size());
    if (entries_.empty() && !(stopAtMarkers && marked_)) {
        tally = {};
        return done;
    }
    constexpr TagAutomaton::State hits =
        TagAutomaton::matchFlag | (stopAtMarkers ? TagAutomaton::markerFlag : 0);
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    const int soleFirst = automaton_.soleFirstByte();
    const TagAutomaton::Stepper next = automaton_.stepper();
    data_ = data;
    TagAutomaton::State state = TagAutomaton::start;
    std::size_t i = 0;
    while (i < size) {
        if (state == TagAutomaton::start) {
            // Nothing that starts from here on can overlap what is held or pending.
            releaseAll();
            // Between tags the automaton idles: jump to the next byte that can begin one.
            if (soleFirst >= 0) {
                const void* found = std::memchr(data + i, soleFirst, size - i);
                if (!found)
                    break;
                i = static_cast<std::size_t>(static_cast<const unsigned char*>(found) - data);
            } else {
                while (i < size && !automaton_.beginsTag(data[i]))
                    ++i;
                if (i == size)
                    break;
            }
            walkStart_ = i;
        }
        state = next(state, data[i]);
        ++i;
        if (state & hits) {
            if (stopAtMarkers && (state & TagAutomaton::markerFlag)) {
                resumable_ = true;
                return i;
            }
            if ((state & TagAutomaton::matchFlag) && !notePending(state, i)) {
                // The sweeps count every tag of the text, raw sections included, so a line
                // goes to them only when the rest of it holds no marker.
                if (stopAtMarkers) {
                    resumable_ = false;
                    const std::size_t markerEnd = markerEndFrom(state, text, i);
                    if (markerEnd != done)
                        return markerEnd;
                }
                tally = sweeps_.scan(text);
                return done;
            }
        }
    }
    tally = finishPass();
    return done;
}

// Where the first marker ends in `text` after `from`, reading on from `state`; npos when
// none does.
std::size_t TagScanner::markerEndFrom(TagAutomaton::State state, std::string_view text,
                                      std::size_t from) const {
    if (!marked_)
        return std::string_view::npos;
    for (std::size_t i = from; i < text.size(); ++i) {
        state = automaton_.next(state, static_cast<unsigned char>(text[i]));
        if (state & TagAutomaton::markerFlag)
            return i + 1;
    }
    return std::string_view::npos;
}

// Moves the queued occurrences that start before `before` into the overlap groups.
void TagScanner::releasePending(std::size_t before) {
    while (pendingHead_ < pending_.size() && pending_[pendingHead_].start < before) {
        const Occurrence& next = pending_[pendingHead_++];
        if (!group_.empty() && next.start >= groupEnd_)
            countOverlapGroup();
        group_.push_back(next);
        groupEnd_ = std::max(groupEnd_, next.start + entries_[next.entry].tag.size());
    }
    if (pendingHead_ == pending_.size()) {
        pending_.clear();
        pendingHead_ = 0;
    }
}

// Decides which occurrences of one overlap group are counted, then counts them in order of
// position.
void TagScanner::countOverlapGroup() {
    if (group_.empty())
        return;
    const std::size_t base = group_.front().start;
    if (group_.size() > 1) {
        order_.resize(group_.size());
        for (std::uint32_t k = 0; k < order_.size(); ++k)
            order_[k] = k;
        std::sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
            return group_[a].entry != group_[b].entry ? group_[a].entry < group_[b].entry
                                                      : group_[a].start < group_[b].start;
        });
        taken_.assign(groupEnd_ - base, 0);
        for (const std::uint32_t k : order_) {
            Occurrence& occurrence = group_[k];
            char* first = taken_.data() + (occurrence.start - base);
            char* last = first + entries_[occurrence.entry].tag.size();
            if (std::find(first, last, 1) == last)
                std::fill(first, last, 1);
            else
                occurrence.start = std::string::npos; // lost to an earlier entry
        }
    }
    for (const Occurrence& occurrence : group_)
        if (occurrence.start != std::string::npos)
            take(occurrence);
    group_.clear();
    groupEnd_ = 0;
}

LineTally TagScanner::finishTally() {
    counts_.sort();
    // The rule meets entries in table order, so the first failing entry is the lowest.
    for (const std::uint8_t entry : counts_.entries()) {
        if (leadError_ >= 0 && leadError_ < entry)
            break;
        entries_[entry].checkedDelta();
    }
    if (leadError_ >= 0)
        entries_[static_cast<std::size_t>(leadError_)].checkedLead();

    LineTally tally;
    for (const std::uint8_t entry : counts_.entries()) {
        const double delta = *entries_[entry].delta;
        // Added one by one in the rule's order, so that fractions round the same way.
        for (std::uint64_t k = 0; k < counts_.times(entry); ++k)
            tally.lineDelta += delta;
    }
    if (leadEntry_ >= 0)
        tally.leadDelta = *entries_[static_cast<std::size_t>(leadEntry_)].lead;
    return tally;
}

} // namespace stepwell
