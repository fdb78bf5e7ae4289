// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

#include <iosfwd>

namespace stepwell {

/// Prompts for a run without a display: questions on the error stream followed by
/// " [Y/n] ", answers read a line at a time from the input stream.
class TerminalPrompts : public Prompts {
public:
    TerminalPrompts(std::istream& answers, std::ostream& messages);

    /// Empty, "y" or "yes" (any case) is Yes; "n" or "no" is No; anything else asks
    /// again; the end of the input is No. Control bytes in the question are shown escaped.
    bool askYesNo(const std::string& question) override;
    /// Writes one line: "stepwell: " and the message, its control bytes escaped.
    void showError(const std::string& message) override;

private:
    std::istream& answers_;
    std::ostream& messages_;
};

} // namespace stepwell
