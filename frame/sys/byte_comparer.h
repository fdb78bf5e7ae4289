// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace stepwell {

/// Compares text, given piece by piece, with the bytes of an open file, without holding
/// the file in memory: a sink (see TextSink) whose write() compares instead of storing. It reads
/// with pread, so the descriptor's own position is left for another reader. The comparer does not
/// own the descriptor.
class ByteComparer {
public:
    /// `name` is used in error messages.
    ByteComparer(int fd, std::string name);
    ~ByteComparer();
    ByteComparer(const ByteComparer&) = delete;
    ByteComparer& operator=(const ByteComparer&) = delete;

    /// Compares `text` with the next bytes of the file. Throws Error when reading fails.
    void write(std::string_view text);
    void flush() {}

    /// Whether everything given so far equals the whole file: every byte, and no more.
    /// Throws Error when reading fails.
    bool matchedAll();

private:
    bool fill();

    int fd_;
    std::string name_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t offset_ = 0; // file position just after the buffered bytes
    bool same_ = true;
};

} // namespace stepwell
