// SPDX-License-Identifier: MIT
#pragma once

#include "frame/sys/atomic_file.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <thread>

namespace stepwell {

class SideBySide;

/// Commits finished AtomicFiles many at a time, so that they wait for the disk together
/// rather than one after another: the files that came meanwhile are synced side by side
/// (several syncs in flight, which the disk serves with a flush or two), then renamed onto
/// their destinations one by one, then each of their folders is synced once, and the files
/// they replaced are let go side by side (see AtomicFile::rename).
///
/// Each file keeps the promise of AtomicFile::commit(): it is renamed only once it is on the
/// disk, and reported in place only once its folder is synced too; until its rename its
/// destination is untouched, and a stop removes its temporary file. Files are committed on a
/// thread of their own, in the order they came.
class GroupCommit {
public:
    /// Told how the commit of a file ended: null when the file is in place, else what
    /// failed (an Error naming the file). Called on the committing thread.
    using Done = std::function<void(std::exception_ptr failure)>;

    /// At most `open` files wait at a time, each holding its temporary file open; add()
    /// waits for room.
    explicit GroupCommit(std::size_t open);
    /// Commits every file still waiting, then ends its threads.
    ~GroupCommit();
    GroupCommit(const GroupCommit&) = delete;
    GroupCommit& operator=(const GroupCommit&) = delete;

    /// Commits `file`, complete, later: over `original`, when given, as
    /// AtomicFile::commitOver() does. `done` is told how that ended.
    void add(std::unique_ptr<AtomicFile> file, std::optional<struct stat> original, Done done);

private:
    struct Waiting {
        std::unique_ptr<AtomicFile> file;
        std::optional<struct stat> original;
        Done done;
        std::exception_ptr failure;
    };
    void run();
    void commit(std::deque<Waiting>& group);
    void sideBySide(std::size_t count, const std::function<void(std::size_t)>& step);

    const std::size_t open_;
    std::unique_ptr<SideBySide> steps_; // made for the first group of more than one file
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Waiting> queue_;
    std::size_t held_ = 0; // files waiting or being committed, each with its file open
    bool closing_ = false;
    std::thread thread_;
};

} // namespace stepwell
