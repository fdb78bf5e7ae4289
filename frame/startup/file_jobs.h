// SPDX-License-Identifier: MIT
#pragma once

#include "frame/startup/job_output.h"
#include "frame/startup/progress_line.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace stepwell {

/// How a run over many files shares out its work.
struct JobSettings {
    /// Threads that do the jobs; 0 for none: the calling thread does each job, which must
    /// finish before it returns, and what it says is shown at once.
    unsigned threads = 1;
    /// Jobs not yet shown at most, beyond which no more are started.
    std::size_t ahead = 64;
    /// The jobs write files: a token with wildcards is expanded only once the files before it
    /// are done (it may match what they wrote), and a job waits for an earlier job that
    /// reads or writes one of its files (`writes` names the file a job writes besides its
    /// input, "" for none).
    bool writesFiles = false;
    std::function<std::string(const std::string& path)> writes;
};

/// Runs a job for each file the tokens name (see forEachNamedFile), on several threads, and
/// shows what the jobs tell the user in the order of the files, as if they had run one after
/// another: the report, the errors, and the questions, each asked in its turn on the calling
/// thread. A token that names no file is reported in its place.
class FileJobs {
public:
    /// Does the job of the file at `path`, telling `output`, and calls output.finish() then or
    /// later, on any thread. Called on the run's threads.
    using Work = std::function<void(const std::string& path, JobOutput& output)>;
    /// Told, on the calling thread, the outcome of each job once what it said has been
    /// shown, in order; false stops the run: no later job is started or shown.
    using Shown = std::function<bool(int outcome)>;

    FileJobs(JobSettings settings, JobSinks& sinks, ProgressLine& progress);

    /// Runs the jobs; returns false when a token named no file.
    bool run(const std::vector<std::string>& tokens, const Work& work, const Shown& shown);

private:
    JobSettings settings_;
    JobSinks& sinks_;
    ProgressLine& progress_;
};

} // namespace stepwell
