// SPDX-License-Identifier: MIT
#include "frame/sys/process_limits.h"

#include <sched.h>
#include <sys/resource.h>
#include <thread>

namespace stepwell {

unsigned availableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
    const unsigned all = std::thread::hardware_concurrency();
    return all > 0 ? all : 1;
}

std::size_t openFileLimit() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 1 << 20;
    return static_cast<std::size_t>(limit.rlim_cur);
}

} // namespace stepwell
