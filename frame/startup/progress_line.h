// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace stepwell {

/// One line on a terminal that shows how far a long run has got: the files done of the files
/// known, and how fast their input is read. It appears only when standard error is a terminal
/// and the run has lasted a second, is drawn again a few times a second, and is taken away
/// before anything else is written to the terminal, and at the end.
class ProgressLine {
public:
    /// Draws on standard error when `onTerminal`, otherwise never.
    explicit ProgressLine(bool onTerminal);
    /// Takes the line away.
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void addFiles(std::size_t count) { files_ += count; }
    void fileDone() { ++done_; }
    /// Counts `bytes` more input read; on any thread.
    void read(std::uint64_t bytes) { bytes_.fetch_add(bytes, std::memory_order_relaxed); }

    /// Draws the line when it is due; on the thread that writes to the terminal.
    void tick();
    /// Takes the line away, so that what comes next starts on a clean line.
    void erase();

private:
    using Clock = std::chrono::steady_clock;
    std::string text(Clock::time_point now) const;

    bool onTerminal_;
    Clock::time_point start_;
    Clock::time_point drawnAt_;
    bool drawn_ = false;
    std::atomic<std::uint64_t> bytes_{0};
    std::size_t files_ = 0; // on the drawing thread
    std::size_t done_ = 0;
};

/// Prompts that take the progress line away before they ask or show anything.
class PromptsBesideProgress : public Prompts {
public:
    PromptsBesideProgress(Prompts& prompts, ProgressLine& progress)
        : prompts_(prompts), progress_(progress) {}
    bool askYesNo(const std::string& question) override {
        progress_.erase();
        return prompts_.askYesNo(question);
    }
    void showError(const std::string& message) override {
        progress_.erase();
        prompts_.showError(message);
    }

private:
    Prompts& prompts_;
    ProgressLine& progress_;
};

} // namespace stepwell
