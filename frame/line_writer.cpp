#include "line_writer.h"

#include "error.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

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

void writeAll(int fd, const char* data, std::size_t size, const std::string& name) {
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, size);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            throw systemError(name, "cannot write", errno);
        }
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
}

} // namespace stepwell
