// SPDX-License-Identifier: MIT
// Files dropped on the window, the folder list, the file list or the pattern box are
// converted one after another; the other controls refuse drops.
#include "ui/main_window.h"

#include "frame/prompts/prompts.h"
#include "ui/conversion_queue.h"
#include "ui/drive_list.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

namespace stepwell {
namespace {

bool offersFiles(const QMimeData* data) {
    return data && data->hasUrls();
}

} // namespace

void MainWindow::setUpDrops() {
    setAcceptDrops(true);
    // The item views receive drags in their viewports. The controls that are no drop
    // targets take drags too, only to refuse them (see filterDrag).
    for (QWidget* control : {Dir1->viewport(), File1->viewport(), static_cast<QWidget*>(txtEXT),
                             static_cast<QWidget*>(Drive1), static_cast<QWidget*>(cmdCVT),
                             static_cast<QWidget*>(Check1)}) {
        control->setAcceptDrops(true);
        control->installEventFilter(this);
    }
}

bool MainWindow::filterDrag(QObject* watched, QEvent* event) {
    const bool isTarget =
        watched == Dir1->viewport() || watched == File1->viewport() || watched == txtEXT;
    if (!isTarget) {
        // A drag-enter nobody takes goes on to the parent, the window, which would welcome
        // the files. Taking the enter and refusing every move keeps the drop off this control.
        if (event->type() == QEvent::DragEnter)
            static_cast<QDragEnterEvent*>(event)->accept();
        else
            event->ignore();
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)
            static_cast<QDragMoveEvent*>(event)->setDropAction(Qt::IgnoreAction);
        return true;
    }
    // The controls' own drop handling (text into the pattern box, items in the lists) never
    // runs: every drag goes to the window's two handlers.
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        dragOverFiles(static_cast<QDragMoveEvent*>(event));
        break;
    case QEvent::Drop:
        dropFiles(static_cast<QDropEvent*>(event));
        break;
    default:
        break;
    }
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    dragOverFiles(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    dragOverFiles(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    dropFiles(event);
}

void MainWindow::dragOverFiles(QDragMoveEvent* event) {
    // While a question is open, the window waits for its answer; a drop at another time
    // waits its turn behind the conversions asked for before.
    if (offersFiles(event->mimeData()) && !conversions_->asking() &&
        (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    }
}

void MainWindow::dropFiles(QDropEvent* event) {
    if (!offersFiles(event->mimeData()) || conversions_->asking()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The list is taken once, now; the conversions run on their own thread, so the program
    // the files came from is not kept waiting while questions are open. An item that is no
    // local file is reported in its turn.
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            convert(QFile::encodeName(url.toLocalFile()).toStdString());
        else
            conversions_->addError(url.toDisplayString().toStdString() + ": not a local file");
    }
}

} // namespace stepwell
