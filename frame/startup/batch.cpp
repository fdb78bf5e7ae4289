// SPDX-License-Identifier: MIT
#include "frame/startup/batch.h"

#include "frame/startup/file_names.h"

namespace stepwell {

int runCommandLine(const std::vector<std::string>& tokens, const ConvertOptions& options,
                   Prompts& prompts) {
    bool failed = false;
    const bool allNamed = forEachNamedFile(tokens, prompts, [&](const std::string& path) {
        failed |= convertFile(path, options, prompts) == ConvertResult::Failed;
    });
    return failed || !allNamed ? 1 : 0;
}

} // namespace stepwell
