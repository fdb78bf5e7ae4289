#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// Whether `path` names a regular file (links followed) whose name does not start with '.'.
/// Folders, devices, pipes and hidden files are not ordinary files.
bool isOrdinaryFile(const std::string& path);

/// Whether anything at all (a file, a folder, a dangling link) exists at `path`.
bool pathExists(const std::string& path);

/// Whether `text` holds the wildcards '*' or '?'.
bool hasWildcards(std::string_view text);

/// Matches a name against a pattern of '*' (any run of characters) and '?' (any one
/// character). With `ignoreCase`, ASCII letters match either case.
bool wildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase = false);

/// The text up to and including the last '/', or "" when there is none.
std::string folderPart(std::string_view path);

/// The text after the last '/'.
std::string namePart(std::string_view path);

/// The names (without folder) of the ordinary files in `folder` ("" for the current
/// directory) that match `namePattern`, in name order. Throws Error when the folder cannot
/// be read.
std::vector<std::string> findFiles(const std::string& folder, std::string_view namePattern);

/// Directory search: the name of the first ordinary file, in name order, that matches the
/// path pattern (a folder part, then a name that may hold wildcards); "" when none does.
std::string findFirstFile(const std::string& pathPattern);

/// The current directory. Throws Error when it cannot be found.
std::string currentDirectory();

/// Makes `folder` the current directory. Throws Error when that fails.
void changeDirectory(const std::string& folder);

/// The folder that holds the running program, with links resolved, without a final '/'.
std::string programDirectory();

/// `folder` and `name` joined by one '/'; just `name` when the folder is "".
std::string joinPath(const std::string& folder, const std::string& name);

/// `path` with every symbolic link resolved; the path itself when it cannot be resolved.
std::string resolveLinks(const std::string& path);

} // namespace stepwell
