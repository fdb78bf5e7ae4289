#pragma once

#include "line_tally.h"
#include "tag_scanner.h"
#include "tag_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace stepwell {

/// The line from its first character that is neither a space nor a tab.
std::string_view stripLeadingBlanks(std::string_view line);

/// Applies one line's tally to the running level: returns the level the line is written at
/// and moves `level` to the level of the next line. Throws LineError on overflow.
std::int16_t applyTally(const LineTally& tally, std::int16_t& level);

/// Re-indents the lines of one file, carrying the level from line to line.
class LineIndenter {
public:
    explicit LineIndenter(const TagTable& table, std::int16_t level = 0);

    /// Appends the indented line (tabs for the level, then the line without its leading
    /// blanks; no line break) to `out`. Throws LineError.
    void indentLine(std::string_view line, std::string& out);

    std::int16_t level() const { return level_; }

private:
    TagScanner scanner_;
    std::int16_t level_ = 0;
};

/// Indents one line against `table` at `level`; returns the output line and moves `level`.
std::string indentLine(std::string_view line, const TagTable& table, std::int16_t& level);

} // namespace stepwell
