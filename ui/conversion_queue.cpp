// SPDX-License-Identifier: MIT
#include "ui/conversion_queue.h"

#include "engine/tag_file.h"
#include "frame/text/paths.h"

#include <QMetaObject>
#include <algorithm>

namespace stepwell {

// The prompts of a conversion on the queue's thread: each question and error is put on the
// owning thread, and the conversion waits for it there.
class ConversionQueue::ThreadPrompts : public Prompts {
public:
    ThreadPrompts(ConversionQueue& queue, unsigned round) : queue_(queue), round_(round) {}

    bool askYesNo(const std::string& question) override {
        return queue_.askOnOwnThread(
            [question](Prompts& prompts) { return prompts.askYesNo(question); }, round_, true);
    }
    void showError(const std::string& message) override {
        queue_.askOnOwnThread(
            [message](Prompts& prompts) {
                prompts.showError(message);
                return true;
            },
            round_, false);
    }

private:
    ConversionQueue& queue_;
    unsigned round_;
};

ConversionQueue::ConversionQueue(Prompts& prompts, QObject* parent)
    : QObject(parent), prompts_(prompts), thread_([this] { run(); }) {}

ConversionQueue::~ConversionQueue() {
    // As stop() does, but without a word to the owner, which is going too.
    {
        const std::lock_guard lock(mutex_);
        jobs_.clear();
        quitting_ = true;
        ++round_;
    }
    changed_.notify_all();
    thread_.join();
}

void ConversionQueue::add(const std::string& path, const ConvertOptions& options) {
    add(Job{path, options, {}, 0});
}

void ConversionQueue::addError(const std::string& message) {
    add(Job{{}, {}, message, 0});
}

void ConversionQueue::add(Job job) {
    job.round = round_;
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
    if (++pending_ == 1)
        emit busyChanged(true);
}

int ConversionQueue::stop() {
    int dropped = 0;
    {
        const std::lock_guard lock(mutex_);
        dropped = int(jobs_.size());
        jobs_.clear();
        ++round_;
    }
    pending_ -= dropped;
    if (dropped > 0 && pending_ == 0)
        emit busyChanged(false);
    return dropped;
}

void ConversionQueue::run() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return quitting_ || !jobs_.empty(); });
            if (quitting_)
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        if (job.error.empty()) {
            convert(job);
            continue;
        }
        try {
            ThreadPrompts(*this, job.round).showError(job.error);
        } catch (...) {
            // prompts that cannot show an error have nothing else to show it with
        }
        post([this] { done(); });
    }
}

void ConversionQueue::convert(Job& job) {
    int shown = -1;
    job.options.progress = [this, &job, &shown](std::uint64_t read, std::uint64_t size) {
        if (round_ != job.round)
            throw ConversionStopped();
        // Started once the input is read, after any question.
        if (shown < 0)
            post([this, path = job.path] { emit started(path); });
        const int percent = size == 0 ? 100 : int(std::min(read, size) * 100 / size);
        if (percent != shown) {
            shown = percent;
            post([this, percent] { emit progressed(percent); });
        }
    };
    Conversion conversion{job.path, job.options.replace};
    ThreadPrompts prompts(*this, job.round);
    try {
        conversion.result = convertFile(job.path, job.options, prompts);
    } catch (...) {
        // Only the prompts throw what a conversion does not report itself: this file fails.
        conversion.result = ConvertResult::Failed;
    }
    if (conversion.result == ConvertResult::Converted ||
        conversion.result == ConvertResult::Unchanged) {
        try {
            conversion.tagTableFound =
                !findTagTable(job.options.tagTables, folderPart(job.path)).empty();
        } catch (...) {
            // the conversion is done; only the note about the table is left out
        }
    }
    post([this, conversion] {
        emit finished(conversion);
        done();
    });
}

bool ConversionQueue::askOnOwnThread(const std::function<bool(Prompts&)>& ask, unsigned round,
                                     bool question) {
    struct Answer {
        bool given = false;
        bool yes = false;
        std::exception_ptr failure;
    };
    const auto answer = std::make_shared<Answer>();
    post([this, ask, answer, round, question] {
        bool yes = false;
        std::exception_ptr failure;
        // A stopped conversion asks nothing more: its question counts as declined. An error
        // is shown all the same.
        if (!question || round == round_) {
            asking_ = true;
            try {
                yes = ask(prompts_);
            } catch (...) {
                failure = std::current_exception();
            }
            asking_ = false;
        }
        {
            const std::lock_guard lock(mutex_);
            *answer = {true, yes, failure};
        }
        changed_.notify_all();
    });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return answer->given || quitting_; });
    if (answer->failure)
        std::rethrow_exception(answer->failure);
    return answer->yes;
}

void ConversionQueue::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void ConversionQueue::done() {
    if (--pending_ == 0)
        emit busyChanged(false);
}

} // namespace stepwell
