#pragma once

#include "tag_table.h"

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

} // namespace stepwell::test
