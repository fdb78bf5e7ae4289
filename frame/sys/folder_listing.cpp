// SPDX-License-Identifier: MIT
#include "frame/sys/folder_listing.h"

#include "frame/sys/system_error.h"
#include "frame/text/paths.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace stepwell {
namespace {

enum class Kind { File, Folder, Other };

// The entry's kind, from the directory entry where it says, otherwise (links, file systems
// that do not fill d_type) from stat, which follows links. Skipping stat for plain entries
// keeps a folder of 100,000 files quick.
Kind kindOf(const std::string& folder, const dirent& entry, Links links = Links::Follow) {
    if (entry.d_type == DT_REG)
        return Kind::File;
    if (entry.d_type == DT_DIR)
        return Kind::Folder;
    if ((entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) ||
        (entry.d_type == DT_LNK && links == Links::Skip))
        return Kind::Other;
    const std::string path = joinPath(folder, entry.d_name);
    struct stat info {};
    if ((links == Links::Follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0)
        return Kind::Other;
    return S_ISREG(info.st_mode) ? Kind::File : S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
}

std::vector<std::string> listFolder(const std::string& folder,
                                    const std::function<bool(const dirent&)>& keep) {
    const std::string openName = folder.empty() ? "." : folder;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(openName.c_str()), ::closedir);
    if (!dir)
        throw systemError(openName, "cannot read folder", errno);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isHiddenName(entry->d_name) && keep(*entry))
            names.emplace_back(entry->d_name);
        errno = 0;
    }
    if (errno != 0)
        throw systemError(openName, "cannot read folder", errno);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::vector<std::string> listSubfolders(const std::string& folder, Links links) {
    return listFolder(
        folder, [&](const dirent& entry) { return kindOf(folder, entry, links) == Kind::Folder; });
}

std::vector<std::string> listFiles(const std::string& folder,
                                   const std::function<bool(std::string_view)>& keepName) {
    return listFolder(folder, [&](const dirent& entry) {
        return keepName(entry.d_name) && kindOf(folder, entry) == Kind::File;
    });
}

} // namespace stepwell
