// SPDX-License-Identifier: MIT
#pragma once

#include "engine/tag_file.h"
#include "frame/prompts/prompts.h"

namespace stepwell {

/// Converts standard input to standard output, asking nothing; the tag table is looked up
/// from the current folder. A failure writes nothing to standard output; errors go to
/// `prompts.showError`. Returns the exit status: 0 when converted, 1 when not.
int runFilter(const TagTablePlaces& places, Prompts& prompts);

} // namespace stepwell
