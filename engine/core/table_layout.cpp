// SPDX-License-Identifier: MIT
#include "engine/core/table_layout.h"

#include "engine/core/element_names.h"
#include "engine/core/raw_blocks.h"

#include <algorithm>
#include <string_view>

namespace stepwell {
namespace {

bool isRaw(const LearnedEntry& entry) {
    return isRawDelta(entry.delta);
}

// A tag written `<NAME` or `</NAME` with nothing after the name counts longer names too.
std::optional<std::string_view> openName(std::string_view tag, std::string_view& start) {
    start = tag.starts_with("</") ? "</" : "<";
    const std::string_view name = tag.substr(start.size());
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        }))
        return std::nullopt;
    return name;
}

} // namespace

std::optional<TagTable> layOutTable(const std::vector<LearnedEntry>& chosen) {
    std::vector<LearnedEntry> entries = chosen;
    const auto has = [&entries](const std::string& tag) {
        return std::any_of(entries.begin(), entries.end(),
                           [&tag](const LearnedEntry& entry) { return entry.tag == tag; });
    };
    for (const LearnedEntry& entry : chosen) {
        std::string_view start;
        const auto name = openName(entry.tag, start);
        if (!name || isRaw(entry) || entry.delta == "0")
            continue;
        // The tag and the next letter of each longer name: `<LIN` and `<LIS` for `<LI`. The
        // tag itself is always followed by `>` or a blank, never by a letter.
        for (std::string_view longer : elementNames()) {
            if (longer.size() <= name->size() || !longer.starts_with(*name) ||
                has(std::string(start) + std::string(longer)))
                continue;
            std::string guard =
                std::string(start) + std::string(longer.substr(0, name->size() + 1));
            if (!has(guard))
                entries.push_back({std::move(guard), "0"});
        }
    }
    if (entries.size() > maxTagEntries)
        return std::nullopt;
    const auto group = [](const LearnedEntry& entry) {
        return isRaw(entry) ? 0 : entry.delta.starts_with('-') ? 2 : 1;
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&group](const LearnedEntry& a, const LearnedEntry& b) {
                         if (group(a) != group(b))
                             return group(a) < group(b);
                         return group(a) != 0 && a.tag > b.tag;
                     });
    TagTable table;
    for (const LearnedEntry& entry : entries)
        table.add(entry.tag, entry.delta);
    return table;
}

} // namespace stepwell
