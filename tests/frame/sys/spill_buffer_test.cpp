// SPDX-License-Identifier: MIT
#include "frame/sys/spill_buffer.h"

#include "tests/support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace stepwell {
namespace {

using test::readFile;
using test::TempDir;

// Writes `pieces` through a buffer with the given memory limit; returns what it copies out.
std::string throughBuffer(const std::vector<std::string>& pieces, std::size_t memoryLimit) {
    TempDir dir;
    SpillBuffer buffer(memoryLimit);
    for (const auto& piece : pieces)
        buffer.write(piece);
    const int fd = ::open(dir.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    buffer.copyTo(fd, "out");
    ::close(fd);
    return readFile(dir.file("out"));
}

TEST(SpillBuffer, GivesBackEverythingInOrderInMemoryOrSpilled) {
    const std::vector<std::string> pieces{"one\n", "", "two\n", std::string(300000, 'x'), "end"};
    std::string all;
    for (const auto& piece : pieces)
        all += piece;
    EXPECT_EQ(throughBuffer(pieces, 1 << 20), all);
    EXPECT_EQ(throughBuffer(pieces, 3), all);
    EXPECT_EQ(throughBuffer({}, 0), "");
}

} // namespace
} // namespace stepwell
