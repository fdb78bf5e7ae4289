// SPDX-License-Identifier: MIT
#pragma once

#include "engine/convert.h"
#include "frame/prompts/prompts.h"

#include <string>
#include <vector>

namespace stepwell {

/// Converts the files the tokens name (see expandToken), one after another; a failed token
/// does not stop the rest. Returns the exit status: 0 when every file converted or was
/// declined, 1 when any failed.
int runCommandLine(const std::vector<std::string>& tokens, const ConvertOptions& options,
                   Prompts& prompts);

/// Prompts that answer every question Yes without asking, for scripts (--yes); errors still
/// go to `errors`.
class YesPrompts : public Prompts {
public:
    explicit YesPrompts(Prompts& errors) : errors_(errors) {}
    bool askYesNo(const std::string&) override { return true; }
    void showError(const std::string& message) override { errors_.showError(message); }

private:
    Prompts& errors_;
};

} // namespace stepwell
