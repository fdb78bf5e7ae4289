#pragma once

// What the window tests share: real files, start-up as the program does it, folder entries.

#include "frame/settings.h"
#include "frame/startup.h"
#include "frame/sys/files.h"
#include "ui/folder_list.h"

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

/// The folder list's entry for `path`, or null.
inline QTreeWidgetItem* folderItem(FolderList* list, const std::string& path) {
    for (QTreeWidgetItemIterator it(list); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toByteArray().toStdString() == path)
            return *it;
    return nullptr;
}

} // namespace stepwell::test
