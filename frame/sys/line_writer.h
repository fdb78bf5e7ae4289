// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace stepwell {

/// When the data a writer has written goes to the disk.
enum class WriteBack {
    Later, // when the system sees fit; a sync at the end waits for all of it
    // Started as it is written and waited for every few MiB, so that a sync at the end has
    // little left to wait for. The waits hold the writer up: meant for a writing thread.
    Early,
};

/// Writes text to a file descriptor through a large buffer. The writer does not own the
/// descriptor; flush() before closing it. With WriteBack::Early the descriptor must be a
/// file written from its start, as a new temporary file is.
class LineWriter {
public:
    /// `name` is used in error messages.
    LineWriter(int fd, std::string name, WriteBack writeBack = WriteBack::Later);
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    /// Appends text. Throws Error when writing fails.
    void write(std::string_view text);
    /// Writes everything buffered. Throws Error when writing fails.
    void flush();

private:
    void send(const char* data, std::size_t size);
    void keepDiskBusy();

    int fd_;
    std::string name_;
    WriteBack writeBack_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;     // bytes handed to the file so far
    std::uint64_t writingBack_ = 0; // where the write-back started last covers the file up to
    std::uint64_t synced_ = 0;      // how much of the file is known to be on the disk
};

} // namespace stepwell
