#pragma once

#include "line_tally.h"
#include "tag_table.h"

#include <string_view>

namespace stepwell::test {

/// The tag scan done the plain way, kept as the model the fast scanner is checked against:
/// find the first entry in table order that occurs, count it and cut its first occurrence out
/// of an upper-cased copy, and start over from the first entry until nothing occurs.
LineTally referenceScan(std::string_view text, const TagTable& table);

} // namespace stepwell::test
