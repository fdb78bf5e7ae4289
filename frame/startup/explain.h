// SPDX-License-Identifier: MIT
#pragma once

#include "engine/tag_file.h"
#include "frame/prompts/prompts.h"

#include <iosfwd>
#include <string>

namespace stepwell {

/// --explain: writes to `out`, and nowhere else, why each line of the file `path` comes out
/// as it does with the tag table a conversion would use for it (see explainInput). With
/// `standardInput`, standard input is explained, taken for the file `path` (--stdin-filename)
/// when it is not empty. Errors go to `prompts.showError`, naming the file and the line.
/// Returns the exit status: 0 when explained, 1 when not.
int runExplain(const std::string& path, bool standardInput, const TagTablePlaces& places,
               std::ostream& out, Prompts& prompts);

} // namespace stepwell
