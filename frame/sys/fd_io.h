// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

namespace stepwell {

/// The standard streams' descriptors.
inline constexpr int standardInputFd = 0;
inline constexpr int standardOutputFd = 1;
inline constexpr int standardErrorFd = 2;

/// Whether `fd` is a terminal.
bool isTerminal(int fd);

/// Reads up to `size` bytes from `fd` into `buffer`, going on after interruptions; returns
/// how many were read, 0 at the end. Throws Error naming `name` when reading fails.
std::size_t readSome(int fd, char* buffer, std::size_t size, const std::string& name);

/// Checks that `fd` takes writes, by writing no bytes: a closed descriptor, or one open
/// for reading only, fails. Throws Error naming `name` when it does not.
void checkWritable(int fd, const std::string& name);

/// Writes all `size` bytes of `data` to `fd`, going on after interruptions and partial
/// writes. Throws Error naming `name` when writing fails.
void writeAll(int fd, const char* data, std::size_t size, const std::string& name);

} // namespace stepwell
