// SPDX-License-Identifier: MIT
#include "engine/page_lines.h"

#include "engine/lines_of.h"

namespace stepwell {

std::vector<std::string> pageLines(const std::string& path) {
    InputFile file(path);
    LineReader lines = linesOf(file);
    std::vector<std::string> page;
    std::string_view line;
    while (lines.next(line))
        page.emplace_back(line);
    return page;
}

} // namespace stepwell
