// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace stepwell {

/// What the tag scan found on one line.
struct LineTally {
    double lineDelta = 0;       // sum of the deltas of every counted occurrence
    std::int16_t leadDelta = 0; // delta of the last occurrence found at the very start
};

} // namespace stepwell
