#pragma once

// A plain re-indenter, written straight from the rules with none of the real one's shortcuts,
// so the fuzz targets can compare the two on any input.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stepwell::fuzz {

/// One table entry as the reference sees it: tag text as written, delta when it is a number,
/// and the end text of a raw-block entry (delta "raw:END", any case).
struct RefEntry {
    std::string tag;
    std::optional<double> delta;
    std::optional<std::string> rawEnd;
};

/// The reference's entry for a tag and its delta text; `delta` is the text as a number.
RefEntry refEntry(std::string tag, std::string_view deltaText, std::optional<double> delta);

/// The running state of one file: its level, and the raw block it is inside (-1: none).
struct RefState {
    int level = 0;
    int open = -1;
};

/// Rounds halves to the even neighbour by hand; nothing outside -32768..32767 or for NaN.
std::optional<int> refRound16(double value);

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

} // namespace stepwell::fuzz
