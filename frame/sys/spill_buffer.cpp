// SPDX-License-Identifier: MIT
#include "frame/sys/spill_buffer.h"

#include "frame/sys/fd_io.h"
#include "frame/sys/stop_cleanup.h"
#include "frame/sys/system_error.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace stepwell {
namespace {

constexpr std::size_t chunkSize = 256 * 1024;

// A temporary file without a name: it disappears with its descriptor, whatever happens.
UniqueFd unnamedTemporaryFile() {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/stepwell-XXXXXX";
    // No stop may come between creating the file and removing its name.
    const StopSignalsHeld held;
    UniqueFd fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd)
        throw systemError(pattern, "cannot create a temporary file", errno);
    ::unlink(pattern.c_str());
    return fd;
}

const std::string temporaryName = "the temporary file";

} // namespace

SpillBuffer::SpillBuffer(std::size_t memoryLimit) : memoryLimit_(memoryLimit) {}

void SpillBuffer::write(std::string_view text) {
    // Once the text outgrows memory, a piece as large as a chunk goes to the file as it is:
    // a huge line is never held a second time.
    if ((file_ || memory_.size() + text.size() > memoryLimit_) && text.size() >= chunkSize) {
        spill();
        writeAll(file_.get(), text.data(), text.size(), temporaryName);
        return;
    }
    memory_.append(text);
    if (memory_.size() > memoryLimit_ || (file_ && memory_.size() >= chunkSize))
        spill();
}

void SpillBuffer::spill() {
    if (!file_)
        file_ = unnamedTemporaryFile();
    writeAll(file_.get(), memory_.data(), memory_.size(), temporaryName);
    memory_.clear();
}

void SpillBuffer::copyTo(int fd, const std::string& name) {
    // An empty text writes nothing, but a destination that cannot take it is still an error.
    if (!file_ && memory_.empty())
        checkWritable(fd, name);
    readBack([&](std::string_view part) { writeAll(fd, part.data(), part.size(), name); });
}

void SpillBuffer::readBack(const std::function<void(std::string_view)>& each) {
    if (file_) {
        spill();
        if (::lseek(file_.get(), 0, SEEK_SET) != 0)
            throw systemError(temporaryName, "cannot read", errno);
        const std::unique_ptr<char[]> chunk(new char[chunkSize]);
        while (const std::size_t got = readSome(file_.get(), chunk.get(), chunkSize, temporaryName))
            each({chunk.get(), got});
    }
    if (!memory_.empty())
        each(memory_);
}

} // namespace stepwell
