// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace stepwell {

/// A multi-pattern matcher over the tags of a table: a deterministic automaton that reads a
/// line once, byte by byte, and reports every tag occurrence where it ends.
///
/// Letters a-z read as A-Z, so the automaton matches the upper-cased tags without an
/// upper-cased copy of the line. Bytes that occur in no tag share one input class, which
/// keeps the transition table small enough to stay in the first-level cache.
///
/// Markers are further texts that the automaton only flags where they end (markerFlag),
/// so that the same pass that finds the tags tells whether a line holds one of them. They
/// are no tags: matches() never lists them and partFlag does not see their beginnings, which
/// markerPartFlag shows instead.
class TagAutomaton {
public:
    /// A state, stored as its row offset in the transition table and four flags.
    using State = std::uint32_t;
    static constexpr State start = 0;
    /// At least one tag ends here.
    static constexpr State matchFlag = 0x80000000u;
    /// The text read so far ends with the beginning of a tag that is not complete yet.
    static constexpr State partFlag = 0x40000000u;
    /// At least one marker ends here.
    static constexpr State markerFlag = 0x20000000u;
    /// The text read so far ends with the beginning of a marker that is not complete yet.
    static constexpr State markerPartFlag = 0x10000000u;
    static constexpr State flags = matchFlag | partFlag | markerFlag | markerPartFlag;

    /// `markers` must be upper-cased, like the tags, and not empty.
    explicit TagAutomaton(std::span<const TagEntry> entries,
                          std::span<const std::string> markers = {});

    State next(State state, unsigned char byte) const {
        return table_[(state & ~flags) + classOf_[byte]];
    }
    /// next() for a loop that writes memory as it goes: its tables stay in registers, where
    /// the compiler, not knowing that those writes leave them alone, would load them anew.
    struct Stepper {
        const State* table;
        const std::uint8_t* classOf;
        State operator()(State state, unsigned char byte) const {
            return table[(state & ~flags) + classOf[byte]];
        }
    };
    Stepper stepper() const { return {table_.data(), classOf_.data()}; }
    /// The indices of the entries whose tags end at `state` (a state with matchFlag set).
    std::span<const std::uint8_t> matches(State state) const {
        const std::uint32_t index = (state & ~flags) >> rowShift_;
        return {matchList_.data() + matchBegin_[index], matchList_.data() + matchBegin_[index + 1]};
    }
    /// Whether `byte` can begin a tag or a marker; elsewhere the automaton stays at `start`.
    bool beginsTag(unsigned char byte) const { return beginsTag_[byte]; }
    /// The only byte that can begin a tag or a marker, or -1 when there are several or none.
    int soleFirstByte() const { return soleFirstByte_; }

private:
    struct Trie;
    // The steps of building, in order.
    void assignClasses(std::span<const TagEntry> entries, std::span<const std::string> markers);
    Trie buildTrie(std::span<const TagEntry> entries, std::span<const std::string> markers) const;
    void layOutTable(const Trie& trie);
    void noteFirstBytes(std::span<const TagEntry> entries, std::span<const std::string> markers);

    std::array<std::uint8_t, 256> classOf_{};
    std::array<bool, 256> beginsTag_{};
    int soleFirstByte_ = -1;
    std::uint32_t classes_ = 1;
    std::uint32_t rowShift_ = 0;
    std::vector<State> table_;
    std::vector<std::uint32_t> matchBegin_; // per state: where its entries start in matchList_
    std::vector<std::uint8_t> matchList_;
};

} // namespace stepwell
