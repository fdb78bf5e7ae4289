#include "input_file.h"

#include "error.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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

InputFile::InputFile(const std::string& path) {
    if (path.empty())
        throw Error("an empty file name names no file");
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw systemError(path, "cannot open", errno);
    if (!S_ISREG(info.st_mode))
        throw notRegular(path, info.st_mode);
    // O_NONBLOCK keeps a pipe swapped in after the check from blocking the open.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        throw systemError(path, "cannot open", errno);
    if (::fstat(fd_, &status_) != 0 || !S_ISREG(status_.st_mode)) {
        const int error = errno;
        const mode_t mode = status_.st_mode;
        ::close(fd_);
        fd_ = -1;
        if (S_ISREG(mode) || mode == 0)
            throw systemError(path, "cannot open", error);
        throw notRegular(path, mode);
    }
}

InputFile::~InputFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace stepwell
