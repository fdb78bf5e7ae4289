// SPDX-License-Identifier: MIT
#include "ui/conversion_note.h"

#include "frame/text/paths.h"
#include "frame/text/shown_text.h"

#include <QFile>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

namespace stepwell {
namespace {

// A file's name as the note shows it: a line break or another control byte in it is
// written as an escape, so that it cannot split or disguise the note.
QString nameOf(const std::string& path) {
    return QFile::decodeName(escapeControlBytes(namePart(path)).c_str());
}

QString resultNote(const Conversion& conversion) {
    const QString name = nameOf(conversion.path);
    switch (conversion.result) {
    case ConvertResult::Converted:
        return conversion.replace
                   ? QStringLiteral("%1 を置換しました").arg(name)
                   : QStringLiteral("%1 に書き出しました").arg(nameOf(identPath(conversion.path)));
    case ConvertResult::Unchanged:
        return QStringLiteral("%1 は変更の必要がなく、そのままです").arg(name);
    case ConvertResult::Declined:
        return QStringLiteral("%1 は変換しませんでした").arg(name);
    case ConvertResult::Stopped:
        return QStringLiteral("%1 の変換を中止しました\n元のファイルはそのままです").arg(name);
    case ConvertResult::Failed:
        break;
    }
    return QStringLiteral("%1 を変換できませんでした").arg(name);
}

} // namespace

ConversionNote::ConversionNote(QWidget* window, QWidget* anchor)
    : QLabel(window, Qt::ToolTip), anchor_(anchor), hideTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("conversionNote"));
    // Dressed as a tooltip, and no reason for the program to go on once the window is shut.
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setTextFormat(Qt::PlainText); // a name that looks like markup is shown as it is
    setMargin(2);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_ShowWithoutActivating);
    hideTimer_->setSingleShot(true);
    connect(hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void ConversionNote::showStarted(const std::string& path) {
    running_ = nameOf(path);
    showProgress(0);
}

void ConversionNote::showProgress(int percent) {
    hideTimer_->stop();
    showText(QStringLiteral("%1 を変換中… %2%　Esc で中止").arg(running_).arg(percent));
}

void ConversionNote::showFor(const QString& text, int milliseconds) {
    showText(text);
    hideTimer_->start(milliseconds);
}

void ConversionNote::showText(const QString& text) {
    setText(text);
    adjustSize();
    // Just below the window, under the anchor's left edge, where it covers none of the
    // window's controls; over the anchor's foot when the screen ends there.
    const QWidget* window = anchor_->window();
    QPoint at(anchor_->mapToGlobal(QPoint(0, 0)).x(), window->frameGeometry().bottom() + 1);
    if (const QScreen* screen = window->screen();
        screen && at.y() + height() > screen->availableGeometry().bottom())
        at.setY(anchor_->mapToGlobal(QPoint(0, anchor_->height())).y() - height());
    move(at);
    show();
    raise();
}

void ConversionNote::mousePressEvent(QMouseEvent*) {
    hide(); // out of the way at once
}

QString outcomeNote(const Conversion& conversion, bool noTagTable, int dropped) {
    QString note = resultNote(conversion);
    if (dropped > 0)
        note += QStringLiteral("\n待っていた %1 件の変換も取りやめました").arg(dropped);
    if (noTagTable)
        note += QStringLiteral("\n適用されるタグ表がないため、行頭の空白を取り除いただけです");
    return note;
}

} // namespace stepwell
