// SPDX-License-Identifier: MIT
#include "engine/core/line_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace stepwell {
namespace {

constexpr std::size_t bufferSize = 256 * 1024;

} // namespace

std::string_view lineBreakText(LineBreak lineBreak) {
    switch (lineBreak) {
    case LineBreak::CrLf:
        return "\r\n";
    case LineBreak::Cr:
        return "\r";
    case LineBreak::Lf:
        return "\n";
    case LineBreak::None:
        break;
    }
    return "";
}

LineReader::LineReader(ByteSource source)
    : source_(std::move(source)), buffer_(new char[bufferSize]) {}

LineReader LineReader::ofText(std::string_view text) {
    return LineReader([text](char* buffer, std::size_t size) mutable {
        const std::size_t part = std::min(size, text.size());
        std::memcpy(buffer, text.data(), part);
        text.remove_prefix(part);
        return part;
    });
}

LineReader::~LineReader() = default;
LineReader::LineReader(LineReader&&) noexcept = default;

// The first CR or LF at or after begin_, or end_ when the buffer holds none. Each byte is
// looked for with memchr, and where it was found is kept until the reader passes it: a file
// that ends its lines with LF is searched for CR once a buffer, not once a line.
std::size_t LineReader::nextBreak() {
    const auto find = [this](char byte) {
        const void* found = std::memchr(buffer_.get() + begin_, byte, end_ - begin_);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.get())
                     : end_;
    };
    if (nextLf_ == unknown || nextLf_ < begin_)
        nextLf_ = find('\n');
    if (nextCr_ == unknown || nextCr_ < begin_)
        nextCr_ = find('\r');
    return std::min(nextLf_, nextCr_);
}

bool LineReader::fill() {
    // Emptied even when the end was seen before: a caller may have moved begin_ past a
    // final CR and must not find the old bytes again.
    begin_ = 0;
    end_ = 0;
    nextLf_ = nextCr_ = unknown;
    if (atEnd_)
        return false;
    end_ = source_(buffer_.get(), bufferSize);
    atEnd_ = end_ == 0;
    return !atEnd_;
}

// Takes a byte-order mark off the start of the input. A pipe may deliver fewer than three
// bytes at a time, so the start is gathered into the buffer first.
void LineReader::takeByteOrderMark() {
    while (end_ < 3 && !atEnd_) {
        const std::size_t got = source_(buffer_.get() + end_, bufferSize - end_);
        end_ += got;
        atEnd_ = got == 0;
    }
    if (end_ >= 3 && std::memcmp(buffer_.get(), "\xEF\xBB\xBF", 3) == 0) {
        hadByteOrderMark_ = true;
        begin_ = 3;
    }
}

void LineReader::noteBreak(LineBreak lineBreak) {
    lastBreak_ = lineBreak;
    if (firstBreak_ == LineBreak::None)
        firstBreak_ = lineBreak;
}

bool LineReader::next(std::string_view& line) {
    if (!started_) {
        started_ = true;
        takeByteOrderMark();
    }
    carry_.clear();
    bool carrying = false;
    for (;;) {
        if (begin_ == end_ && !fill()) {
            if (!carrying)
                return false;
            lastBreak_ = LineBreak::None;
            line = carry_;
            return true;
        }
        const char* data = buffer_.get();
        const char* from = data + begin_;
        const char* to = data + end_;
        const char* stop = data + nextBreak();
        if (stop == to) {
            carry_.append(from, to);
            carrying = true;
            begin_ = end_;
            continue;
        }
        begin_ = static_cast<std::size_t>(stop - data) + 1;
        if (*stop == '\n') {
            noteBreak(LineBreak::Lf);
        } else if (begin_ < end_) {
            const bool crlf = data[begin_] == '\n';
            begin_ += crlf ? 1 : 0;
            noteBreak(crlf ? LineBreak::CrLf : LineBreak::Cr);
        } else {
            // A CR at the end of the buffer: the next byte decides between CR and CR LF, and
            // refilling overwrites the buffer, so the line moves to the carry first.
            carry_.append(from, stop);
            const bool crlf = fill() && buffer_[0] == '\n';
            begin_ = crlf ? 1 : 0;
            noteBreak(crlf ? LineBreak::CrLf : LineBreak::Cr);
            line = carry_;
            return true;
        }
        if (carrying) {
            carry_.append(from, stop);
            line = carry_;
        } else {
            line = std::string_view(from, static_cast<std::size_t>(stop - from));
        }
        return true;
    }
}

} // namespace stepwell
