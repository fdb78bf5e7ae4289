#pragma once

#include <string>
#include <sys/stat.h>

namespace stepwell {

/// A regular file opened for reading, closed when the object goes.
class InputFile {
public:
    /// Opens `path`. Throws Error when it cannot be opened or is not a regular file;
    /// folders, pipes and devices are refused before they are opened, so nothing blocks.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    int fd() const { return fd_; }
    /// The file's status as it was opened.
    const struct stat& status() const { return status_; }

private:
    int fd_ = -1;
    struct stat status_ {};
};

} // namespace stepwell
