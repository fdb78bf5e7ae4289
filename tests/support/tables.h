// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace stepwell::test {

/// A tag table of (tag, delta text) pairs, in order.
inline TagTable tableOf(const std::vector<std::pair<std::string, std::string>>& entries) {
    TagTable table;
    for (const auto& [tag, delta] : entries)
        table.add(tag, delta);
    return table;
}

/// A small table with two raw-block entries (pre and comments) among ordinary ones, whose
/// tags share their first bytes with the openers.
inline TagTable rawBlocksTable() {
    return tableOf({{"<DIV", "1"},
                    {"<PRE", "raw:</pre>"},
                    {"<!--", "raw:-->"},
                    {"<P", "1"},
                    {"</DIV", "-1"},
                    {"</P>", "-1"}});
}

/// The tag table that ships with Stepwell, from the source tree.
inline TagTable shippedTable() {
    const std::string path = STEPWELL_SOURCE_DIR "/StepwellTag.txt";
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return parseTagTable(text.str(), path);
}

} // namespace stepwell::test
