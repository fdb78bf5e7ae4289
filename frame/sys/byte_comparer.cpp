// SPDX-License-Identifier: MIT
#include "frame/sys/byte_comparer.h"

#include "frame/sys/system_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace stepwell {
namespace {

constexpr std::size_t bufferSize = 256 * 1024;

} // namespace

ByteComparer::ByteComparer(int fd, std::string name)
    : fd_(fd), name_(std::move(name)), buffer_(new char[bufferSize]) {}

ByteComparer::~ByteComparer() = default;

// Reads the next bytes of the file into the buffer; false at its end.
bool ByteComparer::fill() {
    for (;;) {
        const ssize_t got = ::pread(fd_, buffer_.get(), bufferSize, static_cast<off_t>(offset_));
        if (got >= 0) {
            begin_ = 0;
            end_ = static_cast<std::size_t>(got);
            offset_ += end_;
            return got > 0;
        }
        if (errno != EINTR)
            throw systemError(name_, "cannot read", errno);
    }
}

void ByteComparer::write(std::string_view text) {
    while (same_ && !text.empty()) {
        if (begin_ == end_ && !fill()) {
            same_ = false; // the text is longer than the file
            return;
        }
        const std::size_t n = std::min(text.size(), end_ - begin_);
        if (std::memcmp(text.data(), buffer_.get() + begin_, n) != 0)
            same_ = false;
        begin_ += n;
        text.remove_prefix(n);
    }
}

bool ByteComparer::matchedAll() {
    if (same_ && begin_ == end_ && fill())
        same_ = false; // the file goes on
    return same_ && begin_ == end_;
}

} // namespace stepwell
