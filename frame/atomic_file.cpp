#include "atomic_file.h"

#include "error.h"
#include "files.h"
#include "stop_cleanup.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stepwell {
namespace {

mode_t defaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Makes a finished rename durable; a folder that cannot be synced is no reason to fail.
void syncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

AtomicFile::AtomicFile(std::string destination) : destination_(std::move(destination)) {
    temporary_ = folderPart(destination_) + ".stepwell-XXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0)
        throw systemError(destination_, "cannot create a temporary file beside it", errno);
    stopTicket_ = rememberTemporary(temporary_);
    ::fchmod(fd_, defaultFileMode());
}

AtomicFile::~AtomicFile() {
    if (!committed_)
        discard();
}

void AtomicFile::keepAttributesOf(const struct stat& original) {
    // The owner can only be kept by a privileged user; a failure leaves ours.
    if (::fchown(fd_, original.st_uid, original.st_gid) != 0) {
        // not fatal
    }
    if (::fchmod(fd_, original.st_mode & 07777) != 0)
        throw systemError(destination_, "cannot set the permissions of the result", errno);
}

void AtomicFile::commit() {
    if (::fsync(fd_) != 0)
        throw systemError(destination_, "cannot write", errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw systemError(destination_, "cannot write", errno);
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0)
        throw systemError(destination_, "cannot replace", errno);
    committed_ = true;
    forgetTemporary(stopTicket_);
    syncFolder(folderPart(destination_));
}

void AtomicFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    ::unlink(temporary_.c_str());
    forgetTemporary(stopTicket_);
}

} // namespace stepwell
