// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell {

/// The file that writing to `path` would really change: `path` itself, or, when it is a
/// symbolic link, the regular file the link leads to. A link is followed only where the
/// kernel's protection of shared folders (fs.protected_symlinks) would let this user follow
/// it: in a sticky folder that every user may write, only a link owned by this user or by
/// the folder's owner. A link to anything but a regular file is refused; a link that leads
/// nowhere gives `path` itself, so that the link is replaced by a plain file. Throws Error,
/// naming `name` (the file as the user named it), when the link is refused.
std::string followForWriting(const std::string& path, const std::string& name);

} // namespace stepwell
