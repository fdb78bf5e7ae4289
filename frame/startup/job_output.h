// SPDX-License-Identifier: MIT
#pragma once

#include "engine/lines_of.h"
#include "frame/prompts/prompts.h"
#include "frame/startup/progress_line.h"
#include "frame/sys/spill_buffer.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// Where what the jobs of a run tell the user goes, one job after another, from the thread
/// that shows it. Remembers the messages to be shown once a run.
class JobSinks {
public:
    JobSinks(Prompts& to, std::function<void(std::string_view)> reportTo,
             std::function<void(const std::string& folder)> noTableIn)
        : prompts(to), report(std::move(reportTo)), noTable(std::move(noTableIn)) {}

    Prompts& prompts;
    std::function<void(std::string_view)> report;           // the report: names or diffs
    std::function<void(const std::string& folder)> noTable; // no tag table applies there
    std::set<std::string> shownOnce;                        // the keys of showErrorOnce()
    bool reportLost = false; // part of a job's report could not be read back (shown)
};

/// What the job of one file tells the user, kept until the jobs of the files before it have
/// told theirs, so that a run on several threads says everything in the order of its files.
/// Its question waits for that turn too, and is asked on the thread that shows the output.
/// The job may be finished on another thread than the one that did its work.
///
/// The job of a run that does its one file on the calling thread tells the user at once.
class JobOutput : public Prompts {
public:
    /// Keeps what the job says. `turn` is the lock shared by the run; `asked` wakes the
    /// showing thread for a question. Questions go to `answers` at once, when given (see
    /// Prompts::answersAtOnce).
    JobOutput(std::mutex& turn, std::condition_variable& asked, ProgressLine& progress,
              Prompts* answers)
        : turn_(&turn), asked_(&asked), progress_(progress), answers_(answers) {}
    /// Passes what the job says on to `sinks` at once, on the calling thread.
    JobOutput(JobSinks& sinks, ProgressLine& progress) : sinks_(&sinks), progress_(progress) {}
    JobOutput(const JobOutput&) = delete;
    JobOutput& operator=(const JobOutput&) = delete;

    /// Waits until every job before this one has been shown and the question asked.
    bool askYesNo(const std::string& question) override;
    void showError(const std::string& message) override;
    /// Shows `message` unless a message with `key` was shown before in the run.
    void showErrorOnce(const std::string& key, const std::string& message);
    /// Adds to the report on standard output. Throws Error when text cannot be held.
    void report(std::string_view text);
    /// Notes that no tag table applies in `folder` (see TagTablePlaces::noneApplies).
    void noteNoTable(const std::string& folder);
    /// Says how the job ended: nothing more comes from it. The showing thread looks for
    /// finished jobs in its own time.
    void finish(int outcome);
    /// Told after each read of the job's input, for the progress line.
    ReadProgress readProgress();

    // For the showing thread, under the run's lock.

    bool finished() const { return finished_; }
    int outcome() const { return outcome_; }
    /// Whether the job waits for a question to be asked.
    bool asking() const { return question_.has_value() && !answer_; }
    /// Shows what the job said so far. Called without the run's lock while the job waits
    /// (asking() or finished()), since it adds nothing meanwhile.
    void showTo(JobSinks& sinks);
    const std::string& question() const { return *question_; }
    void answer(bool yes);

private:
    struct Said {
        enum class Kind { Error, ErrorOnce, NoTable, Report } kind;
        std::string text;
        std::string key; // of ErrorOnce
    };

    void say(Said said);

    std::mutex* turn_ = nullptr;
    std::condition_variable* asked_ = nullptr;
    std::condition_variable answered_;
    JobSinks* sinks_ = nullptr; // when what the job says is shown at once
    ProgressLine& progress_;
    Prompts* answers_ = nullptr; // when questions are answered at once
    std::vector<Said> said_;
    std::unique_ptr<SpillBuffer> report_; // the report, held in a Said of kind Report
    bool finished_ = false;
    int outcome_ = 0;
    std::optional<std::string> question_;
    std::optional<bool> answer_;
};

} // namespace stepwell
