#include "memory_file.h"

#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace stepwell::fuzz {
namespace {

[[noreturn]] void fail(const char* what) {
    std::perror(what);
    std::abort();
}

} // namespace

MemoryFile::MemoryFile(std::string_view bytes) : fd_(::memfd_create("stepwell-fuzz", MFD_CLOEXEC)) {
    if (fd_ < 0)
        fail("memfd_create");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (wrote <= 0)
            fail("write");
        done += static_cast<std::size_t>(wrote);
    }
    rewind();
}

MemoryFile::~MemoryFile() {
    ::close(fd_);
}

std::string MemoryFile::path() const {
    return "/proc/self/fd/" + std::to_string(fd_);
}

void MemoryFile::rewind() const {
    if (::lseek(fd_, 0, SEEK_SET) != 0)
        fail("lseek");
}

std::string MemoryFile::contents() const {
    std::string bytes;
    char chunk[65536];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(fd_, chunk, sizeof chunk, at);
        if (got < 0)
            fail("pread");
        if (got == 0)
            return bytes;
        bytes.append(chunk, static_cast<std::size_t>(got));
        at += got;
    }
}

} // namespace stepwell::fuzz
