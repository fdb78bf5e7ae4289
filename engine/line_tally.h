#pragma once

#include "error.h"

#include <cstdint>

namespace stepwell {

/// An error that belongs to one input line: a delta that is not a number, or a level or
/// delta outside the 16-bit range. The converter adds the file and line number.
class LineError : public Error {
public:
    using Error::Error;
};

/// What the tag scan found on one line.
struct LineTally {
    double lineDelta = 0;       // sum of the deltas of every counted occurrence
    std::int16_t leadDelta = 0; // delta of the last occurrence found at the very start
};

} // namespace stepwell
