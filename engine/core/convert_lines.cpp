// SPDX-License-Identifier: MIT
#include "engine/core/convert_lines.h"

#include "engine/core/unified_diff.h"

namespace stepwell {
namespace {

struct TextOutput {
    std::string text;
    void write(std::string_view part) { text.append(part); }
    void flush() {}
};

} // namespace

bool diffConversion(LineReader& in, const TagMatcher& matcher, UnifiedDiff& diff) {
    std::string oldLine, newLine;
    bool started = false;
    forEachConvertedLine(in, matcher, [&](const ConvertedLine& line) {
        // The byte-order mark stays in front of the first line on both sides.
        const std::string_view mark = !started && in.hadByteOrderMark() ? byteOrderMark : "";
        started = true;
        oldLine.assign(mark).append(line.input).append(line.inputBreak);
        newLine.assign(mark).append(line.output.tabs, '\t').append(line.output.text);
        newLine.append(line.outputBreak);
        diff.add(oldLine, newLine);
    });
    if (!started && in.hadByteOrderMark())
        diff.add(byteOrderMark, byteOrderMark);
    return diff.finish();
}

bool diffConversion(LineReader& in, const TagTable& table, UnifiedDiff& diff) {
    return diffConversion(in, TagMatcher(table), diff);
}

std::string convertText(std::string_view text, const TagTable& table) {
    LineReader in = LineReader::ofText(text);
    TextOutput out;
    convertLines(in, out, table);
    return std::move(out.text);
}

} // namespace stepwell
