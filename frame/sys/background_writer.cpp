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
    filling_.reserve(bufferSize);
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
        const std::size_t part = std::min(text.size(), bufferSize - filling_.size());
        filling_.insert(filling_.end(), text.data(), text.data() + part);
        text.remove_prefix(part);
        if (filling_.size() == bufferSize)
            handOver();
    }
}

void BackgroundWriter::flush() {
    if (!thread_.joinable()) {
        // A small text never starts the thread.
        file_.write({filling_.data(), filling_.size()});
        filling_.clear();
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
    if (filling_.empty())
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
    filling_ = Buffer();
    if (!spare_.empty()) {
        filling_ = std::move(spare_.back());
        spare_.pop_back();
    }
    filling_.clear();
    filling_.reserve(bufferSize);
    lock.unlock();
    changed_.notify_all();
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
            file_.write({buffer.data(), buffer.size()});
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
