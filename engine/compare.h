// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_matcher.h"
#include "engine/core/unified_diff.h"
#include "engine/lines_of.h"
#include "frame/sys/input_file.h"

#include <string>

namespace stepwell {

// Converting an input (a file, or standard input) without writing anything, to see what a
// conversion in place would do. Both read the whole input even after a difference: a line
// that cannot be converted means the file could not be replaced either. Both throw Error
// when the input cannot be read, and LineError (with the line number) when a line cannot
// be converted. `progress`, when given, is told after each read of the input.

/// Whether converting `input` in place would change any of its bytes.
bool wouldChange(InputFile& input, const TagMatcher& matcher, ReadProgress progress = {});

/// Writes to `sink` a unified diff from `input` to its conversion, headed "--- OLDNAME" and
/// "+++ NEWNAME"; returns whether they differ.
bool diffOf(InputFile& input, const TagMatcher& matcher, const std::string& oldName,
            const std::string& newName, const UnifiedDiff::Sink& sink, ReadProgress progress = {});

/// The names that head the diff of the file at `path`, "a/PATH" and "b/PATH", so that
/// `patch -p1` and `git apply` apply it.
std::pair<std::string, std::string> diffNamesOf(const std::string& path);

} // namespace stepwell
