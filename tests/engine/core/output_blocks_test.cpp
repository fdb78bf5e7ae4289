// SPDX-License-Identifier: MIT
// Lines gathered into blocks reach the output whole and in order, whatever their length.
#include "engine/core/output_blocks.h"

#include <gtest/gtest.h>
#include <span>
#include <string>

namespace stepwell {
namespace {

struct Collected {
    std::string text;
    int writes = 0;
    void write(std::string_view part) {
        text.append(part);
        ++writes;
    }
};

// Lends room in a buffer of its own, as the file writer does, and passes the buffer on when
// asked for more room than it has left, or before text written through it.
struct Lending {
    std::string text;
    std::string buffer = std::string(100'000, '\0');
    std::size_t used = 0;
    std::span<char> room(std::size_t wanted) {
        if (wanted > buffer.size() - used)
            passOn();
        return {buffer.data() + used, buffer.size() - used};
    }
    void fill(std::size_t size) { used += size; }
    void write(std::string_view part) {
        passOn();
        text.append(part);
    }
    void passOn() {
        text.append(buffer, 0, used);
        used = 0;
    }
};

template <class Output> void expectLinesOfEveryLengthInOrder() {
    Output out;
    std::string expected;
    {
        OutputBlocks blocks(out);
        // Around the block size, with and without tabs, and one far longer than a block.
        for (const std::size_t length : {0ul, 10ul, 65'530ul, 65'535ul, 65'536ul, 65'537ul, 3ul,
                                         99'990ul, 100'000ul, 200'000ul, 7ul}) {
            for (const std::size_t tabs : {0ul, 5ul, 32'767ul}) {
                const std::string text(length, static_cast<char>('a' + length % 26));
                blocks.put(tabs, text, "\r\n");
                expected += std::string(tabs, '\t') + text + "\r\n";
                if (length == 10) // lines go on after a flush
                    blocks.flush();
            }
        }
        EXPECT_LT(out.text.size(), expected.size()); // the last block is still held
        blocks.flush();
    }
    if constexpr (requires { out.passOn(); })
        out.passOn();
    EXPECT_EQ(out.text, expected);
}

TEST(OutputBlocks, LinesOfEveryLengthArriveInOrder) {
    expectLinesOfEveryLengthInOrder<Collected>();
    expectLinesOfEveryLengthInOrder<Lending>();
    // Short lines share blocks.
    Collected small;
    OutputBlocks blocks(small);
    for (int i = 0; i < 10'000; ++i)
        blocks.put(2, "<td>x</td>", "\n");
    blocks.flush();
    EXPECT_EQ(small.text.size(), 10'000u * 13);
    EXPECT_LE(small.writes, 3);
}

} // namespace
} // namespace stepwell
