// SPDX-License-Identifier: MIT
#include "frame/startup/check.h"

#include "engine/compare.h"
#include "engine/core/convert_lines.h"
#include "engine/failure.h"
#include "engine/table_cache.h"
#include "frame/startup/file_jobs.h"
#include "frame/startup/report.h"
#include "frame/startup/run_size.h"
#include "frame/sys/fd_io.h"
#include "frame/sys/system_error.h"
#include "frame/text/paths.h"
#include "frame/text/shown_text.h"

#include <cerrno>
#include <memory>
#include <ostream>

namespace stepwell {
namespace {

enum class Outcome { Same, Changed, Unknown };

// The matcher of the file's table, which the run reads once however many files use it. A
// table that cannot be read is reported once; the files that use it are not checked (null).
std::shared_ptr<const TagMatcher> matcherFor(const std::string& path, TableCache& tables,
                                             JobOutput& output) {
    const std::string folder = folderPart(path);
    const std::string table = tables.find(folder);
    if (table.empty())
        output.noteNoTable(folder);
    try {
        return tables.matcher(table);
    } catch (const Error& error) {
        output.showErrorOnce(table, std::string(error.what()) + "; no file was checked with it");
        return nullptr;
    }
}

// Errors after the report so far, so that where both go to one file, or one terminal, every
// line stands where it happened.
class AfterTheReport : public Prompts {
public:
    AfterTheReport(Prompts& prompts, Report& report) : prompts_(prompts), report_(report) {}
    bool askYesNo(const std::string& question) override {
        report_.flush();
        return prompts_.askYesNo(question);
    }
    void showError(const std::string& message) override {
        report_.flush();
        prompts_.showError(message);
    }

private:
    Prompts& prompts_;
    Report& report_;
};

Outcome checkFile(const std::string& path, TableCache& tables, ReportKind kind, JobOutput& output) {
    try {
        const std::shared_ptr<const TagMatcher> matcher = matcherFor(path, tables, output);
        if (!matcher)
            return Outcome::Unknown;
        InputFile input(path);
        if (kind == ReportKind::Names) {
            if (!wouldChange(input, *matcher, output.readProgress()))
                return Outcome::Same;
            output.report(escapeControlBytes(path) + "\n"); // one name a line
            return Outcome::Changed;
        }
        const auto [oldName, newName] = diffNamesOf(path);
        const auto write = [&output](std::string_view text) { output.report(text); };
        return diffOf(input, *matcher, oldName, newName, write, output.readProgress())
                   ? Outcome::Changed
                   : Outcome::Same;
    } catch (...) {
        showCurrentFailure(path, output);
        return Outcome::Unknown;
    }
}

} // namespace

int runCheck(const std::vector<std::string>& tokens, const TagTablePlaces& places,
             std::ostream& out, Prompts& prompts, ReportKind kind, unsigned jobs) {
    TableCache tables(places);
    Report report(out);
    bool changed = false;
    bool unknown = false;
    bool listed = true;
    const RunSize size = runSizeFor(tokens, jobs, false);
    ProgressLine progress(isTerminal(standardErrorFd));
    AfterTheReport errors(prompts, report);
    // No table is said once a run (the run's noneApplies says it once).
    JobSinks sinks(
        errors, [&report](std::string_view text) { report.write(text); },
        [&places, told = false](const std::string& folder) mutable {
            if (!told && places.noneApplies)
                places.noneApplies(folder);
            told = true;
        });
    JobSettings settings;
    settings.threads = size.threads;
    settings.ahead = size.ahead;
    const bool allNamed =
        FileJobs(settings, sinks, progress)
            .run(
                tokens,
                [&](const std::string& path, JobOutput& output) {
                    output.finish(static_cast<int>(checkFile(path, tables, kind, output)));
                },
                [&](int outcome) {
                    // A report that cannot reach its reader leaves no answer sure: the
                    // check stops.
                    listed = report.intact(prompts);
                    changed |= outcome == static_cast<int>(Outcome::Changed);
                    unknown |= outcome != static_cast<int>(Outcome::Changed) &&
                               outcome != static_cast<int>(Outcome::Same);
                    return listed;
                });
    listed = listed && report.delivered(prompts) && !sinks.reportLost;
    return unknown || !allNamed || !listed ? 2 : changed ? 1 : 0;
}

int runDiffOfInput(const TagTablePlaces& places, std::ostream& out, Prompts& prompts,
                   const std::string& inputName) {
    InputFile input = InputFile::standardInput(inputName);
    Report report(out);
    bool changed = false;
    try {
        const TagTable table = loadTagTable(places, folderPart(inputName));
        const auto [oldName, newName] = inputName.empty()
                                            ? std::pair<std::string, std::string>("-", "-")
                                            : diffNamesOf(inputName);
        const auto write = [&report](std::string_view text) { report.write(text); };
        changed = diffOf(input, TagMatcher(table), oldName, newName, write);
    } catch (...) {
        showCurrentFailure(input.path(), prompts);
        return 2;
    }
    if (!report.delivered(prompts))
        return 2;
    return changed ? 1 : 0;
}

} // namespace stepwell
