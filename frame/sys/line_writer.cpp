// SPDX-License-Identifier: MIT
#include "frame/sys/line_writer.h"

#include "frame/sys/fd_io.h"
#include "frame/sys/system_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace stepwell {
namespace {

constexpr std::size_t bufferSize = 256 * 1024;
// Pieces at least this large are written as they are rather than copied into the buffer.
constexpr std::size_t directSize = 64 * 1024;
// With WriteBack::Early: how much written data waits before its write-back starts, and how
// much before the writer waits for it to reach the disk.
constexpr std::uint64_t writeBackStep = 1024 * 1024;
constexpr std::uint64_t syncStep = 8 * 1024 * 1024;

} // namespace

LineWriter::LineWriter(int fd, std::string name, WriteBack writeBack)
    : fd_(fd), name_(std::move(name)), writeBack_(writeBack), buffer_(new char[bufferSize]) {}

LineWriter::~LineWriter() = default;

void LineWriter::write(std::string_view text) {
    if (text.size() > bufferSize - used_)
        flush();
    if (used_ == 0 && text.size() >= directSize) {
        send(text.data(), text.size());
        return;
    }
    std::memcpy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
}

void LineWriter::flush() {
    const std::size_t size = used_;
    used_ = 0;
    send(buffer_.get(), size);
}

void LineWriter::send(const char* data, std::size_t size) {
    writeAll(fd_, data, size, name_);
    written_ += size;
    if (writeBack_ == WriteBack::Early)
        keepDiskBusy();
}

// The disk works while the conversion goes on, instead of all at once when the result is
// synced before it takes the destination's place: write-back starts as data comes, and every
// few MiB the writer waits until it is on the disk, so that the final sync has only the last
// few MiB and the disk's cache left. Durability still comes from that final sync; a failure
// here is one the final sync would have met, and reported as a failed write.
void LineWriter::keepDiskBusy() {
    if (written_ - synced_ >= syncStep) {
        if (::fdatasync(fd_) != 0)
            throw systemError(name_, "cannot write", errno);
        synced_ = written_;
        writingBack_ = written_;
        return;
    }
#ifdef SYNC_FILE_RANGE_WRITE
    if (written_ - writingBack_ >= writeBackStep) {
        ::sync_file_range(fd_, static_cast<off_t>(writingBack_),
                          static_cast<off_t>(written_ - writingBack_), SYNC_FILE_RANGE_WRITE);
        writingBack_ = written_;
    }
#endif
}

} // namespace stepwell
