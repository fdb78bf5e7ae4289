// SPDX-License-Identifier: MIT
#include "frame/startup/progress_line.h"

#include "frame/sys/fd_io.h"
#include "frame/text/error.h"

#include <cstdio>

namespace stepwell {
namespace {

using namespace std::chrono_literals;

// A run shorter than this shows no progress at all.
constexpr auto quietFor = 1s;
constexpr auto redrawEvery = 200ms;

// Back to the start of the line, and the line cleared to its end.
constexpr std::string_view clearLine = "\r\x1b[K";

void writeToTerminal(std::string_view text) {
    try {
        writeAll(standardErrorFd, text.data(), text.size(), "standard error");
    } catch (const Error&) {
        // progress that cannot be shown is no failure
    }
}

} // namespace

ProgressLine::ProgressLine(bool onTerminal) : onTerminal_(onTerminal), start_(Clock::now()) {}

ProgressLine::~ProgressLine() {
    erase();
}

void ProgressLine::tick() {
    if (!onTerminal_)
        return;
    const Clock::time_point now = Clock::now();
    if (now - start_ < quietFor || (drawn_ && now - drawnAt_ < redrawEvery))
        return;
    writeToTerminal(std::string(clearLine) + text(now));
    drawn_ = true;
    drawnAt_ = now;
}

void ProgressLine::erase() {
    if (!drawn_)
        return;
    writeToTerminal(clearLine);
    drawn_ = false;
}

std::string ProgressLine::text(Clock::time_point now) const {
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double megabytes = static_cast<double>(bytes_.load(std::memory_order_relaxed)) / 1e6;
    char line[96];
    std::snprintf(line, sizeof line, "stepwell: %zu of %zu files, %.1f MB/s", done_, files_,
                  megabytes / seconds);
    return line;
}

} // namespace stepwell
