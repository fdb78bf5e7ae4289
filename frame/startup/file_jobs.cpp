// SPDX-License-Identifier: MIT
#include "frame/startup/file_jobs.h"

#include "frame/startup/file_names.h"
#include "frame/sys/files.h"
#include "frame/text/paths.h"
#include "frame/text/wildcards.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <unordered_map>

namespace stepwell {
namespace {

// How often the calling thread looks for finished jobs to show while it waits.
constexpr std::chrono::milliseconds lookEvery{2};

// One file's job, or the messages of a token that named no file (no path).
struct Entry {
    Entry(std::mutex& turn, std::condition_variable& asked, ProgressLine& progress,
          Prompts* answers)
        : output(turn, asked, progress, answers) {}
    Entry(JobSinks& sinks, ProgressLine& progress) : output(sinks, progress) {}
    std::string path;
    bool isFile = false;
    JobOutput output;
};

// The keys of the files a job reads or writes: the file itself, whatever its name, and the
// name as written, made absolute, for a file that does not exist yet.
std::vector<std::string> keysOf(const std::string& path, const std::string& folder) {
    std::vector<std::string> keys;
    if (path.empty())
        return keys;
    const std::string identity = fileIdentity(path);
    if (!identity.empty())
        keys.push_back(identity);
    keys.push_back(path.front() == '/' ? path : joinPath(folder, path));
    return keys;
}

class Run {
public:
    Run(const JobSettings& settings, JobSinks& sinks, ProgressLine& progress,
        const FileJobs::Work& work, const FileJobs::Shown& shown)
        : settings_(settings), sinks_(sinks), progress_(progress), work_(work), shown_(shown) {}

