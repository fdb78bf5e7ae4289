// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"
#include "engine/tag_file.h"

namespace stepwell {

/// Converts the text read from `in` and writes the result to `out`, asking nothing; the tag
/// table is looked up from the current folder. The result is held back until the whole
/// input converted, so a failure writes nothing to `out`. Errors go to `prompts.showError`.
/// Returns the exit status: 0 when converted, 1 when not.
int runFilter(int in, int out, const TagTablePlaces& places, Prompts& prompts);

} // namespace stepwell
