// SPDX-License-Identifier: MIT
#include "frame/startup/run_size.h"

#include "frame/sys/process_limits.h"
#include "frame/text/wildcards.h"

#include <algorithm>

namespace stepwell {
namespace {

// Results waiting together: more gain little (a group of 64 already waits for the disk about
// as long as one file), and each holds a file open.
constexpr std::size_t mostToCommit = 256;
constexpr std::size_t fewestToCommit = 8;

} // namespace

RunSize runSizeFor(const std::vector<std::string>& tokens, unsigned jobs, bool writes) {
    RunSize size;
    if (tokens.size() == 1 && !hasWildcards(tokens.front()))
        return size;
    size.threads = std::clamp(jobs, 1u, maxJobs);
    // Enough for a few milliseconds of small files, which is how often finished jobs are
    // shown.
    size.ahead = 256 + 4 * std::size_t{size.threads};
    if (!writes)
        return size;
    // Each job holds its input, its result and a folder open; the rest of the process a few.
    const std::size_t limit = openFileLimit();
    const std::size_t reserve = 32 + 4 * std::size_t{size.threads};
    const std::size_t room = limit > reserve ? limit - reserve : 0;
    size.filesToCommit = std::min(room, mostToCommit);
    if (size.filesToCommit < fewestToCommit)
        size.filesToCommit = 0;
    size.ahead += size.filesToCommit;
    return size;
}

} // namespace stepwell
