#include "ui/dialog_prompts.h"

#include "frame/text/shown_text.h"
#include "ui/override_cursor.h"

#include <QMessageBox>

namespace stepwell {

bool DialogPrompts::askYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Stepwell"),
                    QString::fromStdString(escapeControlBytes(question)),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    // A conversion shows the busy cursor; the user needs the pointer to answer.
    const OverrideCursor pointer(Qt::ArrowCursor);
    return box.exec() == QMessageBox::Yes;
}

void DialogPrompts::showError(const std::string& message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Stepwell"),
                    QString::fromStdString(escapeControlBytes(message)), QMessageBox::Ok, parent_);
    const OverrideCursor pointer(Qt::ArrowCursor);
    box.exec();
}

} // namespace stepwell
