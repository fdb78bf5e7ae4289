// SPDX-License-Identifier: MIT
#pragma once

#include "frame/text/error.h"

#include <string>

namespace stepwell {

/// The system's description of an errno value, e.g. "No such file or directory".
std::string systemMessage(int errnum);

/// An Error for a failed system call on `path`: "<path>: <doing>: <system message>".
Error systemError(const std::string& path, const std::string& doing, int errnum);

} // namespace stepwell
