// SPDX-License-Identifier: MIT
#include "engine/filter.h"

#include "engine/core/convert_lines.h"
#include "engine/lines_of.h"
#include "frame/sys/spill_buffer.h"

namespace stepwell {

void convertToOutput(InputFile& input, const TagTable& table, int output,
                     const std::string& outputName) {
    LineReader lines = linesOf(input);
    SpillBuffer result;
    convertLines(lines, result, table);
    result.copyTo(output, outputName);
}

} // namespace stepwell
