// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/line_indenter.h"
#include "engine/core/tag_matcher.h"
#include "engine/core/tag_table.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// Which rule placed a line.
enum class Placement {
    AtLevel,  // written at the current level; its sum moves the level from the next line
    OneOut,   // starts by closing and opens as much as it closes: one level out
    OutBySum, // starts by closing and closes more than it opens: moved out by its sum first
    RawCopy,  // inside a raw block: copied as it is
    RawEnd,   // ends a raw block: copied as it is; the tags behind the end move the level
};

/// An entry that counted on a line, and how many times; the texts view the explainer's
/// table.
struct CountedEntry {
    std::string_view tag;
    std::string_view deltaText;
    std::size_t times = 0;
};

/// Why one line comes out as it does.
struct LineExplanation {
    Placement placement = Placement::AtLevel;
    int level = 0;        // the level the line is written at (for raw lines, the level around)
    std::size_t tabs = 0; // tabs written before it
    int next = 0;         // the level from the next line on
    double lineDelta = 0;
    int leadDelta = 0;
    std::vector<CountedEntry> counted; // in table order
    bool opensBlock = false;           // a raw block starts on the line
    std::string_view text;             // the line as written, without the tabs
};

/// Explains the lines of one file one after another, converting them with the real
/// indenter as it goes, so that the levels, the rules and the entries counted are exactly
/// the conversion's.
class LineExplainer {
public:
    explicit LineExplainer(const TagTable& table);
    // The indenter refers to the matcher.
    LineExplainer(const LineExplainer&) = delete;
    LineExplainer& operator=(const LineExplainer&) = delete;

    /// The next line's explanation; its text views `line`. Throws LineError as the
    /// indenter does.
    LineExplanation explain(std::string_view line);
    /// explain(line) into `explained`, whose list of entries keeps its room from line to line.
    void explain(std::string_view line, LineExplanation& explained);

private:
    TagMatcher matcher_;
    LineIndenter indenter_;
    LineFindings found_;
};

/// The explanation's heading, then one row a line: aligned columns a person reads, the line's
/// text last, shortened and with its control bytes escaped. Each ends with a line feed.
std::string explanationHeading();
std::string explanationRow(std::uint64_t lineNumber, const LineExplanation& line);
/// explanationRow() appended to `row`.
void appendExplanationRow(std::uint64_t lineNumber, const LineExplanation& line, std::string& row);

} // namespace stepwell
