#include "files.h"

#include "error.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace stepwell {
namespace {

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool sameChar(char a, char b, bool ignoreCase) {
    return ignoreCase ? upperAscii(a) == upperAscii(b) : a == b;
}

bool isHiddenName(std::string_view name) {
    return !name.empty() && name.front() == '.';
}

} // namespace

bool isOrdinaryFile(const std::string& path) {
    struct stat info {};
    return !isHiddenName(namePart(path)) && ::stat(path.c_str(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool hasWildcards(std::string_view text) {
    return text.find_first_of("*?") != text.npos;
}

bool wildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase) {
    // Greedy matching with one backtrack point: the last '*' seen.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || sameChar(pattern[p], name[n], ignoreCase))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string folderPart(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == path.npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string namePart(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == path.npos ? path : path.substr(slash + 1));
}

std::vector<std::string> findFiles(const std::string& folder, std::string_view namePattern) {
    const std::string openName = folder.empty() ? "." : folder;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(openName.c_str()), ::closedir);
    if (!dir)
        throw systemError(openName, "cannot read folder", errno);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (isHiddenName(name) || !wildcardMatch(namePattern, name))
            continue;
        if (isOrdinaryFile(folder + std::string(name)))
            names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string findFirstFile(const std::string& pathPattern) {
    const std::string folder = folderPart(pathPattern);
    const std::string name = namePart(pathPattern);
    if (name.empty())
        return {};
    if (!hasWildcards(name))
        return isOrdinaryFile(pathPattern) ? name : std::string();
    try {
        const auto names = findFiles(folder, name);
        return names.empty() ? std::string() : names.front();
    } catch (const Error&) {
        return {};
    }
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

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

std::string resolveLinks(const std::string& path) {
    std::unique_ptr<char, void (*)(void*)> resolved(::realpath(path.c_str(), nullptr), std::free);
    return resolved ? std::string(resolved.get()) : path;
}

} // namespace stepwell
