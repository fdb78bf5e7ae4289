// SPDX-License-Identifier: MIT
#include "engine/compare.h"

#include "engine/core/convert_lines.h"
#include "engine/lines_of.h"
#include "frame/sys/byte_comparer.h"

namespace stepwell {

bool wouldChange(InputFile& input, const TagTable& table) {
    LineReader lines = linesOf(input);
    ByteComparer original(input.fd(), input.path());
    convertLines(lines, original, table);
    return !original.matchedAll();
}

bool diffOf(InputFile& input, const TagTable& table, const std::string& oldName,
            const std::string& newName, const UnifiedDiff::Sink& sink) {
    LineReader lines = linesOf(input);
    UnifiedDiff diff(oldName, newName, sink);
    return diffConversion(lines, table, diff);
}

std::pair<std::string, std::string> diffNamesOf(const std::string& path) {
    return {"a/" + path, "b/" + path};
}

} // namespace stepwell
