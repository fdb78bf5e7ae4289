// SPDX-License-Identifier: MIT
#pragma once

#include "engine/convert.h"
#include "frame/prompts/prompts.h"

#include <string>
#include <vector>

namespace stepwell {

/// Converts the files the tokens name (see expandToken), on up to `jobs` threads; a failed
/// token or file does not stop the rest. Everything is said, and every question asked, in the
/// order of the files, as if they were converted one after another; a file that an earlier
/// one reads or writes waits for it. Many results are put in place together (see
/// GroupCommit). Returns the exit status: 0 when every file converted or was declined, 1 when
/// any failed.
int runCommandLine(const std::vector<std::string>& tokens, const ConvertOptions& options,
                   Prompts& prompts, unsigned jobs = 1);

} // namespace stepwell
