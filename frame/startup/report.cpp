// SPDX-License-Identifier: MIT
#include "frame/startup/report.h"

#include "frame/sys/system_error.h"

#include <cerrno>
#include <ostream>
#include <string>

namespace stepwell {

void Report::write(std::string_view text) {
    if (failure_)
        return;
    errno = 0;
    out_ << text;
    if (!out_)
        failure_ = errno ? errno : -1;
}

void Report::flush() {
    if (failure_)
        return;
    errno = 0;
    out_.flush();
    if (!out_)
        failure_ = errno ? errno : -1;
}

bool Report::delivered(Prompts& prompts) {
    flush();
    return intact(prompts);
}

bool Report::intact(Prompts& prompts) {
    if (!failure_)
        return true;
    if (!shown_)
        prompts.showError("standard output: cannot write" +
                          (failure_ > 0 ? ": " + systemMessage(failure_) : std::string()));
    shown_ = true;
    return false;
}

} // namespace stepwell
