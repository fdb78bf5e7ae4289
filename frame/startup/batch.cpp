// SPDX-License-Identifier: MIT
#include "frame/startup/batch.h"

#include "engine/table_cache.h"
#include "frame/startup/file_jobs.h"
#include "frame/startup/run_size.h"
#include "frame/sys/fd_io.h"
#include "frame/sys/group_commit.h"

#include <memory>

namespace stepwell {
namespace {

bool failed(int outcome) {
    return outcome < 0 || outcome == static_cast<int>(ConvertResult::Failed);
}

} // namespace

int runCommandLine(const std::vector<std::string>& tokens, const ConvertOptions& options,
                   Prompts& prompts, unsigned jobs) {
    TableCache tables(options.tagTables);
    ConvertOptions shared = options;
    shared.tables = &tables;
    const RunSize size = runSizeFor(tokens, jobs, true);
    // Many results wait for the disk together, unless the files that may be open are too few.
    std::unique_ptr<GroupCommit> commits;
    if (size.threads > 0 && size.filesToCommit > 0)
        commits = std::make_unique<GroupCommit>(size.filesToCommit);

    ProgressLine progress(isTerminal(standardErrorFd));
    JobSinks sinks(prompts, nullptr, options.tagTables.noneApplies);
    JobSettings settings{size.threads, size.ahead, true, [&options](const std::string& path) {
                             return options.replace ? path : identPath(path);
                         }};
    bool anyFailed = false;
    const bool allNamed =
        FileJobs(settings, sinks, progress)
            .run(
                tokens,
                [&](const std::string& path, JobOutput& output) {
                    ConvertOptions mine = shared;
                    if (mine.tagTables.noneApplies)
                        mine.tagTables.noneApplies = [&output](const std::string& folder) {
                            output.noteNoTable(folder);
                        };
                    mine.progress = output.readProgress();
                    const auto done = [&output](ConvertResult result) {
                        output.finish(static_cast<int>(result));
                    };
                    if (commits)
                        convertFileInGroup(path, mine, output, *commits, done);
                    else
                        done(convertFile(path, mine, output));
                },
                [&](int outcome) {
                    anyFailed |= failed(outcome);
                    return true;
                });
    return anyFailed || !allNamed ? 1 : 0;
}

} // namespace stepwell
