#pragma once

#include "line_indenter.h"
#include "line_reader.h"
#include "output_blocks.h"
#include "tag_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace stepwell {

/// Re-indents every line of `in` into `out`, anything with write(std::string_view) and
/// flush(), with the line break the input used first (LF when it has none), keeping a
/// byte-order mark. Throws LineError prefixed with the line number, or Error when reading
/// or writing fails.
template <class Output> void convertLinesTo(LineReader& in, Output& out, const TagTable& table) {
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

} // namespace stepwell
