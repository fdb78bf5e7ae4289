// Whole files with every kind of line break, converted through the real reader and writer and
// compared with a conversion done the plain way: split into lines, scan with the model.
#include "convert.h"
#include "input_file.h"
#include "line_indenter.h"

#include "engine/reference_scan.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace stepwell {
namespace {

// The expected output of `bytes`, or the error message.
std::string plainConversion(const std::string& bytes, const TagTable& table) {
    std::string text = bytes, out;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
        out = "\xEF\xBB\xBF";
        text.erase(0, 3);
    }
    std::vector<std::string> lines;
    std::string lineBreak;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", from), text.size());
        lines.push_back(text.substr(from, end - from));
        std::size_t next = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
            ++next;
        if (lineBreak.empty() && end < text.size())
            lineBreak = text.substr(end, next - end);
        from = next;
    }
    if (lineBreak.empty())
        lineBreak = "\n";
    std::int16_t level = 0;
    try {
        for (const auto& line : lines) {
            const std::string_view stripped = stripLeadingBlanks(line);
            const std::int16_t written = applyTally(test::referenceScan(stripped, table), level);
            out.append(std::max<int>(written, 0), '\t');
            out.append(stripped).append(lineBreak);
        }
    } catch (const LineError& error) {
        return std::string("error: ") + error.what();
    }
    return out;
}

std::string realConversion(const std::string& bytes, const TagTable& table) {
    test::TempDir folder;
    const std::string in = folder.file("in.html"), out = folder.file("out.html");
    test::writeFile(in, bytes);
    InputFile input(in);
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    LineReader reader(input.fd(), in);
    LineWriter writer(fd, out);
    try {
        convertLines(reader, writer, table);
    } catch (const LineError& error) {
        ::close(fd);
        const std::string message = error.what();
        return "error: " + message.substr(message.find(": ") + 2); // without "line N: "
    }
    ::close(fd);
    return test::readFile(out);
}

TEST(RandomFiles, ConvertLikeThePlainWayWithEveryLineBreak) {
    std::mt19937 random(7);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const char* pieces[] = {"<td>", "</td>", "<tr>", "</TR>",   "<<a",     "a>",
                            "  ",   "\t",    "x",    "\r\n",    "\n",      "\r",
                            "\r\n", "\n",    "\r",   "<table>", "</table>"};
    const TagTable shipped = readTagFile(STEPWELL_SOURCE_DIR "/StepwellTag.txt");
    TagTable small;
    small.add("<A", "1");
    small.add("A>", "-1");
    small.add("<TD", "1");
    small.add("</TD", "-1");
    for (int file = 0; file < 60; ++file) {
        std::string bytes = below(4) == 0 ? "\xEF\xBB\xBF" : "";
        for (int i = below(400); i > 0; --i) {
            bytes += pieces[below(std::size(pieces))];
            // Some files hold a line longer than the reader's buffer.
            if (file % 10 == 0 && i == 1)
                bytes += std::string(300'000, 'x');
        }
        const TagTable& table = file % 2 ? shipped : small;
        EXPECT_EQ(realConversion(bytes, table), plainConversion(bytes, table)) << "file " << file;
    }
}

} // namespace
} // namespace stepwell
