// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

class LineReader;

/// The most entries a tag table holds.
inline constexpr std::size_t maxTagEntries = 100;
/// The longest field (a tag or a delta) a tag file may hold, in bytes, and the most bytes
/// its tags may hold together: real tags are a few bytes long, and the bounds keep the
/// matcher built from a table within a few MiB.
inline constexpr std::size_t maxFieldBytes = 1000;
inline constexpr std::size_t maxTagBytes = 4000;

/// One entry: a tag text and how far one occurrence of it moves the indentation level.
struct TagEntry {
    std::string tag;             // upper-cased
    std::string deltaText;       // as read
    std::optional<double> delta; // deltaText as a number, when it is one
    std::string place;           // where its delta was read, "FILE, line N"; "" if not read
};

/// The start of a message about an entry read at `place`: "FILE, line N: ", or "" for an
/// entry that was not read from a file.
std::string placePrefix(const std::string& place);

/// The tags that move the indentation level, in table order.
class TagTable {
public:
    /// Adds an entry, read at `place` (see TagEntry); the tag text is upper-cased. Throws
    /// Error when the table is full.
    void add(std::string_view tag, std::string_view deltaText, std::string place = {});

    /// The entries that take part in the scan: those before the first one with an empty tag.
    std::span<const TagEntry> usable() const;
    /// Every stored entry.
    const std::vector<TagEntry>& entries() const { return entries_; }

private:
    std::vector<TagEntry> entries_;
};

/// Reads a tag file's lines: fields separated by commas or line ends, taken in pairs of tag
/// and delta; blank lines are skipped. Each entry remembers `name` and the line of its
/// delta, which messages about the entry name. Throws Error, naming the file `name` and the line,
/// when it holds more than 100 entries, a field longer than maxFieldBytes, tags longer than
/// maxTagBytes together, a quoted field that is not closed or is followed by text, or ends
/// with a tag that has no delta; and what `lines` throws.
TagTable parseTagTable(LineReader& lines, const std::string& name);

/// The same for a tag file's whole text.
TagTable parseTagTable(std::string_view text, const std::string& name);

} // namespace stepwell
