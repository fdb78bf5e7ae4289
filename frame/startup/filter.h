// SPDX-License-Identifier: MIT
#pragma once

#include "engine/tag_file.h"
#include "frame/prompts/prompts.h"

#include <string>

namespace stepwell {

/// Converts standard input to standard output, asking nothing. The tag table is the one of a
/// file at `inputName` (an editor's buffer), or of the current folder when it is empty, and
/// messages name the input so. A failure writes nothing to standard output; errors go to
/// `prompts.showError`. Returns the exit status: 0 when converted, 1 when not.
int runFilter(const TagTablePlaces& places, Prompts& prompts, const std::string& inputName = "");

} // namespace stepwell
