// SPDX-License-Identifier: MIT
#include "frame/text/shown_text.h"

namespace stepwell {

std::string escapeControlBytes(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += c;
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else {
            static constexpr char hex[] = "0123456789abcdef";
            shown += "\\x";
            shown += hex[byte >> 4];
            shown += hex[byte & 0xF];
        }
    }
    return shown;
}

std::string quotedText(std::string_view text) {
    constexpr std::size_t longest = 40;
    if (text.size() <= longest)
        return escapeControlBytes(text);
    // Cut between characters, not inside one written in several UTF-8 bytes.
    std::size_t cut = longest;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return escapeControlBytes(text.substr(0, cut)) + "…";
}

} // namespace stepwell
