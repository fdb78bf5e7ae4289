// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

namespace stepwell {

/// Prompts that answer every question Yes without asking, for scripts (--yes); errors still
/// go to `errors`.
class YesPrompts : public Prompts {
public:
    explicit YesPrompts(Prompts& errors) : errors_(errors) {}
    bool askYesNo(const std::string&) override { return true; }
    void showError(const std::string& message) override { errors_.showError(message); }
    bool answersAtOnce() const override { return true; }

private:
    Prompts& errors_;
};

} // namespace stepwell
