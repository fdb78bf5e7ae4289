// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

#include <iosfwd>
#include <string_view>

namespace stepwell {

/// A report on standard output (a check's list, a diff, an explanation, a learned table). A
/// write that fails is remembered with its reason, which a later flush or call would no
/// longer tell, and the report stops there; delivered() says so, once.
class Report {
public:
    explicit Report(std::ostream& out) : out_(out) {}

    void write(std::string_view text);

    /// Writes out what the stream holds back.
    void flush();

    /// Flushes the report; false, with the error shown through `prompts`, when it did not
    /// reach its reader.
    bool delivered(Prompts& prompts);

    /// False, with the error shown through `prompts`, when a write has failed so far.
    bool intact(Prompts& prompts);

private:
    std::ostream& out_;
    int failure_ = 0; // the errno of the first failed write, -1 when it gave none
    bool shown_ = false;
};

} // namespace stepwell
