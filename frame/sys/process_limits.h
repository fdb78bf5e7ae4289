// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace stepwell {

/// The processors this process may run on (at least 1).
unsigned availableProcessors();

/// How many files this process may hold open at a time (the soft limit).
std::size_t openFileLimit();

} // namespace stepwell
