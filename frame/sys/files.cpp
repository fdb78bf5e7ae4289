// SPDX-License-Identifier: MIT
#include "frame/sys/files.h"

#include "frame/sys/system_error.h"
#include "frame/text/paths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace stepwell {

bool isOrdinaryFile(const std::string& path) {
    struct stat info {};
    return !isHiddenName(namePart(path)) && ::stat(path.c_str(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string fileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

bool isPresent(const std::string& path, const std::string& doing) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    throw systemError(path, doing, errno);
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry ? entry->pw_dir : "";
}

void makeFolders(const std::string& folder) {
    if (folder.empty() || pathExists(folder))
        return;
    std::string parent =
        folderPart(folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder);
    if (parent.size() > 1)
        parent.pop_back();
    makeFolders(parent);
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        throw systemError(folder, "cannot create folder", errno);
}

std::string currentDirectory() {
    std::unique_ptr<char, void (*)(void*)> path(::getcwd(nullptr, 0), std::free);
    if (!path)
        throw systemError(".", "cannot find the current folder", errno);
    return path.get();
}

void changeDirectory(const std::string& folder) {
    if (::chdir(folder.c_str()) != 0)
        throw systemError(folder, "cannot open folder", errno);
}

std::string programDirectory() {
    std::string folder = folderPart(resolveLinks("/proc/self/exe"));
    if (folder.size() > 1)
        folder.pop_back();
    return folder;
}

void requireWritable(const std::string& path, const std::string& name, const std::string& doing) {
    // The effective user decides, as it does for the rename.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0)
        return;
    if (errno == EACCES)
        throw Error(name + ": " + doing + ": permission denied");
    throw systemError(name, doing, errno);
}

std::string resolveLinks(const std::string& path) {
    std::unique_ptr<char, void (*)(void*)> resolved(::realpath(path.c_str(), nullptr), std::free);
    return resolved ? std::string(resolved.get()) : path;
}

} // namespace stepwell
