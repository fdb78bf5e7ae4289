// SPDX-License-Identifier: MIT
#pragma once

#include "frame/sys/line_writer.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace stepwell {

/// Writes text to a file, as LineWriter with WriteBack::Early does, but on a thread of its
/// own once the text outgrows one buffer, so that the writing and the work that produces the
/// text use two processor cores. Text goes out in the order it came; a failure of the thread
/// is thrown by the next call of write() or flush().
class BackgroundWriter {
public:
    /// `fd` must be a new file written from its start; `name` is used in error messages.
    BackgroundWriter(int fd, std::string name);
    /// Waits for the thread, if one was started; what it had left is not written.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    void write(std::string_view text);
    /// Room to write text into in place, at the end of the buffer being filled: at least
    /// `wanted` bytes, unless that is more than a buffer holds. fill() takes the text.
    std::span<char> room(std::size_t wanted);
    /// Takes the first `size` bytes of the last room() as written.
    void fill(std::size_t size) { filling_.used += size; }
    /// Returns when everything written so far is in the file. Throws Error when writing
    /// failed.
    void flush();

private:
    struct Buffer {
        std::unique_ptr<char[]> data;
        std::size_t used = 0;
    };
    void handOver();
    void run();
    void rethrowFailure();

    LineWriter file_; // used by the thread once it runs, before that by the caller
    Buffer filling_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Buffer> queue_;  // full buffers waiting for the thread, oldest first
    std::vector<Buffer> spare_; // written buffers, to be filled again
    bool busy_ = false;         // the thread is writing a buffer
    bool stopping_ = false;
    std::exception_ptr failure_;
};

} // namespace stepwell
