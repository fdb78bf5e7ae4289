// SPDX-License-Identifier: MIT
#pragma once

#include "engine/convert.h"
#include "frame/prompts/prompts.h"

#include <string>
#include <vector>

namespace stepwell {

/// Converts the files the tokens name (see expandToken), one after another; a failed token
/// does not stop the rest. Returns the exit status: 0 when every file converted or was
/// declined, 1 when any failed.
int runCommandLine(const std::vector<std::string>& tokens, const ConvertOptions& options,
                   Prompts& prompts);

} // namespace stepwell
