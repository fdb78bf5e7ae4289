// SPDX-License-Identifier: MIT
#pragma once

#include "ui/conversion_queue.h"

#include <QLabel>
#include <QString>
#include <string>

class QTimer;

namespace stepwell {

/// A short note below the file list about the running conversion (how far it got, and that
/// Escape stops it) and about how each one ended. It floats beside the window like a
/// tooltip, so that no control moves and no caption changes, and it goes by itself or when
/// clicked.
class ConversionNote : public QLabel {
    Q_OBJECT
public:
    /// A note for `window`, shown below `anchor`, one of its controls.
    ConversionNote(QWidget* window, QWidget* anchor);

    /// Shows that the conversion of `path` has started; showProgress tells how far it got.
    void showStarted(const std::string& path);
    void showProgress(int percent);
    /// Shows `text` for `milliseconds`, then hides.
    void showFor(const QString& text, int milliseconds);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void showText(const QString& text);

    QWidget* anchor_;
    QTimer* hideTimer_;
    QString running_; // the name of the file being converted
};

/// What the window says once `conversion` has ended. `noTagTable` adds that no tag table
/// applied to it; `dropped` (conversions a stop took off the queue) says that those were
/// not made either.
QString outcomeNote(const Conversion& conversion, bool noTagTable, int dropped);

} // namespace stepwell
