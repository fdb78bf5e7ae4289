// SPDX-License-Identifier: MIT
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

/// A text that names the file at `path` (links followed) whatever name it is reached by:
/// equal for two paths exactly when they lead to the same file. "" when there is no file.
std::string fileIdentity(const std::string& path);

/// Whether something exists at `path`, links followed. Throws Error "PATH: DOING: why" when
/// that cannot be told (a folder on the way that may not be searched, say).
bool isPresent(const std::string& path, const std::string& doing);

/// The user's home folder: $HOME, or the one the user database gives.
std::string homeFolder();

/// Creates `folder` and any folders above it that are missing. Throws Error, naming the
/// folder that could not be made, when that fails.
void makeFolders(const std::string& folder);

/// The current directory. Throws Error when it cannot be found.
std::string currentDirectory();

/// Makes `folder` the current directory. Throws Error when that fails.
void changeDirectory(const std::string& folder);

/// The folder that holds the running program, with links resolved, without a final '/'.
std::string programDirectory();

/// Throws Error "NAME: DOING: permission denied" when this user may not write the file at
/// `path` (root may write any file), or names the reason when the check itself fails (a
/// read-only file system, an immutable file). `name` is the file as the user named it.
void requireWritable(const std::string& path, const std::string& name, const std::string& doing);

/// `path` with every symbolic link resolved; the path itself when it cannot be resolved.
std::string resolveLinks(const std::string& path);

} // namespace stepwell
