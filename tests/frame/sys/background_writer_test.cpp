// SPDX-License-Identifier: MIT
// The writer's thread keeps the order of the text it is given, through write() and through
// room() and fill() alike, and a failure on that thread is thrown by the next call.
#include "frame/sys/background_writer.h"

#include "frame/sys/unique_fd.h"
#include "frame/text/error.h"

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace stepwell {
namespace {

TEST(BackgroundWriter, WritesInOrderAndReportsItsThreadsFailure) {
    // Into a pipe read slowly, so that full buffers wait in the writer's queue.
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    UniqueFd readEnd(ends[0]), writeEnd(ends[1]);
    std::string received;
    std::thread reader([&] {
        char buffer[64 * 1024];
        for (ssize_t size; (size = ::read(readEnd.get(), buffer, sizeof buffer)) > 0;) {
            received.append(buffer, static_cast<std::size_t>(size));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    std::string expected;
    {
        BackgroundWriter writer(writeEnd.get(), "the pipe");
        // About 4 MiB in small pieces, so that the thread takes over after the first MiB.
        for (int i = 0; i < 400000; ++i) {
            const std::string piece = std::to_string(i) + (i % 7 ? " " : "\n");
            if (i % 2) {
                writer.write(piece);
            } else {
                const auto room = writer.room(piece.size());
                ASSERT_GE(room.size(), piece.size());
                std::memcpy(room.data(), piece.data(), piece.size());
                writer.fill(piece.size());
            }
            expected += piece;
        }
        writer.flush();
    }
    writeEnd.reset();
    reader.join();
    EXPECT_TRUE(received == expected);

    const UniqueFd full(::open("/dev/full", O_WRONLY | O_CLOEXEC));
    BackgroundWriter writer(full.get(), "the full disk");
    try {
        for (int i = 0; i < 4096; ++i)
            writer.write(std::string(1024, 'x'));
        writer.flush();
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "the full disk: cannot write: the disk is full");
    }
}

} // namespace
} // namespace stepwell
