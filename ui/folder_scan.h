#pragma once

#include <string>
#include <vector>

namespace stepwell {

/// The names of the subfolders of `folder` (links to folders included, hidden ones left
/// out), in name order. Throws Error when the folder cannot be read.
std::vector<std::string> listSubfolders(const std::string& folder);

/// The names of the regular, non-hidden files of `folder` that match any of `patterns`
/// ('*' and '?' wildcards, ignoring the case of ASCII letters), in name order. Throws Error
/// when the folder cannot be read.
std::vector<std::string> listMatchingFiles(const std::string& folder,
                                           const std::vector<std::string>& patterns);

} // namespace stepwell
