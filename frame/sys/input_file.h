// SPDX-License-Identifier: MIT
#pragma once

#include "frame/sys/unique_fd.h"

#include <cstddef>
#include <string>
#include <sys/stat.h>

namespace stepwell {

/// A regular file opened for reading, closed when the object goes; or standard input.
class InputFile {
public:
    /// Opens `path`. Throws Error when it cannot be opened or is not a regular file;
    /// folders, pipes and devices are refused before they are opened, so nothing blocks.
    explicit InputFile(const std::string& path);

    /// Standard input, whatever it is (a pipe, a terminal, a file), named `name` in messages,
    /// or "standard input" when `name` is empty; it is not closed when the object goes.
    static InputFile standardInput(const std::string& name = "");

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    /// The file's status as it was opened.
    const struct stat& status() const { return status_; }

    /// Reads the next bytes into `buffer`; 0 at the end. Throws Error naming the file.
    std::size_t read(char* buffer, std::size_t size);

private:
    InputFile() = default;

    std::string path_;
    UniqueFd owned_;
    int fd_ = -1;
    struct stat status_ {};
};

} // namespace stepwell
