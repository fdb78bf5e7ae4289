// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

// Both listings leave hidden entries (names starting with '.') out, follow symbolic links
// to tell files from folders unless told not to, and give names without their folder, in
// byte order. Both throw Error when the folder cannot be opened or read to its end. The
// folder "" is the current directory.

enum class Links { Follow, Skip };

/// The names of the subfolders of `folder`; with Links::Skip, links to folders are left out.
std::vector<std::string> listSubfolders(const std::string& folder, Links links = Links::Follow);

/// The names of the regular files of `folder` for which `keepName` is true.
std::vector<std::string> listFiles(const std::string& folder,
                                   const std::function<bool(std::string_view)>& keepName);

} // namespace stepwell
