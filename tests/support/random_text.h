// SPDX-License-Identifier: MIT
#pragma once

#include <random>
#include <string>

namespace stepwell::test {

/// Random tags and lines made of the same few bytes, so that tags, raw openers and end texts
/// overlap each other and removals join text into new occurrences in every way.
class RandomText {
public:
    explicit RandomText(unsigned seed) : random_(seed) {}

    /// A number from 0 to n - 1.
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    /// A tag or an end text: 1 to `longest` bytes.
    std::string piece(int longest) {
        static const char bytes[] = "<!-PD>";
        std::string text;
        for (int n = 1 + below(longest); n > 0; --n)
            text += bytes[below(sizeof bytes - 1)];
        return text;
    }

    /// A line: up to 19 bytes, in either case, blanks and text among them.
    std::string line() {
        static const char bytes[] = "<<!-pPdD> x\t";
        std::string text;
        for (int n = below(20); n > 0; --n)
            text += bytes[below(sizeof bytes - 1)];
        return text;
    }

private:
    std::mt19937 random_;
};

} // namespace stepwell::test
