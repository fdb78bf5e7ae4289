// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace stepwell::test {

/// Prompts answered from a script, recording every question and error shown.
class ScriptedPrompts : public Prompts {
public:
    explicit ScriptedPrompts(std::deque<bool> answers = {}) : answers_(std::move(answers)) {}

    bool askYesNo(const std::string& question) override {
        questions.push_back(question);
        if (answers_.empty())
            throw std::logic_error("unexpected question: " + question);
        const bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void showError(const std::string& message) override { errors.push_back(message); }

    std::vector<std::string> questions;
    std::vector<std::string> errors;

private:
    std::deque<bool> answers_;
};

} // namespace stepwell::test
