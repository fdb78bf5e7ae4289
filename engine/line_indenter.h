#pragma once

#include "error.h"
#include "raw_blocks.h"
#include "tag_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace stepwell {

/// An error that belongs to one input line: a delta that is not a number, or a level or
/// delta outside the 16-bit range. The converter adds the file and line number.
class LineError : public Error {
public:
    using Error::Error;
};

/// What the tag scan found on one line.
struct LineTally {
    double lineDelta = 0;       // sum of the deltas of every counted occurrence
    std::int16_t leadDelta = 0; // delta of the last occurrence found at the very start
};

/// The line from its first character that is neither a space nor a tab.
std::string_view stripLeadingBlanks(std::string_view line);

/// Counts the tag occurrences of `text` (already stripped): the first entry in table order
/// that occurs anywhere is counted and its first occurrence removed, then the scan starts
/// over from the first entry, until no entry occurs any more. Matching ignores ASCII case.
/// Throws LineError for a delta that is not a number or a leading delta out of range.
LineTally scanTags(std::string_view text, const TagTable& table);

/// Applies one line's tally to the running level: returns the level the line is written at
/// and moves `level` to the level of the next line. Throws LineError on overflow.
std::int16_t applyTally(const LineTally& tally, std::int16_t& level);

/// Re-indents the lines of one file, carrying the level, and any open raw block, from line
/// to line.
class LineIndenter {
public:
    explicit LineIndenter(const TagTable& table, std::int16_t level = 0);
    // The open block points into this indenter's own openers.
    LineIndenter(const LineIndenter&) = delete;
    LineIndenter& operator=(const LineIndenter&) = delete;

    /// Appends the indented line (tabs for the level, then the line without its leading
    /// blanks; no line break) to `out`; a line inside a raw block is appended exactly as it
    /// is. Throws LineError.
    void indentLine(std::string_view line, std::string& out);

    std::int16_t level() const { return level_; }
    /// Whether the next line lies inside a raw block.
    bool inRawBlock() const { return open_ != nullptr; }

private:
    LineTally tally(std::string_view text) const;
    std::string_view ordinaryText(std::string_view text, std::size_t from);
    void copyRawLine(std::string_view line, std::string& out);

    RawBlocks raw_;
    std::int16_t level_ = 0;
    const RawOpener* open_ = nullptr;
    RawSplit split_; // reused from line to line
};

/// Indents one line against `table` at `level`; returns the output line and moves `level`.
/// A raw block opened on the line does not carry over to another call.
std::string indentLine(std::string_view line, const TagTable& table, std::int16_t& level);

} // namespace stepwell
