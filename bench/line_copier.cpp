// The yardstick for the converter's speed: reads lines, drops their leading blanks and writes
// them, with the same reader, writer, stripping and atomic file as a conversion, and nothing
// else.
//
// usage: line_copier INPUT OUTPUT [--no-sync]
// --no-sync writes OUTPUT directly and never syncs it, to show what the sync costs.
#include "atomic_file.h"
#include "error.h"
#include "input_file.h"
#include "line_indenter.h"
#include "line_reader.h"
#include "line_writer.h"

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
        stepwell::LineReader reader(input.fd(), argv[1]);
        if (argc == 4) {
            const int fd = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (fd < 0)
                throw stepwell::systemError(argv[2], "cannot create", errno);
            stepwell::LineWriter writer(fd, argv[2]);
            copyLines(reader, writer);
            ::close(fd);
        } else {
            stepwell::AtomicFile output(argv[2]);
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