    ~Run() {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        workWaits_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    bool tokens(const std::vector<std::string>& tokens) {
        bool allNamed = true;
        for (const std::string& token : tokens) {
            if (stopped())
                break;
            // A wildcard may match what the jobs before it write.
            if (settings_.writesFiles && hasWildcards(token))
                waitUntil([this] { return entries_.empty(); });
            auto messages = newEntry();
            std::vector<std::string> paths;
            try {
                paths = expandToken(token, [&](const Error& error) {
                    messages->output.showError(error.what());
                    allNamed = false;
                });
            } catch (const Error& error) {
                messages->output.showError(error.what());
                allNamed = false;
            }
            messages->output.finish(0);
            add(std::move(messages));
            progress_.addFiles(paths.size());
            for (const std::string& path : paths) {
                if (stopped())
                    break;
                auto entry = newEntry();
                entry->path = path;
                entry->isFile = true;
                add(std::move(entry));
            }
        }
        waitUntil([this] { return entries_.empty(); });
        return allNamed;
    }

private:
    // Without threads, what a job says is shown at once.
    std::unique_ptr<Entry> newEntry() {
        if (settings_.threads == 0)
            return std::make_unique<Entry>(sinks_, progress_);
        // Answers that need no one need not wait for their turn.
        Prompts* answers = sinks_.prompts.answersAtOnce() ? &sinks_.prompts : nullptr;
        return std::make_unique<Entry>(mutex_, mainWakes_, progress_, answers);
    }

    bool stopped() {
        const std::lock_guard lock(mutex_);
        return stopped_;
    }

    // Queues a job once there is room and the jobs on its files before it are done; without
    // threads, does it.
    void add(std::unique_ptr<Entry> entry) {
        if (settings_.threads == 0) {
            if (entry->isFile)
                work_(entry->path, entry->output);
            show(*entry);
            return;
        }
        if (entry->isFile && settings_.writesFiles)
            waitForEarlierUses(*entry);
        waitUntil([this] { return stopped_ || entries_.size() < settings_.ahead; });
        const std::lock_guard lock(mutex_);
        if (stopped_)
            return;
        if (entry->isFile) {
            if (threads_.size() < settings_.threads)
                threads_.emplace_back([this] { work(); });
            ready_.push_back(entry.get());
        }
        entries_.push_back(std::move(entry));
        ++added_;
        workWaits_.notify_one();
    }

    // A job that reads or writes a file that an earlier job still works on waits for it, as
    // one after the other they would have: a file named twice, or an output named as input.
    void waitForEarlierUses(const Entry& entry) {
        if (folder_.empty())
            folder_ = currentDirectory();
        std::vector<std::string> keys = keysOf(entry.path, folder_);
        for (std::string& key : keysOf(settings_.writes(entry.path), folder_))
            keys.push_back(std::move(key));
        const std::uint64_t number = added_; // the number the entry will have
        std::optional<std::uint64_t> latest;
        for (const std::string& key : keys) {
            auto [use, first] = lastUse_.try_emplace(key, number);
            if (!first && use->second != number) {
                latest = std::max(latest.value_or(0), use->second);
                use->second = number;
            }
        }
        if (latest)
            waitUntil([&] { return *latest < shownCount_ || entryNumbered(*latest).finished(); });
    }

    const JobOutput& entryNumbered(std::uint64_t number) const {
        return entries_[static_cast<std::size_t>(number - shownCount_)]->output;
    }

    // The run's threads: each takes the next job in order.
    void work() {
        for (;;) {
            Entry* entry = nullptr;
            {
                std::unique_lock lock(mutex_);
                workWaits_.wait(lock, [this] { return closing_ || !ready_.empty(); });
                if (ready_.empty())
                    return;
                entry = takeNext();
                if (stopped_) {
                    busyFolders_.erase(busyFolders_.find(folderPart(entry->path)));
                    lock.unlock();
                    entry->output.finish(0); // never shown
                    continue;
                }
            }
            // Once finished, the job may be shown and gone at any moment.
            const std::string folder = folderPart(entry->path);
            try {
                work_(entry->path, entry->output);
            } catch (...) {
                entry->output.finish(-1);
            }
            const std::lock_guard lock(mutex_);
            busyFolders_.erase(busyFolders_.find(folder));
        }
    }

    // The next job. Jobs that write files in one folder wait for each other inside the file
    // system (creating a file holds its folder), so such a run takes the next job whose folder
    // no other thread works in, among the next few. Only where no question waits: a later job
    // waiting for its question's turn would hold its thread while the earlier job whose turn
    // it is waited for one. Under the lock.
    Entry* takeNext() {
        constexpr std::ptrdiff_t lookAhead = 32;
        const bool spread = settings_.writesFiles && sinks_.prompts.answersAtOnce();
        auto chosen = ready_.begin();
        for (auto it = ready_.begin();
             spread && it != ready_.end() && it < ready_.begin() + lookAhead; ++it)
            if (!busyFolders_.count(folderPart((*it)->path))) {
                chosen = it;
                break;
            }
        Entry* entry = *chosen;
        ready_.erase(chosen);
        busyFolders_.insert(folderPart(entry->path));
        return entry;
    }

    // Shows the finished jobs at the head of the queue and asks the question of the first
    // unfinished one, until `done` holds (checked under the lock); meanwhile keeps the
    // progress line going.
    template <class Done> void waitUntil(Done done) {
        std::unique_lock lock(mutex_);
        for (;;) {
            while (!entries_.empty()) {
                Entry& head = *entries_.front();
                if (head.output.finished()) {
                    lock.unlock();
                    show(head);
                    lock.lock();
                    entries_.pop_front();
                    ++shownCount_;
                    continue;
                }
                if (!head.output.asking())
                    break;
                const bool ask = !stopped_;
                lock.unlock();
                bool yes = false; // a stopped run asks nothing more
                if (ask) {
                    progress_.erase();
                    head.output.showTo(sinks_);
                    yes = sinks_.prompts.askYesNo(head.output.question());
                }
                head.output.answer(yes);
                lock.lock();
            }
            if (done())
                return;
            // Finished jobs are looked for every few milliseconds rather than at each one,
            // which would wake this thread for every small file.
            mainWakes_.wait_for(lock, lookEvery);
            lock.unlock();
            progress_.tick();
            lock.lock();
        }
    }

    void show(Entry& entry) {
        if (stopped())
            return;
        entry.output.showTo(sinks_);
        if (!entry.isFile)
            return;
        progress_.fileDone();
        if (!shown_(entry.output.outcome())) {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
    }

    const JobSettings& settings_;
    JobSinks& sinks_;
    ProgressLine& progress_;
    const FileJobs::Work& work_;
    const FileJobs::Shown& shown_;

    std::mutex mutex_;
    std::condition_variable workWaits_;          // a job is ready, or the run ends
    std::condition_variable mainWakes_;          // a job asks its question
    std::deque<std::unique_ptr<Entry>> entries_; // added and not yet shown, in order
    std::deque<Entry*> ready_;                   // of those, the jobs no thread has taken
    std::multiset<std::string> busyFolders_;     // the folders of the jobs being done
    std::vector<std::thread> threads_;
    bool closing_ = false;
    bool stopped_ = false;

    // The entries by number, in the order they were added, for the files jobs use.
    std::string folder_;
    std::uint64_t added_ = 0;                                // entries added
    std::uint64_t shownCount_ = 0;                           // entries shown, the first of them
    std::unordered_map<std::string, std::uint64_t> lastUse_; // the last entry to use a file
};

} // namespace

FileJobs::FileJobs(JobSettings settings, JobSinks& sinks, ProgressLine& progress)
    : settings_(std::move(settings)), sinks_(sinks), progress_(progress) {}

bool FileJobs::run(const std::vector<std::string>& tokens, const Work& work, const Shown& shown) {
    Run run(settings_, sinks_, progress_, work, shown);
    return run.tokens(tokens);
}

} // namespace stepwell
