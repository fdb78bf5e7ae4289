// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/line_error.h"
#include "engine/core/line_indenter.h"
#include "engine/core/line_reader.h"
#include "engine/core/output_blocks.h"
#include "engine/core/tag_matcher.h"
#include "engine/core/tag_table.h"
#include "engine/core/text_sink.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace stepwell {

/// One line of a conversion: the line as read and the line it becomes.
struct ConvertedLine {
    std::string_view input;       // without its break
    std::string_view inputBreak;  // "" for a last line without one
    IndentedLine output;          // tabs and text
    std::string_view outputBreak; // the break the input used first; LF when it has none
};

/// Re-indents the lines of `in` one after another and calls `each` with every
/// ConvertedLine. Throws LineError prefixed with the line number, and what `in` throws.
template <class Each>
void forEachConvertedLine(LineReader& in, const TagMatcher& matcher, Each&& each) {
    LineIndenter indenter(matcher);
    std::string_view line;
    std::uint64_t lineNumber = 0;
    std::string_view lineBreak;
    while (in.next(line)) {
        ++lineNumber;
        // The first line's break is known once it is read; none means a one-line file.
        if (lineNumber == 1)
            lineBreak = in.firstBreak() == LineBreak::None ? "\n" : lineBreakText(in.firstBreak());
        ConvertedLine converted{line, lineBreakText(in.lastBreak()), {}, lineBreak};
        try {
            converted.output = indenter.indent(line);
        } catch (const LineError& error) {
            throw LineError("line " + std::to_string(lineNumber) + ": " + error.what());
        }
        each(converted);
    }
}

/// The UTF-8 byte-order mark, which a conversion keeps at the start.
inline constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

/// Re-indents every line of `in` into `out`, with the line break the input used first (LF
/// when it has none), keeping a byte-order mark. Throws LineError prefixed with the line
/// number, and what `in` and `out` throw.
template <TextSink Output>
void convertLines(LineReader& in, Output& out, const TagMatcher& matcher) {
    OutputBlocks<Output> blocks(out);
    bool started = false;
    const auto start = [&] {
        started = true;
        if (in.hadByteOrderMark())
            out.write(byteOrderMark);
    };
    forEachConvertedLine(in, matcher, [&](const ConvertedLine& line) {
        if (!started)
            start();
        blocks.put(line.output.tabs, line.output.text, line.outputBreak);
    });
    if (!started)
        start();
    blocks.flush();
    out.flush();
}

/// convertLines with a matcher built for this one input.
template <TextSink Output> void convertLines(LineReader& in, Output& out, const TagTable& table) {
    convertLines(in, out, TagMatcher(table));
}

class UnifiedDiff;

/// Gives `diff` the lines of `in` and the lines they become, and returns whether the
/// conversion changes any byte. Throws as convertLines does.
bool diffConversion(LineReader& in, const TagMatcher& matcher, UnifiedDiff& diff);
bool diffConversion(LineReader& in, const TagTable& table, UnifiedDiff& diff);

/// The conversion of a whole text held in memory. Throws LineError as convertLines does.
std::string convertText(std::string_view text, const TagTable& table);

} // namespace stepwell
