// SPDX-License-Identifier: MIT
#include "frame/startup/job_output.h"

#include "frame/text/error.h"

namespace stepwell {
namespace {

// A job's report is held in memory up to this size, beyond in a temporary file: a diff of a
// large file waits for its turn without taking its size in memory.
constexpr std::size_t reportInMemory = 256 * 1024;

} // namespace

bool JobOutput::askYesNo(const std::string& question) {
    if (sinks_) {
        progress_.erase();
        return sinks_->prompts.askYesNo(question);
    }
    if (answers_)
        return answers_->askYesNo(question);
    std::unique_lock lock(*turn_);
    question_ = question;
    answer_.reset();
    asked_->notify_all();
    answered_.wait(lock, [this] { return answer_.has_value(); });
    const bool yes = *answer_;
    question_.reset();
    answer_.reset();
    return yes;
}

void JobOutput::answer(bool yes) {
    {
        const std::lock_guard lock(*turn_);
        answer_ = yes;
    }
    answered_.notify_all();
}

void JobOutput::showError(const std::string& message) {
    say({Said::Kind::Error, message, {}});
}

void JobOutput::showErrorOnce(const std::string& key, const std::string& message) {
    say({Said::Kind::ErrorOnce, message, key});
}

void JobOutput::noteNoTable(const std::string& folder) {
    say({Said::Kind::NoTable, folder, {}});
}

void JobOutput::report(std::string_view text) {
    if (sinks_) {
        progress_.erase();
        sinks_->report(text);
        return;
    }
    if (!report_) {
        report_ = std::make_unique<SpillBuffer>(reportInMemory);
        said_.push_back({Said::Kind::Report, {}, {}});
    }
    report_->write(text);
}

void JobOutput::say(Said said) {
    said_.push_back(std::move(said));
    if (sinks_)
        showTo(*sinks_);
}

void JobOutput::finish(int outcome) {
    if (sinks_) {
        outcome_ = outcome;
        finished_ = true;
        return;
    }
    const std::lock_guard lock(*turn_);
    outcome_ = outcome;
    finished_ = true;
}

ReadProgress JobOutput::readProgress() {
    return [this, before = std::uint64_t{0}](std::uint64_t read, std::uint64_t) mutable {
        progress_.read(read - before);
        before = read;
        if (sinks_) // this thread draws the line
            progress_.tick();
    };
}

void JobOutput::showTo(JobSinks& sinks) {
    if (!said_.empty())
        progress_.erase();
    for (const Said& said : said_) {
        switch (said.kind) {
        case Said::Kind::Error:
            sinks.prompts.showError(said.text);
            break;
        case Said::Kind::ErrorOnce:
            if (sinks.shownOnce.insert(said.key).second)
                sinks.prompts.showError(said.text);
            break;
        case Said::Kind::NoTable:
            if (sinks.noTable)
                sinks.noTable(said.text);
            break;
        case Said::Kind::Report:
            try {
                report_->readBack(sinks.report);
            } catch (const Error& error) {
                sinks.prompts.showError(error.what());
                sinks.reportLost = true;
            }
            break;
        }
    }
    said_.clear();
    report_.reset();
}

} // namespace stepwell
