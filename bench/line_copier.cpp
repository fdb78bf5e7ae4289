// SPDX-License-Identifier: MIT
// The floor for the converter's speed: the least a program can do that reads a page's lines,
// drops their leading blanks and writes them safely. A plain loop over 64 KiB blocks, then
// one fsync and one rename for each file written; nothing shared with Stepwell.
//
// usage: line_copier INPUT OUTPUT     writes OUTPUT
//        line_copier --ident FILE...  writes FILE.ident for each FILE, one after another
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr std::size_t blockSize = 64 * 1024;
char in[blockSize];
char out[blockSize];

bool fail(const std::string& what) {
    std::fprintf(stderr, "line_copier: %s: %s\n", what.c_str(), std::strerror(errno));
    return false;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, size);
        if (wrote < 0)
            return false;
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return true;
}

// Copies the lines of `from` to `to` without their leading spaces and tabs.
bool copyLines(int from, int to) {
    std::size_t used = 0;
    bool lineStart = true;
    for (;;) {
        const ssize_t got = ::read(from, in, blockSize);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        const std::size_t size = static_cast<std::size_t>(got);
        for (std::size_t i = 0; i < size;) {
            if (lineStart) {
                while (i < size && (in[i] == ' ' || in[i] == '\t'))
                    ++i;
                if (i == size)
                    break;
                lineStart = false;
            }
            const void* lineEnd = std::memchr(in + i, '\n', size - i);
            const std::size_t end =
                lineEnd ? static_cast<std::size_t>(static_cast<const char*>(lineEnd) - in) + 1
                        : size;
            const std::size_t part = end - i;
            if (used + part > blockSize) {
                if (!writeAll(to, out, used))
                    return false;
                used = 0;
            }
            std::memcpy(out + used, in + i, part);
            used += part;
            lineStart = lineEnd != nullptr;
            i = end;
        }
    }
    return writeAll(to, out, used);
}

// Writes `output` from `input` by way of a temporary file, synced, then renamed.
bool copyFile(const std::string& input, const std::string& output) {
    const int from = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return fail(input);
    const std::string temporary = output + ".tmp";
    const int to = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (to < 0) {
        ::close(from);
        return fail(temporary);
    }
    const bool copied = copyLines(from, to) && ::fsync(to) == 0;
    ::close(from);
    if (::close(to) != 0 || !copied)
        return fail(temporary);
    if (::rename(temporary.c_str(), output.c_str()) != 0)
        return fail(output);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--ident") == 0) {
        for (int i = 2; i < argc; ++i)
            if (!copyFile(argv[i], std::string(argv[i]) + ".ident"))
                return 1;
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: line_copier INPUT OUTPUT | line_copier --ident FILE...\n");
        return 2;
    }
    return copyFile(argv[1], argv[2]) ? 0 : 1;
}
