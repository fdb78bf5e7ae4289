// SPDX-License-Identifier: MIT
#include "frame/sys/process_start.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace stepwell {
namespace {

// Fills a closed standard descriptor. Descriptors are numbered from the lowest free one, so
// filling 0, 1 and 2 in order puts each where it belongs.
void fillIfClosed(int fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
        return;
    // Standard input opened for writing and the outputs for reading: reading or writing them
    // fails with EBADF, as it would have.
    int filled = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    if (filled < 0)
        filled = ::open("/", O_PATH); // without /dev/null: a descriptor that does neither
    if (filled < 0)
        ::_exit(1); // no descriptor can be opened at all: nothing could be written safely
    if (filled != fd) {
        ::dup2(filled, fd);
        ::close(filled);
    }
}

} // namespace

void prepareProcess() {
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        fillIfClosed(fd);
    ::signal(SIGXFSZ, SIG_IGN);
}

} // namespace stepwell
