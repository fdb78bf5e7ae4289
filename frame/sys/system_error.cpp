// SPDX-License-Identifier: MIT
#include "frame/sys/system_error.h"

#include <cerrno>
#include <cstring>

namespace stepwell {

std::string systemMessage(int errnum) {
    if (errnum == ENOSPC)
        return "the disk is full";
    return std::strerror(errnum);
}

Error systemError(const std::string& path, const std::string& doing, int errnum) {
    return Error(path + ": " + doing + ": " + systemMessage(errnum));
}

} // namespace stepwell
