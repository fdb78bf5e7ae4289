// SPDX-License-Identifier: MIT
#include "frame/sys/trusted_files.h"

#include "frame/text/paths.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stepwell {
namespace {

bool trustedOwner(uid_t owner) {
    return owner == ::geteuid() || owner == 0;
}

std::string userName(uid_t user) {
    if (const passwd* entry = ::getpwuid(user))
        return entry->pw_name;
    return "user " + std::to_string(user);
}

// The group of a user of its own, as most systems give every user: named like the user,
// with no one else in it.
bool ownGroup(gid_t group) {
    const std::string me = userName(::geteuid());
    const ::group* entry = ::getgrgid(group);
    if (!entry || me != entry->gr_name)
        return false;
    for (char** member = entry->gr_mem; *member; ++member)
        if (me != *member)
            return false;
    return true;
}

bool othersMayWrite(const struct stat& status) {
    return (status.st_mode & S_IWOTH) || ((status.st_mode & S_IWGRP) && !ownGroup(status.st_gid));
}

} // namespace

std::string whyNotTrusted(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && !trustedOwner(link.st_uid))
        return "is a link of " + userName(link.st_uid) + ", not of you or root";
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0)
        return {};
    if (!trustedOwner(file.st_uid))
        return "belongs to " + userName(file.st_uid) + ", not to you or root";
    if (othersMayWrite(file))
        return "other users may write it";
    const std::string folder = folderPart(path);
    struct stat holder {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &holder) != 0)
        return {};
    if (!trustedOwner(holder.st_uid))
        return "its folder belongs to " + userName(holder.st_uid) + ", not to you or root";
    if (othersMayWrite(holder))
        return "other users may write its folder";
    return {};
}

} // namespace stepwell
