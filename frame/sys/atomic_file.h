// SPDX-License-Identifier: MIT
#pragma once

#include "frame/sys/unique_fd.h"

#include <string>
#include <sys/types.h>

struct stat;

namespace stepwell {

/// Makes the renames done in `folder` ("" for the current folder) durable. A folder that
/// cannot be synced is no reason to fail: the renames are done, and the system writes them
/// out in its own time.
void syncFolder(const std::string& folder);

/// A new file that takes the place of `destination` only when committed.
///
/// The text goes to a temporary file created exclusively in the destination's own folder;
/// commit() flushes it to disk and renames it onto the destination in one step. Until then
/// the destination is untouched, and a file that is never committed is removed, so there is
/// never a partial result. A stop signal removes the temporary file too (see stop_cleanup.h);
/// only SIGKILL can leave one behind, hidden as ".stepwell-XXXXXX".
class AtomicFile {
public:
    /// Creates the temporary file beside `destination`, a path whose links are resolved;
    /// `name` stands for it in messages (the name the user gave). A new file gets the
    /// default permissions, 0666 less the umask. Throws Error when the folder cannot take it.
    AtomicFile(std::string destination, std::string name);
    /// Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    int fd() const { return fd_.get(); }
    const std::string& destination() const { return destination_; }
    const std::string& name() const { return name_; }

    /// Takes from the new file every permission bit that `mode` lacks, so that the result of
    /// a private file is private too.
    void narrowModeTo(mode_t mode);

    /// For a file that replaces `original`: gives the result its permission bits, and its
    /// owner and group where the user may (root may always). Throws Error.
    void keepAttributesOf(const struct stat& original);

    /// Whether the destination is a regular file (links followed) that the result replaces.
    bool replacesAFile() const;

    /// For a destination that is a regular file: gives the result its permission bits, owner,
    /// group and extended attributes, as keepAttributesOf() and keepExtendedAttributesOf()
    /// do. Throws Error.
    void keepDestinationsAttributes();

    /// Copies the extended attributes (POSIX ACLs among them) of the open file `from`, or of
    /// the file at `from`. One that cannot be copied (a file system without them) is no
    /// reason to fail: it gets a one-line note on standard error, when that is a terminal.
    void keepExtendedAttributesOf(int from);
    void keepExtendedAttributesOf(const std::string& from);

    /// Syncs, closes and renames the temporary file onto the destination. Throws Error on
    /// failure, leaving the destination as it was.
    void commit();

    /// Commits unless the destination is no longer the file `original` describes (another
    /// program saved or removed it meanwhile): then the temporary file is removed, the
    /// other program's file stays, and Error says so.
    void commitOver(const struct stat& original);

    // A commit in steps, so that many files can wait for the disk together (GroupCommit).
    // A file is renamed only once it is synced, as commit() does.

    /// Starts writing what was written to the disk, without waiting for it.
    void startWriteBack();
    /// Waits until the file is on the disk, and closes it. Throws Error.
    void sync();
    /// Renames the synced file onto the destination, checking first, when `original` is
    /// given, what commitOver() checks. Its folder (folder()) is not synced. Throws Error.
    ///
    /// With `replaced`, the file the rename replaces, if any, is held open there, so that its
    /// space is freed only when the caller lets it go rather than during the rename, which
    /// holds the folder meanwhile: on a disk that is told at once of every freed block, that
    /// takes milliseconds a file.
    void rename(const struct stat* original, UniqueFd* replaced = nullptr);
    /// The folder that holds the destination ("" for the current folder).
    std::string folder() const;

private:
    void discard();

    std::string destination_;
    std::string name_;
    std::string temporary_;
    UniqueFd fd_;
    bool replacing_ = false; // whether the destination is a file whose attributes were kept
    bool committed_ = false;
    int stopTicket_ = -1;
};

} // namespace stepwell
