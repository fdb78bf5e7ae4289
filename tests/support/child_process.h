// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

namespace stepwell::test {

/// Where a child's standard output goes.
enum class Output {
    File,   // a file, read back into ChildResult::out
    Closed, // no descriptor 1 at all (`>&-` in a shell)
    Full,   // /dev/full: every write fails with ENOSPC
};

/// How to start a program for a fault-injection test.
struct ChildOptions {
    std::string folder = "."; // working folder
    std::string input;        // standard input
    bool inputClosed = false; // no descriptor 0 at all (`<&-`)
    Output output = Output::File;
    /// RLIMIT_FSIZE for the child. The program starts with every signal at its default
    /// action, as from a shell, so SIGXFSZ is the program's own business.
    std::optional<rlim_t> fileSizeLimit;
    /// RLIMIT_NOFILE for the child (`prlimit --nofile`).
    std::optional<rlim_t> openFileLimit;
    /// The child's umask; the test process's own when not set.
    std::optional<mode_t> umask;
    /// Runs the program as the ordinary user 65534 (through setpriv when the test runs as
    /// root, and as the test's own user otherwise), so that permission bits count.
    bool ordinaryUser = false;
    /// Variables added to the environment the child inherits, "NAME=value" each; they take
    /// the place of inherited ones of the same name.
    std::vector<std::string> environment;
    /// A child still running after this is killed and counts as hung.
    std::chrono::milliseconds timeout{60000};
};

/// How a child ended.
struct ChildResult {
    int exitStatus = -1; // when it exited
    int signal = 0;      // when a signal ended it
    bool hung = false;   // killed at the timeout
    std::string out, err;
    long maxRssKiB = 0;
};

/// A running program; it is killed and reaped if the object goes before wait().
class Child {
public:
    Child(const std::string& program, const std::vector<std::string>& arguments,
          const ChildOptions& options);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t pid() const { return pid_; }
    void kill(int signal);
    /// Waits until `ready` returns true, checking it about every 0.1 ms; false, without
    /// waiting longer, once the child has ended (it is not reaped, wait() still reports it).
    bool waitUntil(const std::function<bool()>& ready);
    /// Waits for the end (at most the timeout) and collects what the child left.
    ChildResult wait();

private:
    pid_t pid_ = -1;
    std::string streams_; // folder of the standard streams' files
    std::chrono::steady_clock::time_point deadline_;
};

/// The size of the hidden temporary file (".stepwell-XXXXXX") in `folder`; -1 when there
/// is none.
long long temporaryFileSize(const std::string& folder);

/// Runs a program to its end.
ChildResult runChild(const std::string& program, const std::vector<std::string>& arguments,
                     const ChildOptions& options);

} // namespace stepwell::test
