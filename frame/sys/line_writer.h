#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace stepwell {

/// Writes text to a file descriptor through a large buffer. The writer does not own the
/// descriptor; flush() before closing it.
class LineWriter {
public:
    /// `name` is used in error messages.
    LineWriter(int fd, std::string name);
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    /// Appends text. Throws Error when writing fails.
    void write(std::string_view text);
    /// Writes everything buffered. Throws Error when writing fails.
    void flush();

private:
    int fd_;
    std::string name_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

} // namespace stepwell
