#pragma once

#include "frame/sys/unique_fd.h"

#include <string>
#include <sys/types.h>

struct stat;

namespace stepwell {

/// A new file that takes the place of `destination` only when committed.
///
/// The text goes to a temporary file created exclusively in the destination's own folder;
/// commit() flushes it to disk and renames it onto the destination in one step. Until then
/// the destination is untouched, and a file that is never committed is removed, so there is
/// never a partial result. A stop signal removes the temporary file too (see stop_cleanup.h);
/// only SIGKILL or a crash can leave one behind, hidden as ".stepwell-XXXXXX".
class AtomicFile {
public:
    /// Creates the temporary file. Throws Error when the folder cannot take it.
    explicit AtomicFile(std::string destination);
    /// Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    int fd() const { return fd_.get(); }
    const std::string& destination() const { return destination_; }

    /// Gives the result the permission bits (and, where allowed, the owner) of `original`,
    /// for a file that replaces it. Without this call a new file gets the default
    /// permissions.
    void keepAttributesOf(const struct stat& original);

    /// Syncs, closes and renames the temporary file onto the destination. Throws Error on
    /// failure, leaving the destination as it was.
    void commit();

private:
    void discard();

    std::string destination_;
    std::string temporary_;
    UniqueFd fd_;
    bool committed_ = false;
    int stopTicket_ = -1;
};

} // namespace stepwell
