// SPDX-License-Identifier: MIT
#include "frame/text/paths.h"

namespace stepwell {

std::string folderPart(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == path.npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string namePart(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == path.npos ? path : path.substr(slash + 1));
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

bool isHiddenName(std::string_view name) {
    return !name.empty() && name.front() == '.';
}

} // namespace stepwell
