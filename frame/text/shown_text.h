// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace stepwell {

/// `text` as it may be shown on a terminal or in one line of a message: the control bytes
/// (below 0x20, and 0x7F) of a file name written as escapes, "\n", "\r", "\t" or "\x1b",
/// so that a name can neither split a line nor drive the terminal. Every other byte is
/// kept; text without control bytes comes back as it is, so escaping twice changes nothing.
std::string escapeControlBytes(std::string_view text);

} // namespace stepwell
