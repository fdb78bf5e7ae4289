// SPDX-License-Identifier: MIT
#pragma once

#include "frame/text/error.h"

namespace stepwell {

/// An error that belongs to one input line: a delta that is not a number, or a level or
/// delta outside the 16-bit range. The converter adds the line number, and the caller the
/// file.
class LineError : public Error {
public:
    using Error::Error;
};

} // namespace stepwell
