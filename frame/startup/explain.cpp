// SPDX-License-Identifier: MIT
#include "frame/startup/explain.h"

#include "engine/explain.h"
#include "engine/failure.h"
#include "frame/startup/report.h"
#include "frame/text/paths.h"

#include <optional>

namespace stepwell {

int runExplain(const std::string& path, const TagTablePlaces& places, std::ostream& out,
               Prompts& prompts) {
    const bool standardInput = path.empty();
    Report report(out);
    try {
        const TagTable table = loadTagTable(places, standardInput ? "" : folderPart(path));
        std::optional<InputFile> input;
        if (standardInput)
            input.emplace(InputFile::standardInput());
        else
            input.emplace(path);
        explainInput(*input, table, [&report](std::string_view text) { report.write(text); });
    } catch (...) {
        report.delivered(prompts);
        showCurrentFailure(standardInput ? "standard input" : path, prompts);
        return 1;
    }
    return report.delivered(prompts) ? 0 : 1;
}

} // namespace stepwell
