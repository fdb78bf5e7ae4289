// SPDX-License-Identifier: MIT
#include "frame/sys/fd_io.h"

#include "frame/sys/system_error.h"

#include <cerrno>
#include <unistd.h>

namespace stepwell {

std::size_t readSome(int fd, char* buffer, std::size_t size, const std::string& name) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            throw systemError(name, "cannot read", errno);
    }
}

void checkWritable(int fd, const std::string& name) {
    while (::write(fd, "", 0) < 0) {
        if (errno != EINTR)
            throw systemError(name, "cannot write", errno);
    }
}

void writeAll(int fd, const char* data, std::size_t size, const std::string& name) {
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, size);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            throw systemError(name, "cannot write", errno);
        }
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
}

bool isTerminal(int fd) {
    return ::isatty(fd) == 1;
}

} // namespace stepwell
