// SPDX-License-Identifier: MIT
#include "ui/focus_mark.h"

#include <QApplication>
#include <QPainter>

namespace stepwell {
namespace {

constexpr int ringWidth = 2;

} // namespace

FocusMark::FocusMark(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("focusMark"));
    // Clicks and drops go to the control below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* focused) { follow(focused); });
}

void FocusMark::follow(QWidget* focused) {
    // The focus may rest on a part of a control (the edit field of a combo box): the ring
    // goes around the control itself, the window's child that holds it.
    QWidget* control = focused;
    while (control && control->parentWidget() != parentWidget())
        control = control->parentWidget();
    if (control_)
        control_->removeEventFilter(this);
    control_ = control == this ? nullptr : control;
    if (!control_) {
        hide();
        return;
    }
    control_->installEventFilter(this);
    place();
}

void FocusMark::place() {
    const QWidget* control = control_.data();
    if (!control || !control->isVisible()) {
        hide();
        return;
    }
    setGeometry(control->geometry());
    show();
    raise();
    update();
}

bool FocusMark::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                                event->type() == QEvent::Show || event->type() == QEvent::Hide))
        place();
    return QWidget::eventFilter(watched, event);
}

void FocusMark::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Active, QPalette::Highlight), ringWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(rect()).adjusted(ringWidth / 2.0, ringWidth / 2.0, -ringWidth / 2.0,
                                             -ringWidth / 2.0));
}

} // namespace stepwell
