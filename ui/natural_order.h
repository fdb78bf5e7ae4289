// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// Compares two names as desktop file managers order them: runs of digits by their value
/// ("page2" before "page10"), everything else byte by byte, which for UTF-8 is the order of
/// the characters. The names are expected case-folded already (see naturalSortKey). Returns
/// <0, 0 or >0.
int compareNaturally(std::string_view a, std::string_view b);

/// `name` case-folded, in UTF-8, for compareNaturally: ASCII names with A-Z made a-z, others
/// folded as Unicode says.
std::string naturalSortKey(std::string_view name);

/// Sorts file or folder names (bytes as the file system gives them) in natural order,
/// ignoring case. Names that differ only in case or in leading zeros keep a fixed order:
/// that of their bytes.
void sortNaturally(std::vector<std::string>& names);

} // namespace stepwell
