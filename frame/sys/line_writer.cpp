// SPDX-License-Identifier: MIT
#include "frame/sys/line_writer.h"

#include "frame/sys/fd_io.h"

#include <cstring>
#include <fcntl.h>

namespace stepwell {
namespace {

constexpr std::size_t bufferSize = 256 * 1024;
// Pieces at least this large are written as they are rather than copied into the buffer.
constexpr std::size_t directSize = 64 * 1024;
// How much written data waits before its write-back starts.
constexpr std::uint64_t writeBackStep = 8 * 1024 * 1024;

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
#ifdef SYNC_FILE_RANGE_WRITE
    // The disk works while the conversion goes on, instead of all at once when the result
    // is synced before it takes the destination's place. This only starts the write-back;
    // durability still comes from that sync.
    if (writeBack_ == WriteBack::Early && written_ - writingBack_ >= writeBackStep) {
        ::sync_file_range(fd_, static_cast<off_t>(writingBack_),
                          static_cast<off_t>(written_ - writingBack_), SYNC_FILE_RANGE_WRITE);
        writingBack_ = written_;
    }
#endif
}

} // namespace stepwell
