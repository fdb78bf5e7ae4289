// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

#include <functional>
#include <memory>

namespace stepwell {

/// Prompts that are made when the first question or error comes, so that a run that asks
/// nothing never pays for them (loading the window module, starting the toolkit).
class LazyPrompts : public Prompts {
public:
    using Factory = std::function<std::unique_ptr<Prompts>()>;
    explicit LazyPrompts(Factory make) : make_(std::move(make)) {}

    bool askYesNo(const std::string& question) override { return prompts().askYesNo(question); }
    void showError(const std::string& message) override { prompts().showError(message); }

private:
    Prompts& prompts() {
        if (!prompts_)
            prompts_ = make_();
        return *prompts_;
    }

    Factory make_;
    std::unique_ptr<Prompts> prompts_;
};

} // namespace stepwell
