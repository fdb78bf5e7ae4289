// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>

namespace stepwell {

/// A failure reported to the user; the message names what failed and where.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace stepwell
