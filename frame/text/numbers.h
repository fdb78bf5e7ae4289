// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace stepwell {

/// Parses a decimal number: optional blanks, an optional sign, digits with an optional
/// fraction ("1", "-1", "+1", "0.5", ".5", "5."), optional trailing blanks.
/// Anything else, the empty text included, is not a number.
std::optional<double> parseDecimal(std::string_view text);

/// The number at the start of `text` (spaces skipped, optional sign, digits with an optional
/// fraction), or 0 when the text does not start with one.
double leadingNumber(std::string_view text);

/// Rounds to the nearest integer, halves to the even neighbour; nothing when the result
/// lies outside the 16-bit range.
std::optional<std::int16_t> roundToInt16(double value);

} // namespace stepwell
