// SPDX-License-Identifier: MIT
#include "ui/dialog_prompts.h"

#include "frame/text/shown_text.h"
#include "ui/override_cursor.h"
#include "ui/stepwell_icon.h"

#include <QMessageBox>

namespace stepwell {
namespace {

// Stepwell's icon, also without a parent window to take it from (a command-line run), and a
// title bar asking for the close button only: a message box has nothing to minimise or
// maximise.
void dressAsStepwell(QMessageBox& box) {
    box.setWindowIcon(stepwellIcon());
    box.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                       Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

} // namespace

bool DialogPrompts::askYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Stepwell"),
                    QString::fromStdString(escapeControlBytes(question)),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    dressAsStepwell(box);
    box.setDefaultButton(QMessageBox::Yes);
    // A conversion shows the busy cursor; the user needs the pointer to answer.
    const OverrideCursor pointer(Qt::ArrowCursor);
    return box.exec() == QMessageBox::Yes;
}

void DialogPrompts::showError(const std::string& message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Stepwell"),
                    QString::fromStdString(escapeControlBytes(message)), QMessageBox::Ok, parent_);
    dressAsStepwell(box);
    const OverrideCursor pointer(Qt::ArrowCursor);
    box.exec();
}

} // namespace stepwell
