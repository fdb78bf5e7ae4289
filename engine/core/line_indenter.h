// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/entry_counts.h"
#include "engine/core/line_tally.h"
#include "engine/core/raw_blocks.h"
#include "engine/core/tag_matcher.h"
#include "engine/core/tag_scanner.h"
#include "engine/core/tag_table.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace stepwell {

/// The line from its first character that is neither a space nor a tab.
std::string_view stripLeadingBlanks(std::string_view line);

/// Applies one line's tally to the running level: returns the level the line is written at
/// and moves `level` to the level of the next line. Throws LineError on overflow.
std::int16_t applyTally(const LineTally& tally, std::int16_t& level);

/// One output line: `tabs` tab characters, then `text`.
struct IndentedLine {
    std::size_t tabs = 0;
    std::string_view text;
};

/// What the tags of one line came to, as LineIndenter::indent(line, found) tells it.
struct LineFindings {
    /// The tally of the text whose tags count: the line without its leading blanks and raw
    /// sections, or on the line that ends a block, what stands behind the end.
    LineTally tally;
    /// Which entries of the scanned table (TagMatcher::patterns) counted, how many times;
    /// views the indenter's own record, which the next line replaces. Null for a line inside
    /// a raw block that does not end it: it is copied without a look at its tags.
    const EntryCounts* counts = nullptr;
};

/// Re-indents the lines of one file, carrying the level, and any open raw block, from line
/// to line.
class LineIndenter {
public:
    /// Indents with `matcher`, which must outlive the indenter.
    explicit LineIndenter(const TagMatcher& matcher, std::int16_t level = 0);
    /// Indents with a matcher of its own, built from `table`.
    explicit LineIndenter(const TagTable& table, std::int16_t level = 0);
    // The open block points into the matcher's openers.
    LineIndenter(const LineIndenter&) = delete;
    LineIndenter& operator=(const LineIndenter&) = delete;

    /// The indented line: tabs for the level, then the line without its leading blanks (no
    /// line break); a line inside a raw block exactly as it is. The text views `line`.
    /// Throws LineError.
    IndentedLine indent(std::string_view line);

    /// indent(line), also telling what the line's tags came to and which entries counted,
    /// for explaining the line. From the first such call on, the indenter keeps the counts of
    /// every line, which costs a little on lines with raw sections or fractional deltas.
    IndentedLine indent(std::string_view line, LineFindings& found);

    /// Appends indent(line) to `out`.
    void indentLine(std::string_view line, std::string& out);

    std::int16_t level() const { return level_; }
    /// Whether the next line lies inside a raw block.
    bool inRawBlock() const { return open_ != nullptr; }

private:
    LineTally tally(std::string_view text, std::size_t from);
    LineTally tallyPartByPart(std::string_view text, std::size_t from, std::size_t markerEnd);
    LineTally tallyOfJoinedParts(std::string_view text, std::size_t from);
    void leaveRawLine(std::string_view line);

    LineIndenter(std::unique_ptr<const TagMatcher> owned, const TagMatcher* shared,
                 std::int16_t level);

    std::unique_ptr<const TagMatcher> owned_; // when the indenter built its own
    const RawBlocks& raw_;
    TagScanner scanner_;
    std::int16_t level_ = 0;
    const RawOpener* open_ = nullptr;
    RawSplit split_; // reused from line to line
};

/// Indents one line against `table` at `level`; returns the output line and moves `level`.
/// A raw block opened on the line does not carry over to another call.
std::string indentLine(std::string_view line, const TagTable& table, std::int16_t& level);

} // namespace stepwell
