// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace stepwell {

// Paths are handled as plain text, never normalised: what the user typed is what messages
// show.

/// The text up to and including the last '/', or "" when there is none.
std::string folderPart(std::string_view path);

/// The text after the last '/'.
std::string namePart(std::string_view path);

/// `folder` and `name` joined by one '/'; just `name` when the folder is "".
std::string joinPath(const std::string& folder, const std::string& name);

/// Whether a name is hidden: it starts with '.'.
bool isHiddenName(std::string_view name);

} // namespace stepwell
