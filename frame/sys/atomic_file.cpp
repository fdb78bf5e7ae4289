// SPDX-License-Identifier: MIT
#include "frame/sys/atomic_file.h"

#include "frame/sys/extended_attributes.h"
#include "frame/sys/stop_cleanup.h"
#include "frame/sys/system_error.h"
#include "frame/text/paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace stepwell {
namespace {

// The umask can only be read by setting it: threads that read it at the same time could
// leave it at 0 for the whole process, so they take turns.
mode_t defaultFileMode() {
    static std::mutex reading;
    const std::lock_guard lock(reading);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Whether `now` is still the file `then` describes: the same file (device and inode),
// neither written since (size and modification time) nor changed otherwise (the change
// time, which also moves with a chmod, and with an edit that sets the modification time
// back).
bool sameFile(const struct stat& now, const struct stat& then) {
    const auto same = [](const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return now.st_dev == then.st_dev && now.st_ino == then.st_ino && now.st_size == then.st_size &&
           same(now.st_mtim, then.st_mtim) && same(now.st_ctim, then.st_ctim);
}

// The note for attributes that could not be kept: only a user at a terminal is told, since
// the result itself is sound.
void noteOnTerminal(const std::string& note) {
    if (::isatty(STDERR_FILENO)) {
        const std::string line = "stepwell: " + note + "\n";
        if (::write(STDERR_FILENO, line.data(), line.size()) < 0) {
            // a note that cannot be shown is no failure
        }
    }
}

} // namespace

void syncFolder(const std::string& folder) {
    const UniqueFd fd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd)
        ::fsync(fd.get());
}

AtomicFile::AtomicFile(std::string destination, std::string name)
    : destination_(std::move(destination)), name_(std::move(name)) {
    temporary_ = folderPart(destination_) + ".stepwell-XXXXXX";
    {
        // No stop may come between creating the file and registering it for removal.
        const StopSignalsHeld held;
        fd_.reset(::mkostemp(temporary_.data(), O_CLOEXEC));
        if (!fd_)
            throw systemError(name_, "cannot create a temporary file beside it", errno);
        stopTicket_ = rememberTemporary(temporary_);
    }
    // A file that a stop could leave behind is not written at all.
    if (stopTicket_ < 0) {
        discard();
        throw systemError(name_, "cannot create a temporary file beside it", ENAMETOOLONG);
    }
    ::fchmod(fd_.get(), defaultFileMode());
}

AtomicFile::~AtomicFile() {
    if (!committed_)
        discard();
}

void AtomicFile::narrowModeTo(mode_t mode) {
    if (::fchmod(fd_.get(), defaultFileMode() & mode) != 0)
        throw systemError(name_, "cannot set the permissions of the result", errno);
}

void AtomicFile::keepAttributesOf(const struct stat& original) {
    replacing_ = true;
    // Only root may give a file away; anyone may keep a group they belong to. A failure
    // leaves ours.
    if (::fchown(fd_.get(), original.st_uid, original.st_gid) != 0 &&
        ::fchown(fd_.get(), static_cast<uid_t>(-1), original.st_gid) != 0) {
        // not fatal
    }
    // After the owner, whose change clears the set-user-ID and set-group-ID bits.
    if (::fchmod(fd_.get(), original.st_mode & 07777) != 0)
        throw systemError(name_, "cannot set the permissions of the result", errno);
}

bool AtomicFile::replacesAFile() const {
    struct stat status {};
    return ::stat(destination_.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

void AtomicFile::keepDestinationsAttributes() {
    struct stat status {};
    if (::stat(destination_.c_str(), &status) != 0)
        throw systemError(name_, "cannot overwrite", errno);
    keepAttributesOf(status);
    keepExtendedAttributesOf(destination_);
}

void AtomicFile::keepExtendedAttributesOf(int from) {
    const std::string why = copyExtendedAttributes({from, {}}, fd_.get());
    if (!why.empty())
        noteOnTerminal(name_ + ": extended attributes not kept: " + why);
}

void AtomicFile::keepExtendedAttributesOf(const std::string& from) {
    const std::string why = copyExtendedAttributes({-1, from}, fd_.get());
    if (!why.empty())
        noteOnTerminal(name_ + ": extended attributes not kept: " + why);
}

void AtomicFile::commit() {
    sync();
    rename(nullptr);
    syncFolder(folder());
}

void AtomicFile::commitOver(const struct stat& original) {
    sync();
    rename(&original);
    syncFolder(folder());
}

void AtomicFile::startWriteBack() {
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(fd_.get(), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

void AtomicFile::sync() {
    if (::fsync(fd_.get()) != 0)
        throw systemError(name_, "cannot write", errno);
    if (fd_.close() != 0)
        throw systemError(name_, "cannot write", errno);
}

void AtomicFile::rename(const struct stat* original, UniqueFd* replaced) {
    if (replaced)
        replaced->reset(::open(destination_.c_str(), O_PATH | O_CLOEXEC));
    // Checked as late as can be, just before the rename.
    struct stat now {};
    if (original && (::stat(destination_.c_str(), &now) != 0 || !sameFile(now, *original)))
        throw Error(name_ + ": changed while it was being converted; left as it is");
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        const int why = errno;
        if (replacing_)
            throw systemError(name_, "cannot replace", why);
        throw Error("cannot create " + name_ + ": " + systemMessage(why));
    }
    committed_ = true;
    forgetTemporary(stopTicket_);
}

std::string AtomicFile::folder() const {
    return folderPart(destination_);
}

void AtomicFile::discard() {
    fd_.reset();
    ::unlink(temporary_.c_str());
    forgetTemporary(stopTicket_);
}

} // namespace stepwell
