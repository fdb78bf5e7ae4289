// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"
#include "engine/core/unified_diff.h"

#include <string>

namespace stepwell {

// Converting a file without writing anything, to see what a conversion in place would do.
// Both read the whole file even after a difference: a line that cannot be converted means
// the file could not be replaced either. Both throw Error when the file cannot be read, and
// LineError (with the line number) when a line cannot be converted.

/// Whether converting the file at `path` in place would change any of its bytes.
bool wouldChange(const std::string& path, const TagTable& table);

/// Writes to `sink` a unified diff from the file at `path` to its conversion, headed
/// "--- a/PATH" and "+++ b/PATH" so that `patch -p1` applies it; returns whether they differ.
bool diffFile(const std::string& path, const TagTable& table, const UnifiedDiff::Sink& sink);

} // namespace stepwell
