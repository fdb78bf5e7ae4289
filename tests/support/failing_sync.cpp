// SPDX-License-Identifier: MIT
// A library to preload into the program (LD_PRELOAD) that makes fdatasync fail with EIO, as
// a failing disk does, for the files whose path contains the text of the environment
// variable STEPWELL_FAIL_FDATASYNC_OF; every other call goes to the C library.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

extern "C" int fdatasync(int fd) {
    if (const char* part = std::getenv("STEPWELL_FAIL_FDATASYNC_OF")) {
        char link[64];
        char path[4096];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const ssize_t size = ::readlink(link, path, sizeof path - 1);
        if (size > 0) {
            path[size] = '\0';
            if (std::strstr(path, part)) {
                errno = EIO;
                return -1;
            }
        }
    }
    using Sync = int (*)(int);
    static const auto real = reinterpret_cast<Sync>(::dlsym(RTLD_NEXT, "fdatasync"));
    return real(fd);
}
