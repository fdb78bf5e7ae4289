// SPDX-License-Identifier: MIT
#include "frame/text/numbers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace stepwell {
namespace {

TEST(ParseDecimal, AcceptsSignedDecimals) {
    EXPECT_EQ(parseDecimal("1"), 1.0);
    EXPECT_EQ(parseDecimal("-1"), -1.0);
    EXPECT_EQ(parseDecimal("+1"), 1.0);
    EXPECT_EQ(parseDecimal("0.5"), 0.5);
    EXPECT_EQ(parseDecimal(".5"), 0.5);
    EXPECT_EQ(parseDecimal("-5."), -5.0);
    EXPECT_EQ(parseDecimal(" \t2 "), 2.0);
    EXPECT_EQ(parseDecimal(std::string(400, '9')), std::numeric_limits<double>::infinity());
}

TEST(ParseDecimal, RejectsEverythingElse) {
    for (const char* text : {"", " ", "+", "-", ".", "x", "1x", "1e3", "1,5", "0x10", "- 1", "1 2",
                             "inf", "nan", "--1"})
        EXPECT_FALSE(parseDecimal(text).has_value()) << '"' << text << '"';
}

TEST(LeadingNumber, TakesTheNumberAtTheStart) {
    EXPECT_EQ(leadingNumber("1"), 1.0);
    EXPECT_EQ(leadingNumber("  1.5abc"), 1.5);
    EXPECT_EQ(leadingNumber("-2 x"), -2.0);
    EXPECT_EQ(leadingNumber("abc"), 0.0);
    EXPECT_EQ(leadingNumber(""), 0.0);
    EXPECT_EQ(leadingNumber("False"), 0.0);
}

TEST(RoundToInt16, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundToInt16(0.5), 0);
    EXPECT_EQ(roundToInt16(1.5), 2);
    EXPECT_EQ(roundToInt16(2.5), 2);
    EXPECT_EQ(roundToInt16(-0.5), 0);
    EXPECT_EQ(roundToInt16(-1.5), -2);
    EXPECT_EQ(roundToInt16(0.6), 1);
}

TEST(RoundToInt16, OutsideTheRangeIsNothing) {
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_FALSE(roundToInt16(32767.5).has_value());
    EXPECT_EQ(roundToInt16(-32768.5), -32768); // rounds to the even -32768
    EXPECT_FALSE(roundToInt16(-32769).has_value());
    EXPECT_FALSE(roundToInt16(std::nan("")).has_value());
    EXPECT_FALSE(roundToInt16(std::numeric_limits<double>::infinity()).has_value());
}

} // namespace
} // namespace stepwell
