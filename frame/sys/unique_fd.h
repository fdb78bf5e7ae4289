// SPDX-License-Identifier: MIT
#pragma once

#include <unistd.h>
#include <utility>

namespace stepwell {

/// Owns a file descriptor and closes it when it goes; -1 owns nothing.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

    /// Gives the descriptor up without closing it.
    int release() { return std::exchange(fd_, -1); }
    /// Closes the descriptor held, if any, and takes `fd`.
    void reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    /// Closes the descriptor and returns close's result, for writers that must know
    /// whether the data reached the file; errno tells why it failed.
    int close() { return fd_ >= 0 ? ::close(release()) : 0; }

private:
    int fd_ = -1;
};

} // namespace stepwell
