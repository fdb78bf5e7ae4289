#include "spill_buffer.h"

#include "error.h"
#include "line_writer.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace stepwell {
namespace {

constexpr std::size_t chunkSize = 256 * 1024;

// A temporary file without a name: it disappears with its descriptor, whatever happens.
int unnamedTemporaryFile() {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/stepwell-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw systemError(pattern, "cannot create a temporary file", errno);
    ::unlink(pattern.c_str());
    return fd;
}

const std::string temporaryName = "the temporary file";

} // namespace

SpillBuffer::SpillBuffer(std::size_t memoryLimit) : memoryLimit_(memoryLimit) {}

SpillBuffer::~SpillBuffer() {
    if (file_ >= 0)
        ::close(file_);
}

void SpillBuffer::write(std::string_view text) {
    memory_.append(text);
    if (memory_.size() > memoryLimit_ || (file_ >= 0 && memory_.size() >= chunkSize))
        spill();
}

void SpillBuffer::spill() {
    if (file_ < 0)
        file_ = unnamedTemporaryFile();
    writeAll(file_, memory_.data(), memory_.size(), temporaryName);
    memory_.clear();
}

void SpillBuffer::copyTo(int fd, const std::string& name) {
    if (file_ >= 0) {
        spill();
        if (::lseek(file_, 0, SEEK_SET) != 0)
            throw systemError(temporaryName, "cannot read", errno);
        const std::unique_ptr<char[]> chunk(new char[chunkSize]);
        for (;;) {
            const ssize_t got = ::read(file_, chunk.get(), chunkSize);
            if (got == 0)
                break;
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                throw systemError(temporaryName, "cannot read", errno);
            }
            writeAll(fd, chunk.get(), static_cast<std::size_t>(got), name);
        }
    }
    writeAll(fd, memory_.data(), memory_.size(), name);
}

} // namespace stepwell
