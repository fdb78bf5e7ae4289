// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

class QWidget;

namespace stepwell {

/// Prompts as modal message boxes titled "Stepwell", with Stepwell's icon and a close button
/// as the title bar's only button: a question with Yes (the default) and No, an error with
/// the critical icon and OK. Control bytes in names are shown escaped.
class DialogPrompts : public Prompts {
public:
    explicit DialogPrompts(QWidget* parent = nullptr) : parent_(parent) {}

    bool askYesNo(const std::string& question) override;
    void showError(const std::string& message) override;

private:
    QWidget* parent_;
};

} // namespace stepwell
