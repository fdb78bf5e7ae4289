// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/entry_counts.h"
#include "engine/core/line_tally.h"
#include "engine/core/scan_entry.h"
#include "engine/core/tag_automaton.h"
#include "engine/core/tag_sweeps.h"
#include "engine/core/tag_table.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// What a TagScanner reads of a table: its entries as the scans count them and the automaton
/// over their tags and the markers. Building it is most of the cost of a scanner; it never
/// changes once built, so the scanners of any number of files and threads may share it.
struct ScanPatterns {
    /// `markers` (upper-cased, none empty) are texts that TagScanner::scanToMarker() looks
    /// out for; they are not tags and never count.
    explicit ScanPatterns(const TagTable& table, std::span<const std::string> markers = {});
    // The automaton's matches refer to the entries by their place.
    ScanPatterns(const ScanPatterns&) = delete;
    ScanPatterns& operator=(const ScanPatterns&) = delete;

    std::vector<ScanEntry> entries;
    TagAutomaton automaton;
    bool marked = false; // whether there are markers to look out for
    std::size_t longest = 0;
    // Every delta is a whole number small enough that the sum of a line is exact in any
    // order, and every one is in range as a leading delta: occurrences are simply added up.
    bool wholeDeltas = false;
    std::size_t depth = 0; // the length of the longest tag or marker
};

/// Counts the tag occurrences of lines with the result of the plain rule (the first entry in
/// table order that occurs anywhere is counted, its first occurrence removed, and the search
/// starts over), in about one pass over each line.
///
/// Made for one conversion; it keeps scratch buffers between lines, so it is not shared
/// between threads (its ScanPatterns may be).
class TagScanner {
public:
    /// Scans with `patterns`, which must outlive the scanner.
    explicit TagScanner(const ScanPatterns& patterns);
    /// Scans with patterns of its own, built from `table` and `markers` (see ScanPatterns).
    explicit TagScanner(const TagTable& table, std::span<const std::string> markers = {});
    // The sweeps refer to this scanner's entries and automaton.
    TagScanner(const TagScanner&) = delete;
    TagScanner& operator=(const TagScanner&) = delete;

    /// The tally of `text` (already stripped of leading blanks). Throws LineError for a
    /// delta that is not a number or a leading delta out of range, as the plain rule meets
    /// them.
    LineTally scan(std::string_view text);

    /// Scans `text` until a marker ends in it (ignoring case, like the tags). Returns npos,
    /// with `tally` set as scan() sets it, when none does; otherwise where the first marker
    /// ends, and tallyBefore() then gives the tally of the text before it.
    std::size_t scanToMarker(std::string_view text, LineTally& tally);

    /// scan(start), where `start` is the beginning of the text of the last scanToMarker(),
    /// which found a marker, up to where that marker ends or less. Finishes that pass when no
    /// occurrence it counted ends after `start` (none does when `start` stops where the
    /// marker starts and no tag overlaps it); scans `start` again otherwise.
    LineTally tallyBefore(std::string_view start);

    /// Whether the tallies of the parts of a line, scanned one by one, add up to the tally of
    /// the whole: every delta is a whole number small enough that the sums of a line come out
    /// the same in any order, none is an error, and the entries are not counted (the counts
    /// are those of one scan).
    bool partsAddUp() const { return sumsAsFound_; }

    /// From now on, every scan also keeps how many times each entry counted (entryCounts()),
    /// which costs a little: the deltas are no longer simply added up as they come.
    void countEntries() {
        sumsAsFound_ = false;
        sweeps_.countEntriesInto(&counts_);
    }
    /// After a scan with countEntries() on, the entries it counted and how many times, in
    /// table order.
    const EntryCounts& entryCounts() const { return counts_; }

    /// The same tally by TagSweeps, which scan() uses for the lines that need it; public so
    /// that the sweeps can be checked against the model on every line.
    LineTally scanBySweeps(std::string_view text) { return sweeps_.scan(text); }

private:
    struct Occurrence {
        std::size_t start;
        std::uint8_t entry;
    };
    // One pass: occurrences in order of their start, resolved overlap group by group.
    template <bool stopAtMarkers> std::size_t pass(std::string_view text, LineTally& tally);
    void startLine(std::size_t size);
    std::size_t markerEndFrom(TagAutomaton::State state, std::string_view text,
                              std::size_t from) const;
    bool partBefore(std::size_t start) const;
    bool notePending(TagAutomaton::State state, std::size_t end);
    bool queueOverlapping(std::span<const std::uint8_t> matches, std::size_t end);
    void releaseAll();
    void releasePending(std::size_t before);
    void countOverlapGroup();
    void take(const Occurrence& occurrence);
    LineTally finishPass();
    LineTally finishTally();

    TagScanner(std::unique_ptr<const ScanPatterns> owned, const ScanPatterns* shared);

    std::unique_ptr<const ScanPatterns> owned_; // when the scanner built its own
    const ScanPatterns& patterns_;
    // Of the patterns, kept here as the scan reads them.
    std::span<const ScanEntry> entries_;
    const TagAutomaton& automaton_;
    TagSweeps sweeps_; // for the lines where a removal may join text into a new occurrence
    bool marked_;
    std::size_t longest_;
    // Every delta is a whole number small enough that the sum of a line is exact in any
    // order, all are in range as leading deltas, and no one asked for the entries' counts.
    bool sumsAsFound_;
    std::size_t depth_;

    // Per line, for scan().
    const unsigned char* data_ = nullptr; // the text of the pass
    std::size_t walkStart_ = 0;           // where the automaton last left its start
    std::size_t lastEnd_ = 0;             // where the occurrence counted or queued last ends
    bool resumable_ = false; // whether the pass stopped at a marker with all it saw noted
    bool summing_ = false;   // adding deltas up as occurrences come, rather than counting
    double sum_ = 0;
    // An occurrence that only a longer tag or a marker still to come could overlap, while
    // nothing else is pending: most occurrences of tags that begin longer ones (`<P`, `<LI`)
    // wait here.
    Occurrence held_{};
    bool holding_ = false;
    bool queued_ = false; // whether occurrences may wait in pending_ or group_
    std::vector<Occurrence> pending_;
    std::size_t pendingHead_ = 0;
    std::vector<Occurrence> group_;
    std::size_t groupEnd_ = 0;
    std::vector<std::uint32_t> order_;
    std::vector<char> taken_;
    EntryCounts counts_; // kept when not summing, and by the sweeps when asked for
    std::size_t chainEnd_ = 0;
    bool chainOpen_ = true;
    int chainTop_ = -1;
    int leadEntry_ = -1;
    int leadError_ = -1;
};

} // namespace stepwell
