// SPDX-License-Identifier: MIT
// The yardstick for the converter's speed: reads lines, drops their leading blanks and writes
// them, with the same reader, writer, stripping and atomic file as a conversion, and nothing
// else.
//
// usage: line_copier INPUT OUTPUT [--no-sync]
// --no-sync writes OUTPUT directly and never syncs it, to show what the sync costs.
#include "engine/core/line_indenter.h"
#include "engine/core/line_reader.h"
#include "frame/sys/atomic_file.h"
#include "frame/sys/input_file.h"
#include "frame/sys/line_writer.h"
#include "frame/sys/system_error.h"

#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace {

void copyLines(stepwell::LineReader& in, stepwell::LineWriter& out) {
    std::string_view line;
    while (in.next(line)) {
        out.write(stepwell::stripLeadingBlanks(line));
        out.write("\n");
    }
    out.flush();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (argc == 4 && std::strcmp(argv[3], "--no-sync") != 0) || argc > 4) {
        std::cerr << "usage: line_copier INPUT OUTPUT [--no-sync]\n";
        return 2;
    }
    try {
        stepwell::InputFile input(argv[1]);
        stepwell::LineReader reader(
            [&input](char* buffer, std::size_t size) { return input.read(buffer, size); });
        if (argc == 4) {
            const int fd = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (fd < 0)
                throw stepwell::systemError(argv[2], "cannot create", errno);
            stepwell::LineWriter writer(fd, argv[2]);
            copyLines(reader, writer);
            ::close(fd);
        } else {
            stepwell::AtomicFile output(argv[2], argv[2]);
            stepwell::LineWriter writer(output.fd(), argv[2]);
            copyLines(reader, writer);
            output.commit();
        }
    } catch (const stepwell::Error& error) {
        std::cerr << "line_copier: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
