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

/// A piece of a file's text (a tag, a delta, a field) as a message quotes it: its control
/// bytes escaped (a NUL byte included, so that it cannot cut the message short), and
/// shortened with "…" when it is longer than a line can show.
std::string quotedText(std::string_view text);

} // namespace stepwell
