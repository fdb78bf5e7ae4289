// SPDX-License-Identifier: MIT
#include "ui/file_pattern.h"

#include "frame/sys/folder_listing.h"
#include "frame/text/paths.h"
#include "frame/text/wildcards.h"
#include "ui/natural_order.h"

#include <algorithm>

namespace stepwell {

FileListView fileListViewFor(const std::string& text, const FileListView& current,
                             const std::string& base) {
    FileListView view = current;
    std::string folder = folderPart(text);
    if (!folder.empty()) {
        if (folder.front() != '/')
            folder = joinPath(base, folder);
        if (folder.size() > 1)
            folder.pop_back(); // the '/' that ended the folder part
        view.folder = folder;
    }
    const std::string name = namePart(text);
    if (!name.empty())
        view.pattern = name;
    return view;
}

std::vector<std::string> listMatchingFiles(const std::string& folder,
                                           const std::vector<std::string>& patterns) {
    std::vector<std::string> names = listFiles(folder, [&patterns](std::string_view name) {
        return std::any_of(patterns.begin(), patterns.end(), [name](const std::string& pattern) {
            return wildcardMatch(pattern, name, true);
        });
    });
    sortNaturally(names);
    return names;
}

std::vector<std::string> splitPatterns(const std::string& pattern) {
    std::vector<std::string> patterns;
    std::size_t start = 0;
    while (start <= pattern.size()) {
        std::size_t end = pattern.find(';', start);
        if (end == std::string::npos)
            end = pattern.size();
        const std::string piece = pattern.substr(start, end - start);
        const auto first = piece.find_first_not_of(" \t");
        if (first != std::string::npos)
            patterns.push_back(piece.substr(first, piece.find_last_not_of(" \t") - first + 1));
        start = end + 1;
    }
    return patterns;
}

} // namespace stepwell
