// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace stepwell {

/// The most threads a run takes, whatever -j asks.
inline constexpr unsigned maxJobs = 256;

/// How a run over the files that tokens name is shared out (see FileJobs and GroupCommit).
struct RunSize {
    unsigned threads = 0;          // 0: one file, done on the calling thread
    std::size_t ahead = 0;         // jobs at most started and not yet shown
    std::size_t filesToCommit = 0; // results that may wait for the disk together; 0: none
};

/// For `jobs` threads. A token that is a plain name needs no thread of its own. The results
/// of a run that `writes` wait for the disk together as long as the files they hold open
/// leave room below the process's limit of open files.
RunSize runSizeFor(const std::vector<std::string>& tokens, unsigned jobs, bool writes);

} // namespace stepwell
