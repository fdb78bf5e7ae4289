// SPDX-License-Identifier: MIT
#include "engine/compare.h"

#include "engine/core/convert_lines.h"
#include "engine/lines_of.h"
#include "frame/sys/byte_comparer.h"

namespace stepwell {

bool wouldChange(InputFile& input, const TagMatcher& matcher, ReadProgress progress) {
    LineReader lines = linesOf(input, std::move(progress));
    ByteComparer original(input.fd(), input.path());
    convertLines(lines, original, matcher);
    return !original.matchedAll();
}

bool diffOf(InputFile& input, const TagMatcher& matcher, const std::string& oldName,
            const std::string& newName, const UnifiedDiff::Sink& sink, ReadProgress progress) {
    LineReader lines = linesOf(input, std::move(progress));
    UnifiedDiff diff(oldName, newName, sink);
    return diffConversion(lines, matcher, diff);
}

std::pair<std::string, std::string> diffNamesOf(const std::string& path) {
    return {"a/" + path, "b/" + path};
}

} // namespace stepwell
