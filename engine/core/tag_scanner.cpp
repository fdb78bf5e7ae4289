#include "engine/core/tag_scanner.h"

#include "engine/core/line_error.h"
#include "frame/text/ascii.h"
#include "frame/text/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// How scan() gets the plain rule's result in one pass. When no removal can join text into a
// new occurrence, the occurrences are fixed by the first reading, so the rule counts the
// entries in table order, each one's surviving occurrences from left to right, and an
// occurrence survives unless it overlaps one counted before it. Overlaps only reach as far as
// a tag is long, so each group of overlapping occurrences is settled on its own as the pass
// goes by. An occurrence is counted at the very start of the scan copy when everything before
// it was removed earlier, which the chain of counted occurrences from position 0 tells. A
// removal can join text into a new occurrence only when the text just before some occurrence
// is the beginning of a tag; such lines take scanBySweeps().

namespace stepwell {

TagScanner::TagScanner(const TagTable& table, std::span<const std::string> markers)
    : automaton_(table.usable(), markers), marked_(!markers.empty()) {
    wholeDeltas_ = true;
    for (const TagEntry& entry : table.usable()) {
        entries_.push_back({entry.tag, entry.deltaText, entry.delta,
                            entry.delta ? roundToInt16(*entry.delta) : std::nullopt, entry.place});
        longest_ = std::max(longest_, entry.tag.size());
        // Whole numbers up to 2^20, at most 2^32 of them on a line: every partial sum is
        // exact, so the order of adding does not matter.
        const std::optional<double>& delta = entries_.back().delta;
        if (!delta || !entries_.back().lead || std::abs(*delta) > 0x1p20 ||
            *delta != std::trunc(*delta))
            wholeDeltas_ = false;
    }
    std::size_t recent = 1;
    while (recent <= longest_)
        recent *= 2;
    recent_.assign(recent, TagAutomaton::start);
    recentMask_ = recent - 1;
    counts_.assign(entries_.size(), 0);
}

double TagScanner::deltaOf(std::uint8_t entry) const {
    const Entry& e = entries_[entry];
    if (!e.delta)
        throw LineError(placePrefix(e.place) + "tag \"" + e.tag + "\" has the delta \"" +
                        e.deltaText + "\", which is not a number");
    return *e.delta;
}

std::int16_t TagScanner::leadOf(std::uint8_t entry) const {
    const Entry& e = entries_[entry];
    deltaOf(entry);
    if (!e.lead)
        throw LineError(placePrefix(e.place) + "the delta \"" + e.deltaText + "\" of tag \"" +
                        e.tag + "\" is outside -32768 to 32767");
    return *e.lead;
}

LineTally TagScanner::scan(std::string_view text) {
    LineTally tally;
    pass<false>(text, tally);
    return tally;
}

bool TagScanner::scanUnlessMarked(std::string_view text, LineTally& tally) {
    return pass<true>(text, tally);
}

inline void TagScanner::startLine(std::size_t size) {
    for (const std::uint8_t entry : counted_)
        counts_[entry] = 0;
    counted_.clear();
    summing_ = wholeDeltas_ && size < (std::size_t{1} << 32);
    sum_ = 0;
    holding_ = false;
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

// The pass over one line. With `stopAtMarkers`, false as soon as a marker shows up.
template <bool stopAtMarkers> bool TagScanner::pass(std::string_view text, LineTally& tally) {
    startLine(text.size());
    if (entries_.empty() && !(stopAtMarkers && marked_)) {
        tally = {};
        return true;
    }
    constexpr TagAutomaton::State hits =
        TagAutomaton::matchFlag | (stopAtMarkers ? TagAutomaton::markerFlag : 0);
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    const int soleFirst = automaton_.soleFirstByte();
    TagAutomaton::State* const recent = recent_.data();
    const std::size_t recentMask = recentMask_;
    TagAutomaton::State state = TagAutomaton::start;
    std::size_t i = 0;
    while (i < size) {
        if (state == TagAutomaton::start) {
            // Nothing that starts from here on can overlap the held occurrence.
            if (holding_)
                releaseHeld();
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
        }
        recent[i & recentMask] = state;
        state = automaton_.next(state, data[i]);
        ++i;
        if (state & hits) {
            if (stopAtMarkers && (state & TagAutomaton::markerFlag))
                return false;
            if ((state & TagAutomaton::matchFlag) && !notePending(state, i)) {
                // The sweeps count every tag of the text, so they are only for unmarked ones.
                if (stopAtMarkers && markedFrom(state, text, i))
                    return false;
                tally = scanBySweeps(text);
                return true;
            }
        }
    }
    if (holding_)
        releaseHeld();
    if (!pending_.empty() || !group_.empty()) {
        releasePending(size + 1);
        settleGroup();
    }
    if (summing_) {
        tally = {sum_, leadEntry_ < 0 ? std::int16_t{0}
                                      : *entries_[static_cast<std::size_t>(leadEntry_)].lead};
        return true;
    }
    tally = finishTally();
    return true;
}

// Whether a marker ends in `text` after `from`, reading on from `state`.
bool TagScanner::markedFrom(TagAutomaton::State state, std::string_view text,
                            std::size_t from) const {
    if (!marked_)
        return false;
    for (std::size_t i = from; i < text.size(); ++i) {
        state = automaton_.next(state, static_cast<unsigned char>(text[i]));
        if (state & TagAutomaton::markerFlag)
            return true;
    }
    return false;
}

// Queues the occurrences that end at `end`, keeping the queue in order of start. False when
// the text before one of them is the unfinished beginning of a tag, which removing the
// occurrence could join to the text after it.
bool TagScanner::notePending(TagAutomaton::State state, std::size_t end) {
    const auto matches = automaton_.matches(state);
    // The usual case: one occurrence that nothing before it overlaps. When nothing after it
    // can either, it counts at once; otherwise it is held until the automaton idles.
    if (matches.size() == 1 && !holding_ && group_.empty() && pending_.empty()) {
        const Occurrence occurrence{end - entries_[matches[0]].tag.size(), matches[0]};
        if (recent_[occurrence.start & recentMask_] & TagAutomaton::partFlag)
            return false;
        if (state & TagAutomaton::partFlag) {
            held_ = occurrence;
            holding_ = true;
        } else {
            take(occurrence);
        }
        return true;
    }
    if (holding_) {
        pending_.push_back(held_);
        holding_ = false;
    }
    for (const std::uint8_t entry : matches) {
        const std::size_t start = end - entries_[entry].tag.size();
        if (recent_[start & recentMask_] & TagAutomaton::partFlag)
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

// Counts the held occurrence, which nothing overlaps.
void TagScanner::releaseHeld() {
    holding_ = false;
    take(held_);
}

// Moves the queued occurrences that start before `before` into the overlap groups.
void TagScanner::releasePending(std::size_t before) {
    while (pendingHead_ < pending_.size() && pending_[pendingHead_].start < before) {
        const Occurrence& next = pending_[pendingHead_++];
        if (!group_.empty() && next.start >= groupEnd_)
            settleGroup();
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
void TagScanner::settleGroup() {
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

// Counts a surviving occurrence; they come in order of position.
void TagScanner::take(const Occurrence& occurrence) {
    const std::uint8_t entry = occurrence.entry;
    if (summing_)
        sum_ += *entries_[entry].delta;
    else if (counts_[entry]++ == 0)
        counted_.push_back(entry);
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

LineTally TagScanner::finishTally() {
    if (counted_.size() > 1)
        std::sort(counted_.begin(), counted_.end());
    // The rule meets entries in table order, so the first failing entry is the lowest.
    for (const std::uint8_t entry : counted_) {
        if (leadError_ >= 0 && leadError_ < entry)
            break;
        deltaOf(entry);
    }
    if (leadError_ >= 0)
        leadOf(static_cast<std::uint8_t>(leadError_));

    LineTally tally;
    for (const std::uint8_t entry : counted_) {
        const double delta = *entries_[entry].delta;
        // Added one by one in the rule's order, so that fractions round the same way.
        for (std::uint64_t k = 0; k < counts_[entry]; ++k)
            tally.lineDelta += delta;
    }
    if (leadEntry_ >= 0)
        tally.leadDelta = *entries_[static_cast<std::size_t>(leadEntry_)].lead;
    return tally;
}

// The sweeps: for each entry in table order, its occurrences from left to right, each removal
// followed at once by the lower entries it joins into being. The text left of the sweep is
// built up in kept_, the text right of it is rest_ from `read` on.
LineTally TagScanner::scanBySweeps(std::string_view text) {
    rest_.assign(text);
    for (char& c : rest_)
        c = upperAscii(c);
    LineTally tally;
    const auto count = [&](std::uint8_t entry, bool atStart) {
        tally.lineDelta += deltaOf(entry);
        if (atStart)
            tally.leadDelta = leadOf(entry);
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
    return tally;
}

// The lowest entry up to `limit` with an occurrence across the join of kept_ and rest_ from
// `read` on, and the start in kept_ of its first such occurrence.
bool TagScanner::joinedMatch(std::size_t limit, std::size_t read, std::size_t& start,
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
