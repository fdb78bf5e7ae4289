// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell {

/// The two questions a conversion may put to the user. A window shows dialogs, a
/// terminal run asks on stderr/stdin, and tests answer from a script.
class Prompts {
public:
    virtual ~Prompts() = default;
    /// Asks a Yes/No question; Yes is the default answer.
    virtual bool askYesNo(const std::string& question) = 0;
    /// Tells the user that something failed.
    virtual void showError(const std::string& message) = 0;
    /// Whether askYesNo() answers without asking anyone or showing anything, on any thread,
    /// so that a question need not wait for its turn.
    virtual bool answersAtOnce() const { return false; }
};

} // namespace stepwell
