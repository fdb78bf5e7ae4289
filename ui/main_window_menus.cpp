// SPDX-License-Identifier: MIT
// The context menus that store the default folder and the default replace setting in the
// settings file, for the next start; the running window is not changed.
#include "ui/main_window.h"

#include "frame/prompts/prompts.h"
#include "frame/startup/settings_store.h"
#include "frame/text/error.h"
#include "ui/folder_list.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMouseEvent>

namespace stepwell {

void MainWindow::setUpMenus() {
    dirRightClick = new QMenu(QStringLiteral("dir右"), this);
    dirRightClick->setObjectName(QStringLiteral("dirRightClick"));
    setDefaultDir = dirRightClick->addAction(QStringLiteral("デフォルトフォルダにする"));
    setDefaultDir->setObjectName(QStringLiteral("setDefaultDir"));
    connect(setDefaultDir, &QAction::triggered, this, &MainWindow::storeDefaultFolderSetting);

    chkRightClick = new QMenu(QStringLiteral("chk右"), this);
    chkRightClick->setObjectName(QStringLiteral("chkRightClick"));
    setDefaultChk = chkRightClick->addAction(QStringLiteral("デフォルト設定にする"));
    setDefaultChk->setObjectName(QStringLiteral("setDefaultChk"));
    connect(setDefaultChk, &QAction::triggered, this, &MainWindow::storeDefaultReplace);

    // Dir1's clicks arrive in its viewport. (Installing the filter again is harmless.)
    Dir1->viewport()->installEventFilter(this);
    Check1->installEventFilter(this);
}

bool MainWindow::filterRightPress(QObject* watched, QMouseEvent* event) {
    if (event->button() != Qt::RightButton)
        return false;
    if (watched == Dir1->viewport()) {
        // The menu offers the folder under the pointer, so highlight it first.
        if (QTreeWidgetItem* item = Dir1->itemAt(event->position().toPoint()))
            Dir1->setCurrentItem(item);
        dirRightClick->popup(event->globalPosition().toPoint());
        return true;
    }
    if (watched == Check1) {
        chkRightClick->popup(event->globalPosition().toPoint());
        return true;
    }
    return false;
}

void MainWindow::storeDefaultFolderSetting() {
    try {
        storeDefaultFolder(places_.settingsFile(), Dir1->highlightedPath());
    } catch (const Error& error) {
        prompts_->showError(error.what());
    }
}

void MainWindow::storeDefaultReplace() {
    try {
        storeDefaultReplaceSetting(places_.settingsFile(), replaceSetting());
    } catch (const Error& error) {
        prompts_->showError(error.what());
    }
}

} // namespace stepwell
