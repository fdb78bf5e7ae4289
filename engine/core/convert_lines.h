#pragma once

#include "engine/core/line_error.h"
#include "engine/core/line_indenter.h"
#include "engine/core/line_reader.h"
#include "engine/core/output_blocks.h"
#include "engine/core/tag_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace stepwell {

/// Re-indents every line of `in` into `out`, anything with write(std::string_view) and
/// flush(), with the line break the input used first (LF when it has none), keeping a
/// byte-order mark. Throws LineError prefixed with the line number, and what `in` and `out`
/// throw.
template <class Output> void convertLines(LineReader& in, Output& out, const TagTable& table) {
    LineIndenter indenter(table);
    OutputBlocks<Output> blocks(out);
    std::string_view line;
    std::uint64_t lineNumber = 0;
    std::string_view lineBreak;
    while (in.next(line)) {
        ++lineNumber;
        if (lineNumber == 1) {
            if (in.hadByteOrderMark())
                out.write("\xEF\xBB\xBF");
            // The first line's break is known once it is read; none means a one-line file.
            lineBreak = in.firstBreak() == LineBreak::None ? "\n" : lineBreakText(in.firstBreak());
        }
        IndentedLine indented;
        try {
            indented = indenter.indent(line);
        } catch (const LineError& error) {
            throw LineError("line " + std::to_string(lineNumber) + ": " + error.what());
        }
        blocks.put(indented.tabs, indented.text, lineBreak);
    }
    if (lineNumber == 0 && in.hadByteOrderMark())
        out.write("\xEF\xBB\xBF");
    blocks.flush();
    out.flush();
}

/// The conversion of a whole text held in memory. Throws LineError as convertLines does.
std::string convertText(std::string_view text, const TagTable& table);

} // namespace stepwell
