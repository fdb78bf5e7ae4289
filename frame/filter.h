#pragma once

#include "engine/core/prompts.h"

#include <string>

namespace stepwell {

/// Converts the text read from `in` and writes the result to `out`, with the tag table in
/// `programDir`, asking nothing. The result is held back until the whole input converted,
/// so a failure writes nothing to `out`. Errors go to `prompts.showError`. Returns the
/// exit status: 0 when converted, 1 when not.
int runFilter(int in, int out, const std::string& programDir, Prompts& prompts);

} // namespace stepwell
