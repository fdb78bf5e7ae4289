// SPDX-License-Identifier: MIT
#include "frame/sys/followed_links.h"

#include "frame/sys/system_error.h"
#include "frame/text/paths.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace stepwell {
namespace {

// The most links one path may go through, as the kernel allows.
constexpr int maxLinks = 40;

const char* kindOf(mode_t mode) {
    return S_ISDIR(mode)    ? "a folder"
           : S_ISFIFO(mode) ? "a pipe"
           : S_ISSOCK(mode) ? "a socket"
                            : "a device";
}

// Whether the kernel would let this user follow `link`, a link in `folder`: in a sticky
// folder that everyone may write, only links of this user or of the folder's owner.
bool mayFollow(const struct stat& link, const std::string& folder) {
    struct stat status {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &status) != 0)
        return true; // the write itself will fail and say why
    const bool shared = (status.st_mode & S_ISVTX) && (status.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == status.st_uid;
}

std::string linkText(const std::string& link, const std::string& name) {
    std::vector<char> text(PATH_MAX);
    const ssize_t size = ::readlink(link.c_str(), text.data(), text.size());
    if (size < 0 || static_cast<std::size_t>(size) == text.size())
        throw systemError(name, "cannot read the link", size < 0 ? errno : ENAMETOOLONG);
    return {text.data(), static_cast<std::size_t>(size)};
}

} // namespace

std::string followForWriting(const std::string& path, const std::string& name) {
    std::string at = path;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(at.c_str(), &status) != 0) {
            if (links > 0 && errno == ENOENT)
                return path; // a link that leads nowhere is replaced by the file
            return at;       // the write will fail and say why
        }
        if (!S_ISLNK(status.st_mode)) {
            if (links > 0 && !S_ISREG(status.st_mode))
                throw Error(name + ": is a link to " + kindOf(status.st_mode) + ", not a file");
            return at;
        }
        if (links == maxLinks)
            throw systemError(name, "cannot follow the link", ELOOP);
        const std::string folder = folderPart(at);
        if (!mayFollow(status, folder))
            throw Error(name +
                        ": is a link owned by another user in a shared folder; not followed");
        const std::string text = linkText(at, name);
        at = !text.empty() && text.front() == '/' ? text : folder + text;
    }
}

} // namespace stepwell
