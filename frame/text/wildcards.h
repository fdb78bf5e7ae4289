// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace stepwell {

/// Whether `text` holds the wildcards '*' or '?'.
bool hasWildcards(std::string_view text);

/// Matches a name against a pattern of '*' (any run of characters) and '?' (any one
/// character). With `ignoreCase`, ASCII letters match either case.
bool wildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase = false);

} // namespace stepwell
