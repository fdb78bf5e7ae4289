#include "frame/sys/atomic_file.h"

#include "frame/sys/stop_cleanup.h"
#include "frame/sys/system_error.h"
#include "frame/text/paths.h"

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
    const UniqueFd fd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd)
        ::fsync(fd.get());
}

} // namespace

AtomicFile::AtomicFile(std::string destination) : destination_(std::move(destination)) {
    temporary_ = folderPart(destination_) + ".stepwell-XXXXXX";
    fd_.reset(::mkostemp(temporary_.data(), O_CLOEXEC));
    if (!fd_)
        throw systemError(destination_, "cannot create a temporary file beside it", errno);
    stopTicket_ = rememberTemporary(temporary_);
    ::fchmod(fd_.get(), defaultFileMode());
}

AtomicFile::~AtomicFile() {
    if (!committed_)
        discard();
}

void AtomicFile::keepAttributesOf(const struct stat& original) {
    // The owner can only be kept by a privileged user; a failure leaves ours.
    if (::fchown(fd_.get(), original.st_uid, original.st_gid) != 0) {
        // not fatal
    }
    if (::fchmod(fd_.get(), original.st_mode & 07777) != 0)
        throw systemError(destination_, "cannot set the permissions of the result", errno);
}

void AtomicFile::commit() {
    if (::fsync(fd_.get()) != 0)
        throw systemError(destination_, "cannot write", errno);
    if (fd_.close() != 0)
        throw systemError(destination_, "cannot write", errno);
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0)
        throw systemError(destination_, "cannot replace", errno);
    committed_ = true;
    forgetTemporary(stopTicket_);
    syncFolder(folderPart(destination_));
}

void AtomicFile::discard() {
    fd_.reset();
    ::unlink(temporary_.c_str());
    forgetTemporary(stopTicket_);
}

} // namespace stepwell
