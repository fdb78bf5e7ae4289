// SPDX-License-Identifier: MIT
#include "frame/startup/file_names.h"

#include "frame/sys/files.h"
#include "frame/sys/folder_listing.h"
#include "frame/text/paths.h"
#include "frame/text/wildcards.h"

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

namespace stepwell {
namespace {

constexpr std::string_view anyFolders = "**";

// The parts of a folder text between its '/'s ("a//b/" gives "a", "", "b").
std::vector<std::string> componentsOf(std::string_view folder) {
    std::vector<std::string> components;
    while (!folder.empty()) {
        const std::size_t slash = folder.find('/');
        components.emplace_back(folder.substr(0, slash));
        folder.remove_prefix(slash == std::string_view::npos ? folder.size() : slash + 1);
    }
    return components;
}

// Name order of whole paths: folder by folder, so that "a/b" comes before "a-b".
bool inNameOrder(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x == '/' ? '\0' : x) <
               static_cast<unsigned char>(y == '/' ? '\0' : y);
    });
}

// Walks the folder components from `next` on below `base` (a folder text ending in '/', or
// ""), adding the files whose names match `name`.
class Walk {
public:
    Walk(std::vector<std::string> components, std::string name,
         const std::function<void(const Error&)>& skipped)
        : components_(std::move(components)), name_(std::move(name)), skipped_(skipped) {}

    void from(const std::string& base, std::size_t next, bool belowAnyFolders) {
        // Several "**" reach a folder in many ways; its part of the walk is the same each time.
        if (!visited_.emplace(base, next).second)
            return;
        if (next == components_.size()) {
            addFiles(base, belowAnyFolders);
            return;
        }
        const std::string& component = components_[next];
        if (component != anyFolders) {
            from(base + component + "/", next + 1, belowAnyFolders);
            return;
        }
        from(base, next + 1, true);
        std::vector<std::string> subfolders;
        if (!list(
                base, [&] { subfolders = listSubfolders(base, Links::Skip); }, true))
            return;
        for (const std::string& subfolder : subfolders)
            from(base + subfolder + "/", next, true);
    }

    std::vector<std::string> paths;

private:
    void addFiles(const std::string& base, bool belowAnyFolders) {
        const auto matches = [this](std::string_view candidate) {
            return wildcardMatch(name_, candidate);
        };
        std::vector<std::string> names;
        if (!list(
                base, [&] { names = listFiles(base, matches); }, belowAnyFolders))
            return;
        for (const std::string& name : names)
            paths.push_back(base + name);
    }

    // Runs a listing of `folder`. Below "**" a folder that does not exist is no match and
    // one that cannot be read is skipped; elsewhere both are errors.
    bool list(const std::string& folder, const std::function<void()>& listing,
              bool belowAnyFolders) {
        try {
            listing();
            return true;
        } catch (const Error& error) {
            if (!belowAnyFolders)
                throw;
            if (pathExists(folder.empty() ? "." : folder)) {
                if (!skipped_)
                    throw;
                if (reported_.insert(folder).second)
                    skipped_(error);
            }
            return false;
        }
    }

    std::vector<std::string> components_;
    std::string name_;
    const std::function<void(const Error&)>& skipped_;
    std::set<std::pair<std::string, std::size_t>> visited_; // (folder, next component)
    std::set<std::string> reported_;                        // folders that could not be read
};

} // namespace

std::vector<std::string> expandToken(const std::string& token,
                                     const std::function<void(const Error&)>& skipped) {
    const std::string folder = folderPart(token);
    const std::string name = namePart(token);
    std::vector<std::string> components = componentsOf(folder);
    const bool anyDepth =
        std::find(components.begin(), components.end(), anyFolders) != components.end();
    if ((!hasWildcards(name) && !anyDepth) || pathExists(token))
        return {token};
    // The components before the first "**" are one folder, as the user wrote it ("/a/b/"
    // starts with an empty component, which gives the leading '/').
    std::string base;
    std::size_t next = 0;
    while (next < components.size() && components[next] != anyFolders)
        base += components[next++] + "/";
    Walk walk(std::move(components), name, skipped);
    walk.from(base, next, false);
    std::sort(walk.paths.begin(), walk.paths.end(), inNameOrder);
    walk.paths.erase(std::unique(walk.paths.begin(), walk.paths.end()), walk.paths.end());
    if (walk.paths.empty())
        throw Error("no file matches \"" + token + "\"");
    return walk.paths;
}

bool forEachNamedFile(const std::vector<std::string>& tokens, Prompts& prompts,
                      const std::function<void(const std::string&)>& each) {
    bool allNamed = true;
    const auto skipped = [&](const Error& error) {
        prompts.showError(error.what());
        allNamed = false;
    };
    for (const std::string& token : tokens) {
        std::vector<std::string> paths;
        try {
            paths = expandToken(token, skipped);
        } catch (const Error& error) {
            prompts.showError(error.what());
            allNamed = false;
            continue;
        }
        for (const std::string& path : paths)
            each(path);
    }
    return allNamed;
}

} // namespace stepwell
