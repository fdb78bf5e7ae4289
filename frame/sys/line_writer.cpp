#include "frame/sys/line_writer.h"

#include "frame/sys/fd_io.h"

#include <cstring>

namespace stepwell {
namespace {

constexpr std::size_t bufferSize = 256 * 1024;

} // namespace

LineWriter::LineWriter(int fd, std::string name)
    : fd_(fd), name_(std::move(name)), buffer_(new char[bufferSize]) {}

LineWriter::~LineWriter() = default;

void LineWriter::write(std::string_view text) {
    if (text.size() > bufferSize - used_) {
        flush();
        if (text.size() >= bufferSize) {
            writeAll(fd_, text.data(), text.size(), name_);
            return;
        }
    }
    std::memcpy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
}

void LineWriter::flush() {
    const std::size_t size = used_;
    used_ = 0;
    writeAll(fd_, buffer_.get(), size, name_);
}

} // namespace stepwell
