// SPDX-License-Identifier: MIT
#include "engine/core/tag_matcher.h"

namespace stepwell {

TagMatcher::TagMatcher(const TagTable& table)
    : raw_(table), patterns_(raw_.ordinaryTable(), raw_.openerTags()) {}

} // namespace stepwell
