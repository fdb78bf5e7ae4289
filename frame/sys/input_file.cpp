// SPDX-License-Identifier: MIT
#include "frame/sys/input_file.h"

#include "frame/sys/fd_io.h"
#include "frame/sys/system_error.h"

#include <cerrno>
#include <fcntl.h>

namespace stepwell {
namespace {

Error notRegular(const std::string& path, mode_t mode) {
    const char* what = S_ISDIR(mode)    ? "is a folder, not a file"
                       : S_ISFIFO(mode) ? "is a pipe, not a file"
                       : S_ISSOCK(mode) ? "is a socket, not a file"
                                        : "is a device, not a file";
    return Error(path + ": " + what);
}

} // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
    if (path.empty())
        throw Error("an empty file name names no file");
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw systemError(path, "cannot open", errno);
    if (!S_ISREG(info.st_mode))
        throw notRegular(path, info.st_mode);
    // O_NONBLOCK keeps a pipe swapped in after the check from blocking the open.
    owned_.reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    fd_ = owned_.get();
    if (!owned_)
        throw systemError(path, "cannot open", errno);
    if (::fstat(fd_, &status_) != 0)
        throw systemError(path, "cannot open", errno);
    if (!S_ISREG(status_.st_mode))
        throw notRegular(path, status_.st_mode);
}

InputFile InputFile::standardInput(const std::string& name) {
    InputFile input;
    input.path_ = name.empty() ? "standard input" : name;
    input.fd_ = standardInputFd;
    ::fstat(input.fd_, &input.status_); // nothing relies on it: standard input is read as it is
    return input;
}

std::size_t InputFile::read(char* buffer, std::size_t size) {
    return readSome(fd_, buffer, size, path_);
}

} // namespace stepwell
