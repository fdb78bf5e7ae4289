// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace stepwell {

/// What the file list shows: the files of `folder` whose names match `pattern`.
struct FileListView {
    std::string folder;
    std::string pattern; // one or more wildcard patterns separated by ';'
    friend bool operator==(const FileListView&, const FileListView&) = default;
};

/// The file list's view after the pattern box's text is assigned to it. A text with a folder
/// part ("docs/*.txt", "/srv/www/") moves the list to that folder, a relative one taken from
/// `base` (the folder list's path, so that each keystroke resolves the same way); the name
/// part becomes the pattern, and an empty name part keeps the pattern shown.
FileListView fileListViewFor(const std::string& text, const FileListView& current,
                             const std::string& base);

/// The names of the regular, non-hidden files of `folder` that match any of `patterns`
/// ('*' and '?' wildcards, ignoring the case of ASCII letters), in natural order (see
/// sortNaturally). Throws Error when the folder cannot be read.
std::vector<std::string> listMatchingFiles(const std::string& folder,
                                           const std::vector<std::string>& patterns);

/// The patterns of a pattern text: split at ';', blanks around each taken off, empty ones
/// dropped.
std::vector<std::string> splitPatterns(const std::string& pattern);

} // namespace stepwell
