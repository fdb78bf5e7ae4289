// SPDX-License-Identifier: MIT
#include "frame/startup/explain.h"

#include "engine/explain.h"
#include "engine/failure.h"
#include "frame/startup/report.h"
#include "frame/text/paths.h"

#include <optional>

namespace stepwell {

int runExplain(const std::string& path, bool standardInput, const TagTablePlaces& places,
               std::ostream& out, Prompts& prompts) {
    Report report(out);
    try {
        const TagTable table = loadTagTable(places, folderPart(path));
        std::optional<InputFile> input;
        if (standardInput)
            input.emplace(InputFile::standardInput(path));
        else
            input.emplace(path);
        explainInput(*input, table, [&report](std::string_view text) { report.write(text); });
    } catch (...) {
        report.delivered(prompts);
        showCurrentFailure(standardInput && path.empty() ? "standard input" : path, prompts);
        return 1;
    }
    return report.delivered(prompts) ? 0 : 1;
}

} // namespace stepwell
