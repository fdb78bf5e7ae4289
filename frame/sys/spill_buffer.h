// SPDX-License-Identifier: MIT
#pragma once

#include "frame/sys/unique_fd.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace stepwell {

/// Holds text until it is complete: in memory while it is small, then in an unnamed
/// temporary file, so that no size of text needs that much memory.
class SpillBuffer {
public:
    /// Moves to a temporary file once more than `memoryLimit` bytes are held.
    explicit SpillBuffer(std::size_t memoryLimit = 8 * 1024 * 1024);
    SpillBuffer(const SpillBuffer&) = delete;
    SpillBuffer& operator=(const SpillBuffer&) = delete;

    /// Appends text. Throws Error when the temporary file cannot take it.
    void write(std::string_view text);
    void flush() {}

    /// Writes everything held to `fd`; `name` is used in error messages. Throws Error, also
    /// for an empty text when `fd` cannot be written.
    void copyTo(int fd, const std::string& name);

    /// Gives everything held to `each`, a part at a time, in order. Throws Error when the
    /// temporary file cannot be read back.
    void readBack(const std::function<void(std::string_view)>& each);

private:
    void spill();

    std::size_t memoryLimit_;
    std::string memory_; // everything, or what is not yet in the file
    UniqueFd file_;
};

} // namespace stepwell
