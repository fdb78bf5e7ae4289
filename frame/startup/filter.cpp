// SPDX-License-Identifier: MIT
#include "frame/startup/filter.h"

#include "engine/failure.h"
#include "engine/filter.h"
#include "engine/tag_file.h"
#include "frame/sys/fd_io.h"
#include "frame/text/paths.h"

namespace stepwell {

int runFilter(const TagTablePlaces& places, Prompts& prompts, const std::string& inputName) {
    InputFile input = InputFile::standardInput(inputName);
    try {
        const TagTable table = loadTagTable(places, folderPart(inputName));
        convertToOutput(input, table, standardOutputFd, "standard output");
        return 0;
    } catch (...) {
        showCurrentFailure(input.path(), prompts);
        return 1;
    }
}

} // namespace stepwell
