// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace stepwell {

/// The lines of the file at `path`, held in memory: the learner converts a page many times.
/// Throws Error when the file cannot be read.
std::vector<std::string> pageLines(const std::string& path);

} // namespace stepwell
