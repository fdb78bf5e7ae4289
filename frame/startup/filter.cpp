// SPDX-License-Identifier: MIT
#include "frame/startup/filter.h"

#include "engine/core/convert_lines.h"
#include "engine/failure.h"
#include "engine/tag_file.h"
#include "frame/sys/fd_io.h"
#include "frame/sys/spill_buffer.h"

namespace stepwell {

int runFilter(int in, int out, const TagTablePlaces& places, Prompts& prompts) {
    const std::string inputName = "standard input";
    try {
        const TagTable table = loadTagTable(places, "");
        LineReader lines([in, &inputName](char* buffer, std::size_t size) {
            return readSome(in, buffer, size, inputName);
        });
        SpillBuffer result;
        convertLines(lines, result, table);
        result.copyTo(out, "standard output");
        return 0;
    } catch (...) {
        showCurrentFailure(inputName, prompts);
        return 1;
    }
}

} // namespace stepwell
