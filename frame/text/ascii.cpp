// SPDX-License-Identifier: MIT
#include "frame/text/ascii.h"

namespace stepwell {

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = upperAscii(c);
    return upper;
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = lowerAscii(c);
    return lower;
}

bool occursAt(std::string_view text, std::size_t at, std::string_view upperText) {
    if (at > text.size() || text.size() - at < upperText.size())
        return false;
    for (std::size_t i = 0; i < upperText.size(); ++i)
        if (upperAscii(text[at + i]) != upperText[i])
            return false;
    return true;
}

} // namespace stepwell
