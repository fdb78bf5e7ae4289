// SPDX-License-Identifier: MIT
#include "frame/sys/group_commit.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace stepwell {

// Threads that run the steps of one round side by side with the caller's. The steps (syncs,
// letting files go) spend their time waiting for the disk, so more of them than there are
// processors cost nothing but let the disk see the whole group at once; eight in flight were
// about as fast here as any more.
class SideBySide {
public:
    explicit SideBySide(std::size_t threads) {
        for (std::size_t i = 0; i < threads; ++i)
            threads_.emplace_back([this] { work(); });
    }
    ~SideBySide() {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }
    SideBySide(const SideBySide&) = delete;
    SideBySide& operator=(const SideBySide&) = delete;

    // Calls `step` with each of 0 to count - 1, once, and returns when every call returned.
    void forEach(std::size_t count, const std::function<void(std::size_t)>& step) {
        {
            const std::lock_guard lock(mutex_);
            step_ = &step;
            count_ = count;
            next_ = 0;
            busy_ = threads_.size();
            ++round_;
        }
        changed_.notify_all();
        takeSteps();
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [this] { return busy_ == 0; });
        step_ = nullptr;
    }

private:
    void work() {
        std::size_t seen = 0;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return closing_ || round_ != seen; });
                if (closing_)
                    return;
                seen = round_;
            }
            takeSteps();
            const std::lock_guard lock(mutex_);
            if (--busy_ == 0)
                finished_.notify_one();
        }
    }

    void takeSteps() {
        for (std::size_t i; (i = next_.fetch_add(1)) < count_;)
            (*step_)(i);
    }

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable changed_, finished_;
    const std::function<void(std::size_t)>* step_ = nullptr;
    std::size_t count_ = 0;
    std::atomic<std::size_t> next_{0};
    std::size_t busy_ = 0;  // threads still in the round
    std::size_t round_ = 0; // counts the rounds, so that a thread takes each once
    bool closing_ = false;
};

namespace {

constexpr std::size_t stepsInFlight = 8;

} // namespace

GroupCommit::GroupCommit(std::size_t open) : open_(std::max<std::size_t>(open, 1)) {
    thread_ = std::thread([this] { run(); });
}

GroupCommit::~GroupCommit() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void GroupCommit::add(std::unique_ptr<AtomicFile> file, std::optional<struct stat> original,
                      Done done) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return held_ < open_; });
    ++held_;
    queue_.push_back({std::move(file), original, std::move(done), nullptr});
    lock.unlock();
    changed_.notify_all();
}

// Takes, as one group, every file that came while the last group was being committed.
void GroupCommit::run() {
    for (;;) {
        std::deque<Waiting> group;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !queue_.empty() || closing_; });
            if (queue_.empty())
                return;
            group.swap(queue_);
        }
        const std::size_t size = group.size();
        commit(group);
        {
            const std::lock_guard lock(mutex_);
            held_ -= size;
        }
        changed_.notify_all();
    }
}

void GroupCommit::sideBySide(std::size_t count, const std::function<void(std::size_t)>& step) {
    if (count <= 1) {
        if (count == 1)
            step(0);
        return;
    }
    if (!steps_)
        steps_ = std::make_unique<SideBySide>(stepsInFlight - 1);
    steps_->forEach(count, step);
}

void GroupCommit::commit(std::deque<Waiting>& group) {
    const auto sync = [&group](std::size_t i) {
        try {
            group[i].file->sync();
        } catch (...) {
            group[i].failure = std::current_exception();
        }
    };
    sideBySide(group.size(), sync);
    std::vector<std::string> folders;
    std::vector<UniqueFd> replaced(group.size());
    for (std::size_t i = 0; i < group.size(); ++i) {
        Waiting& waiting = group[i];
        if (waiting.failure)
            continue;
        try {
            waiting.file->rename(waiting.original ? &*waiting.original : nullptr, &replaced[i]);
            std::string folder = waiting.file->folder();
            if (std::find(folders.begin(), folders.end(), folder) == folders.end())
                folders.push_back(std::move(folder));
        } catch (...) {
            waiting.failure = std::current_exception();
        }
    }
    for (const std::string& folder : folders)
        syncFolder(folder);
    // The files replaced are let go side by side: freeing their space may wait for the disk.
    sideBySide(replaced.size(), [&replaced](std::size_t i) { replaced[i].reset(); });
    for (Waiting& waiting : group) {
        waiting.file.reset(); // a file that failed takes its temporary file with it
        waiting.done(waiting.failure);
    }
}

} // namespace stepwell
