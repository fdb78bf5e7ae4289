// SPDX-License-Identifier: MIT
#pragma once

#include "engine/convert.h"

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace stepwell {

/// One conversion the window asked for, and how it ended.
struct Conversion {
    std::string path;
    bool replace = false;
    ConvertResult result = ConvertResult::Declined;
    bool tagTableFound = true; // whether a tag table applied to the file, once converted
};

/// Converts files one after another on a thread of its own, in the order they were added,
/// so that the window stays responsive while a big file converts. Questions and errors are
/// put to `prompts` on the thread that made the queue, one at a time, while the conversion
/// waits for the answer. Every signal comes on that thread too.
class ConversionQueue : public QObject {
    Q_OBJECT
public:
    explicit ConversionQueue(Prompts& prompts, QObject* parent = nullptr);
    /// Stops what runs, drops what waits, and waits for the thread; emits nothing.
    ~ConversionQueue() override;

    /// Converts `path` after those added before.
    void add(const std::string& path, const ConvertOptions& options);
    /// Shows `message` as an error after the conversions added before.
    void addError(const std::string& message);
    /// Stops the running conversion (its result is discarded, its input left as it was) and
    /// drops the waiting ones; returns how many were dropped.
    int stop();

    /// Whether a conversion runs or waits.
    bool busy() const { return pending_ > 0; }
    /// Whether a question or an error is open.
    bool asking() const { return asking_; }

signals:
    void busyChanged(bool busy);
    /// A conversion has begun to read its input (its question, if any, answered).
    void started(const std::string& path);
    /// The share of the running conversion's input read so far.
    void progressed(int percent);
    void finished(const Conversion& conversion);

private:
    struct Job {
        std::string path;
        ConvertOptions options;
        std::string error; // an error to show instead of a conversion
        unsigned round = 0;
    };
    class ThreadPrompts;

    void add(Job job);
    void run();
    void convert(Job& job);
    bool askOnOwnThread(const std::function<bool(Prompts&)>& ask, unsigned round, bool question);
    void post(std::function<void()> call);
    void done();

    Prompts& prompts_;
    // Shared with the thread.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    bool quitting_ = false;
    std::atomic<unsigned> round_{0}; // raised by stop(): jobs of an earlier round stop
    // The owning thread's own view.
    int pending_ = 0;
    bool asking_ = false;
    std::thread thread_;
};

} // namespace stepwell
