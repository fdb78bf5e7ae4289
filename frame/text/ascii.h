// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace stepwell {

// Stepwell folds the case of the ASCII letters a-z only: files are bytes, and every other
// byte, UTF-8 included, is compared as it is.

/// `c` with a-z made A-Z; every other byte as it is.
constexpr char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

/// `c` with A-Z made a-z; every other byte as it is.
constexpr char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// `text` with a-z made A-Z.
std::string upperAscii(std::string_view text);

/// `text` with A-Z made a-z.
std::string lowerAscii(std::string_view text);

/// Whether `text` at `at` begins with `upperText` (already upper-cased), ignoring ASCII case.
bool occursAt(std::string_view text, std::size_t at, std::string_view upperText);

} // namespace stepwell
