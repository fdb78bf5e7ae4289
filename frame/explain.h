// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/prompts.h"
#include "engine/tag_file.h"

#include <iosfwd>
#include <string>

namespace stepwell {

/// --explain: converts the file `path`, or standard input when `path` is empty, with the tag
/// table a conversion would use for it, writing nothing but, to `out`, why each line comes out as
/// it does (see explanationRow). Errors go to `prompts.showError`, naming the file and the
/// line. Returns the exit status: 0 when explained, 1 when not.
int runExplain(const std::string& path, const TagTablePlaces& places, std::ostream& out,
               Prompts& prompts);

} // namespace stepwell
