// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell {

/// Where extended attributes are read from: an open file, or a path (links followed).
struct AttributeSource {
    int fd = -1;      // used when not -1
    std::string path; // otherwise
};

/// Copies every extended attribute of `from` (POSIX ACLs, stored as the attributes
/// "system.posix_acl_*", among them) to the open file `to`. Returns "" when all were
/// copied, otherwise why one could not be (the file system has none, the user may not set
/// it): the others are copied all the same.
std::string copyExtendedAttributes(const AttributeSource& from, int to);

} // namespace stepwell
