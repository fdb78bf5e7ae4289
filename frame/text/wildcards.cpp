// SPDX-License-Identifier: MIT
#include "frame/text/wildcards.h"

#include "frame/text/ascii.h"

namespace stepwell {
namespace {

bool sameChar(char a, char b, bool ignoreCase) {
    return ignoreCase ? upperAscii(a) == upperAscii(b) : a == b;
}

} // namespace

bool hasWildcards(std::string_view text) {
    return text.find_first_of("*?") != text.npos;
}

bool wildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase) {
    // Greedy matching with one backtrack point: the last '*' seen.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || sameChar(pattern[p], name[n], ignoreCase))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace stepwell
