// SPDX-License-Identifier: MIT
#include "engine/core/table_text.h"

namespace stepwell {
namespace {

std::string field(const std::string& text) {
    const bool plain = text.find_first_of(",\"\r\n") == std::string::npos &&
                       (text.empty() || (text.front() != ' ' && text.front() != '\t' &&
                                         text.back() != ' ' && text.back() != '\t'));
    if (plain)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

} // namespace

std::string tagTableText(const TagTable& table) {
    std::string text;
    for (const TagEntry& entry : table.entries())
        text += field(entry.tag) + ',' + field(entry.deltaText) + '\n';
    return text;
}

} // namespace stepwell
