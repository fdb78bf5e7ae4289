// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

namespace stepwell {

/// A ring around the window's control that has the keyboard focus, drawn over the controls:
/// the focus is plain to see whatever the style draws for it, and no control moves.
class FocusMark : public QWidget {
    Q_OBJECT
public:
    /// A mark for the controls of `window`, its direct children.
    explicit FocusMark(QWidget* window);

    /// The control the ring is around; null when it is hidden.
    QWidget* control() const { return control_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget* focused);
    void place();

    QPointer<QWidget> control_;
};

} // namespace stepwell
