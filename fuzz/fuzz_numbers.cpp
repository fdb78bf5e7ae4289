// SPDX-License-Identifier: MIT
// The number conversions on any text, checked against the C library and against the
// definition of rounding halves to even.
#include "frame/text/numbers.h"
#include "tests/support/reference_indenter.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace stepwell;

namespace {

void checkRounding(double value) {
    const auto rounded = roundToInt16(value);
    const auto expected = test::refRound16(value);
    if (rounded.has_value() != expected.has_value() || (rounded && *rounded != *expected))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto parsed = parseDecimal(text);
    const double leading = leadingNumber(text);
    if (parsed) {
        // A whole number is also the number at the start of the text.
        if (*parsed != leading)
            std::abort();
        // strtod reads every text parseDecimal accepts; both round correctly, so they agree
        // except where strtod keeps a subnormal that parseDecimal takes as 0.
        const double libc = std::strtod(text.c_str(), nullptr);
        if (*parsed != libc && !(*parsed == 0 && std::fpclassify(libc) == FP_SUBNORMAL))
            std::abort();
        checkRounding(*parsed);
    }
    checkRounding(leading);
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        checkRounding(raw);
    }
    return 0;
}
