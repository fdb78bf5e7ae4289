#pragma once

#include "engine/core/tag_table.h"

#include <string>

namespace stepwell {

/// The name of the tag file in the program's folder.
inline constexpr const char* tagFileName = "StepwellTag.txt";

/// Reads the tag file at `path` a line at a time (see parseTagTable). Throws Error when it
/// cannot be read or is not a valid tag file.
TagTable readTagFile(const std::string& path);

/// Loads "StepwellTag.txt" from `programDir`; an empty table when there is no such
/// ordinary file there.
TagTable loadTagTable(const std::string& programDir);

} // namespace stepwell
