// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"

#include <string>

namespace stepwell {

/// A tag file that parseTagTable reads back as `table`: one entry a line, a field quoted
/// where it holds a comma, a double quote or blanks at its ends.
std::string tagTableText(const TagTable& table);

} // namespace stepwell
