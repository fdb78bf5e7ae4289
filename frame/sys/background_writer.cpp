// SPDX-License-Identifier: MIT
#include "frame/sys/background_writer.h"

#include <cstring>

namespace stepwell {
namespace {

constexpr std::size_t bufferSize = 1024 * 1024;
// Buffers in flight at most: enough to keep both sides busy, little memory.
constexpr std::size_t queued = 3;

} // namespace

BackgroundWriter::BackgroundWriter(int fd, std::string name)
    : file_(fd, std::move(name), WriteBack::Early) {
    filling_.data.reset(new char[bufferSize]);
}

BackgroundWriter::~BackgroundWriter() {
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundWriter::write(std::string_view text) {
    while (!text.empty()) {
        const std::size_t part = std::min(text.size(), bufferSize - filling_.used);
        std::memcpy(filling_.data.get() + filling_.used, text.data(), part);
        filling_.used += part;
        text.remove_prefix(part);
        if (filling_.used == bufferSize)
            handOver();
    }
}

std::span<char> BackgroundWriter::room(std::size_t wanted) {
    if (wanted > bufferSize - filling_.used)
        handOver();
    return {filling_.data.get() + filling_.used, bufferSize - filling_.used};
}

void BackgroundWriter::flush() {
    if (!thread_.joinable()) {
        // A small text never starts the thread.
        file_.write({filling_.data.get(), filling_.used});
        filling_.used = 0;
        file_.flush();
        return;
    }
    handOver();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !busy_) || failure_; });
    lock.unlock();
    rethrowFailure();
}

// Gives the filled buffer to the thread, starting it the first time, and takes an empty one.
void BackgroundWriter::handOver() {
    if (filling_.used == 0)
        return;
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < queued || failure_; });
    if (failure_) {
        lock.unlock();
        rethrowFailure();
    }
    queue_.push_back(std::move(filling_));
    filling_ = Buffer{};
    if (!spare_.empty()) {
        filling_ = std::move(spare_.back());
        spare_.pop_back();
    }
    lock.unlock();
    changed_.notify_all();
    if (!filling_.data)
        filling_.data.reset(new char[bufferSize]);
    filling_.used = 0;
}

void BackgroundWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
        if (stopping_)
            return;
        Buffer buffer = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            file_.write({buffer.data.get(), buffer.used});
            file_.flush();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        busy_ = false;
        spare_.push_back(std::move(buffer));
        if (failure && !failure_) {
            failure_ = failure;
            queue_.clear();
        }
        changed_.notify_all();
    }
}

void BackgroundWriter::rethrowFailure() {
    std::exception_ptr failure;
    {
        const std::lock_guard lock(mutex_);
        failure = failure_;
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace stepwell
