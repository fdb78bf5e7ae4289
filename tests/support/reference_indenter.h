// SPDX-License-Identifier: MIT
#pragma once

// The plain re-indenter, written straight from the rules with none of the real one's
// shortcuts: the model that the engine tests, the fuzz targets and the benchmark checks
// compare the real indenter with. It searches the table from the first entry after every
// counted tag, copies strings freely, and shares no code with the engine.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {
class TagTable;
}

namespace stepwell::test {

/// One table entry as the model sees it: the tag, the delta as written and as a number
/// (when it is one), and the end text of a raw-block entry (delta "raw:END", any case).
struct RefEntry {
    std::string tag;
    std::string deltaText;
    std::optional<double> delta;
    std::optional<std::string> rawEnd;
};

/// The model's entry for a tag and its delta text; `delta` is the text as a number.
RefEntry refEntry(std::string tag, std::string deltaText, std::optional<double> delta);

/// The model's entries for every entry of `table`, in order.
std::vector<RefEntry> refEntries(const TagTable& table);

/// Rounds halves to the even neighbour by hand; nothing outside -32768..32767 or for NaN.
std::optional<int> refRound16(double value);

/// What the plain tag rule finds on a line (raw entries left out, no raw sections cut):
/// the sum of the deltas, the leading delta, or the error the rule meets first, with the
/// engine's wording.
struct RefTally {
    double sum = 0;
    int lead = 0;
    std::string error;              // "" when there is none
    std::vector<std::size_t> times; // per entry of the table, how many times it counted
};
RefTally refTally(std::string_view text, const std::vector<RefEntry>& table);

/// The running state of one file: its level, and the raw block it is inside (-1: none).
struct RefState {
    int level = 0;
    int open = -1;
};

/// Indents one line in `state`; nothing when the line is an error.
std::optional<std::string> refIndentLine(std::string_view line, const std::vector<RefEntry>& table,
                                         RefState& state);

/// A file split into lines: the byte-order mark, the lines and the break each one ended with.
struct RefLines {
    bool byteOrderMark = false;
    std::vector<std::string> lines;
    std::vector<std::string> breaks; // "" for a last line without one
};
RefLines refSplit(std::string_view bytes);

/// Converts a whole file; nothing when any line is an error.
std::optional<std::string> refConvert(std::string_view bytes, const std::vector<RefEntry>& table);

} // namespace stepwell::test
