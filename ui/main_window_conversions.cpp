// SPDX-License-Identifier: MIT
// Conversions run one after another on a thread of their own, so that the window answers
// while a big file converts: a note below the file list tells how far the running one got
// and how each ended, and Escape or closing the window stops it.
#include "ui/main_window.h"

#include "ui/conversion_note.h"
#include "ui/conversion_queue.h"
#include "ui/file_list.h"

#include <QCloseEvent>
#include <QShortcut>
#include <QTimer>

namespace stepwell {
namespace {

// How long a note stays: long enough to read, short enough not to linger over what lies
// below the window. One that also says that no tag table applied has more to read.
constexpr int noteTime = 4000;
constexpr int longNoteTime = 8000;
// How long a window closed during a conversion stays to say that it stopped.
constexpr int stoppedBeforeClosingTime = 1500;

} // namespace

void MainWindow::setUpConversions() {
    conversions_ = std::make_unique<ConversionQueue>(*prompts_);
    note_ = new ConversionNote(this, File1);
    stopKey_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    stopKey_->setEnabled(false); // Escape does nothing else while nothing converts
    connect(stopKey_, &QShortcut::activated, this, &MainWindow::stopConversions);
    connect(conversions_.get(), &ConversionQueue::busyChanged, this, &MainWindow::conversionsBusy);
    connect(conversions_.get(), &ConversionQueue::started, note_, &ConversionNote::showStarted);
    connect(conversions_.get(), &ConversionQueue::progressed, note_, &ConversionNote::showProgress);
    connect(conversions_.get(), &ConversionQueue::finished, this, &MainWindow::conversionFinished);
}

bool MainWindow::converting() const {
    return conversions_->busy();
}

void MainWindow::convert(const std::string& path) {
    // The replace setting as the check box shows it now, when the user asked.
    conversions_->add(path, {places_.tagTables(), replacesFiles(replaceSetting())});
}

void MainWindow::conversionsBusy(bool busy) {
    stopKey_->setEnabled(busy);
    if (busy) {
        busyCursor_.emplace(Qt::BusyCursor); // busy, but still answering
        return;
    }
    busyCursor_.reset();
    if (dropped_ > 0) { // a stop between two conversions: nothing ran to say so
        note_->showFor(QStringLiteral("待っていた %1 件の変換を取りやめました").arg(dropped_),
                       noteTime);
        dropped_ = 0;
    }
    if (closeWhenStopped_)
        QTimer::singleShot(stoppedBeforeClosingTime, this, &QWidget::close);
}

void MainWindow::conversionFinished(const Conversion& conversion) {
    const bool tellNoTable = !conversion.tagTableFound && !tagTableMissingTold_;
    tagTableMissingTold_ |= tellNoTable;
    note_->showFor(outcomeNote(conversion, tellNoTable, dropped_),
                   tellNoTable ? longNoteTime : noteTime);
    dropped_ = 0;
}

void MainWindow::stopConversions() {
    dropped_ += conversions_->stop();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!conversions_->busy()) {
        QWidget::closeEvent(event);
        return;
    }
    // A conversion is stopped first, its temporary file removed; the window goes once it
    // has stopped and said so.
    closeWhenStopped_ = true;
    stopConversions();
    event->ignore();
}

void MainWindow::hideEvent(QHideEvent* event) {
    note_->hide();
    QWidget::hideEvent(event);
}

} // namespace stepwell
