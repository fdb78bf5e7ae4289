// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell {

/// Why the file at `path` may not be trusted as configuration that decides what is written
/// into this user's files, or "" when it may. It may when it belongs to this user or to
/// root, and no other user may change it: neither the file nor the folder that holds it
/// belongs to another user or may be written by other users (a sticky folder open to all
/// included; a group counts as other users unless it is this user's own group). A file that
/// cannot be looked at gives "": reading it will say why.
std::string whyNotTrusted(const std::string& path);

} // namespace stepwell
