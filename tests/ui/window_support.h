// SPDX-License-Identifier: MIT
#pragma once

// What the window tests share: real files, start-up as the program does it, folder entries.

#include "frame/startup/settings.h"
#include "frame/startup/startup.h"
#include "frame/sys/files.h"
#include "ui/drive_list.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"
#include "ui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <fstream>
#include <sstream>
#include <string>

namespace stepwell::test {

inline void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

/// What start-up gives the window for a portable copy in `programDir`, as the real program
/// does it.
inline StartupState startUpFrom(const std::string& programDir) {
    StartupState state;
    state.places.programDir = programDir;
    state.places.portable = true;
    state.startDirectory = currentDirectory();
    const Settings settings = readSettings(state.places.settingsFile());
    state.defaultFolder = settings.defaultFolder;
    state.replaceSetting = settings.replaceSetting;
    applyDefaultFolder(state);
    return state;
}

/// The child of `window` named `name`; ends the test run when there is none of that type.
template <typename Child> Child* child(const QObject& window, const char* name) {
    Child* found = window.findChild<Child*>(QString::fromLatin1(name));
    if (!found)
        qFatal("the window has no %s named %s", Child::staticMetaObject.className(), name);
    return found;
}

/// The window's controls and context menus, found by their object names as a user's tools
/// (and these tests) see them.
struct Controls {
    explicit Controls(const MainWindow& window)
        : Drive1(child<DriveList>(window, "Drive1")), Dir1(child<FolderList>(window, "Dir1")),
          File1(child<FileList>(window, "File1")), cmdCVT(child<QPushButton>(window, "cmdCVT")),
          txtEXT(child<QLineEdit>(window, "txtEXT")), Check1(child<QCheckBox>(window, "Check1")),
          Label1(child<QLabel>(window, "Label1")),
          dirRightClick(child<QMenu>(window, "dirRightClick")),
          setDefaultDir(child<QAction>(window, "setDefaultDir")),
          chkRightClick(child<QMenu>(window, "chkRightClick")),
          setDefaultChk(child<QAction>(window, "setDefaultChk")) {}

    DriveList* Drive1;
    FolderList* Dir1;
    FileList* File1;
    QPushButton* cmdCVT;
    QLineEdit* txtEXT;
    QCheckBox* Check1;
    QLabel* Label1;
    QMenu* dirRightClick;
    QAction* setDefaultDir;
    QMenu* chkRightClick;
    QAction* setDefaultChk;
};

/// Waits until `window` has no conversion running or waiting; false when that takes more
/// than ten seconds.
inline bool conversionsEnd(const MainWindow& window) {
    return QTest::qWaitFor([&window] { return !window.converting(); }, 10000);
}

/// The folder list's entry for `path`, or null.
inline QTreeWidgetItem* folderItem(FolderList* list, const std::string& path) {
    for (QTreeWidgetItemIterator it(list); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toByteArray().toStdString() == path)
            return *it;
    return nullptr;
}

} // namespace stepwell::test
