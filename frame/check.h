#pragma once

#include "engine/core/prompts.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace stepwell {

/// Checks the files the tokens name (wildcards expand as in a conversion) against the tag
/// table in `programDir`, writing each file that would change to `out`, one path a line
/// (control bytes escaped, so that a name cannot split its line).
/// Errors go to `prompts.showError` and the check goes on with the next file; a list that
/// cannot be written to `out` stops it. Returns the exit status: 0 when no file would
/// change, 1 when some would, 2 when a file or the tag table could not be read, a line could
/// not be converted or the list could not be written, so that no answer is sure.
int runCheck(const std::vector<std::string>& tokens, const std::string& programDir,
             std::ostream& out, Prompts& prompts);

} // namespace stepwell
