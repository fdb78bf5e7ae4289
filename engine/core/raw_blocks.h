// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"

#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// A tag whose occurrence opens a block of lines that are copied exactly as they are,
/// up to and including the first line that holds the block's end text.
struct RawOpener {
    std::string tag;       // upper-cased
    std::string end;       // upper-cased; empty when the entry names none
    std::string deltaText; // as read, for messages
    std::string place;     // where the entry was read, for messages (see TagEntry)
};

/// Whether a delta text marks a raw-block entry: "raw:" (any case) followed by the end text.
bool isRawDelta(std::string_view deltaText);

/// What is left of one line's text for the tag scan once its raw sections are cut out.
struct RawSplit {
    /// The text whose tags count, in the parts between the raw sections (an opener through
    /// its end, or through the end of the line), each viewing the line.
    std::vector<std::string_view> parts;
    /// The block still open after the line; nullptr when every section closed.
    const RawOpener* opened = nullptr;

    /// The parts joined, each raw section standing as one line feed: no tag holds a line
    /// break, so the text on its two sides never joins into a tag, and a tag after a raw
    /// section at the start of the line is not at the line's start. Built in `buffer`.
    std::string_view joined();
    std::string buffer;
};

/// The raw-block entries of a tag table, and the table without them.
class RawBlocks {
public:
    /// Takes the usable entries of `table` (those before the first empty tag) apart into
    /// raw openers and the ordinary entries, each kept in table order.
    explicit RawBlocks(const TagTable& table);

    /// The usable entries that are not raw openers, in their order.
    const TagTable& ordinaryTable() const { return ordinary_; }
    /// The openers' tags, in table order: a line in which none occurs needs no splitting.
    const std::vector<std::string>& openerTags() const { return openerTags_; }

    /// Splits `text` from `from` on, outside any block: the leftmost occurrence of any opener
    /// (the earlier entry when two start at the same place) begins a raw section, which ends
    /// just after the first occurrence of its end text behind the opener; the search then
    /// goes on after it. A section whose end is not on the line leaves its block open.
    /// Throws LineError for an opener that names no end text, when it is found.
    void split(std::string_view text, std::size_t from, RawSplit& out) const;

    /// The position just after the first occurrence of `opener`'s end text in `text` at or
    /// after `from`, ignoring ASCII case; npos when there is none.
    static std::size_t findEnd(std::string_view text, const RawOpener& opener, std::size_t from);

    /// Where the raw section that `opener` begins at `at` ends: findEnd() behind the opener.
    /// Throws LineError when the opener names no end text.
    static std::size_t sectionEnd(std::string_view text, const RawOpener& opener, std::size_t at);

    /// The opener that split() would find in `text` from `from` on, when the first opener to
    /// end there ends at `firstEnd`: only the few places where it can start are looked at.
    /// npos when none occurs.
    std::size_t openerEndingAt(std::string_view text, std::size_t from, std::size_t firstEnd,
                               const RawOpener*& opener) const;

private:
    /// The leftmost opener occurring in `text` at or after `from` (the earlier entry when two
    /// start at the same place) and where; npos when there is none.
    std::size_t findOpener(std::string_view text, std::size_t from, const RawOpener*& opener) const;

    std::vector<RawOpener> openers_;
    std::vector<std::string> openerTags_;
    bool startsOpener_[256] = {}; // the bytes, either case, that an opener can start with
    bool followsFirst_[256] = {}; // the bytes, either case, that can follow an opener's first
    int onlyFirstByte_ = -1;      // the one byte every opener starts with, or -1
    std::size_t longest_ = 0;     // the length of the longest opener
    TagTable ordinary_;
};

} // namespace stepwell
