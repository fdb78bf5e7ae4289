#pragma once

#include <string>

namespace stepwell {

/// Whether `path` names a regular file (links followed) whose name does not start with '.'.
/// Folders, devices, pipes and hidden files are not ordinary files.
bool isOrdinaryFile(const std::string& path);

/// Whether `path` names a folder (links followed).
bool isFolder(const std::string& path);

/// Whether anything at all (a file, a folder, a dangling link) exists at `path`.
bool pathExists(const std::string& path);

/// Creates `folder` and any folders above it that are missing. Throws Error, naming the
/// folder that could not be made, when that fails.
void makeFolders(const std::string& folder);

/// The current directory. Throws Error when it cannot be found.
std::string currentDirectory();

/// Makes `folder` the current directory. Throws Error when that fails.
void changeDirectory(const std::string& folder);

/// The folder that holds the running program, with links resolved, without a final '/'.
std::string programDirectory();

/// `path` with every symbolic link resolved; the path itself when it cannot be resolved.
std::string resolveLinks(const std::string& path);

} // namespace stepwell
