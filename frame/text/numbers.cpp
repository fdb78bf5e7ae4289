// SPDX-License-Identifier: MIT
#include "frame/text/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace stepwell {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the "digits[.digits]" / ".digits" / "digits." run at the start of `text`,
// 0 when there is none.
std::size_t unsignedNumberLength(std::string_view text) {
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
            ++digits;
        }
        if (digits > 0)
            i = j;
    }
    return digits > 0 ? i : 0;
}

// Converts a run accepted by unsignedNumberLength. Values too large for a double become
// infinity and values too small become 0, so that range checks later report them.
double convertUnsigned(std::string_view digits) {
    double value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::fixed);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        const bool large = digits.find_first_not_of("0.") < digits.find('.');
        return large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

struct SignedNumber {
    double value;
    std::size_t end; // position just after the number, 0 when there is none
};

SignedNumber readSignedNumber(std::string_view text, std::size_t start) {
    std::size_t i = start;
    double sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        sign = text[i] == '-' ? -1 : 1;
        ++i;
    }
    const std::size_t length = unsignedNumberLength(text.substr(i));
    if (length == 0)
        return {0, 0};
    return {sign * convertUnsigned(text.substr(i, length)), i + length};
}

} // namespace

std::optional<double> parseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const SignedNumber number = readSignedNumber(text, i);
    if (number.end == 0)
        return std::nullopt;
    for (std::size_t j = number.end; j < text.size(); ++j)
        if (!isBlank(text[j]))
            return std::nullopt;
    return number.value;
}

double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return readSignedNumber(text, i).value;
}

std::optional<std::int16_t> roundToInt16(double value) {
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) // also rejects NaN
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

} // namespace stepwell
