// SPDX-License-Identifier: MIT
#include "engine/compare.h"

#include "engine/core/convert_lines.h"
#include "frame/sys/byte_comparer.h"
#include "frame/sys/input_file.h"

namespace stepwell {
namespace {

LineReader linesOf(InputFile& input) {
    return LineReader(
        [&input](char* buffer, std::size_t size) { return input.read(buffer, size); });
}

} // namespace

bool wouldChange(const std::string& path, const TagTable& table) {
    InputFile input(path);
    LineReader lines = linesOf(input);
    ByteComparer original(input.fd(), path);
    convertLines(lines, original, table);
    return !original.matchedAll();
}

bool diffFile(const std::string& path, const TagTable& table, const UnifiedDiff::Sink& sink) {
    InputFile input(path);
    LineReader lines = linesOf(input);
    UnifiedDiff diff("a/" + path, "b/" + path, sink);
    return diffConversion(lines, table, diff);
}

} // namespace stepwell
