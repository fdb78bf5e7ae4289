// SPDX-License-Identifier: MIT
// The line indenter against any table: the input is a tag file's text, a NUL byte, then
// lines separated by LF. The real indenter must agree with the plain one line for line,
// in its output, its level and whether the line is an error.
#include "engine/core/line_error.h"
#include "engine/core/line_indenter.h"
#include "frame/text/error.h"
#include "frame/text/fields.h"
#include "tests/support/reference_indenter.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace stepwell;

namespace {

void readTable(std::string_view text, TagTable& table, std::vector<test::RefEntry>& reference) {
    std::vector<std::string> fields;
    for (const std::string& line : test::refSplit(text).lines)
        if (!isBlankLine(line))
            splitFields(line, fields);
    for (std::size_t i = 0; i + 1 < fields.size() && table.entries().size() < maxTagEntries;
         i += 2) {
        table.add(fields[i], fields[i + 1]);
        reference.push_back(test::refEntry(fields[i], fields[i + 1], table.entries().back().delta));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    TagTable table;
    std::vector<test::RefEntry> reference;
    try {
        readTable(input.substr(0, split), table, reference);
    } catch (const Error&) {
        return 0; // not a tag file: the reader's own target covers it
    }
    if (split == std::string_view::npos)
        return 0;
    input.remove_prefix(split + 1);

    LineIndenter indenter(table);
    test::RefState state;
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);

        const auto expected = test::refIndentLine(line, reference, state);
        std::string out;
        try {
            indenter.indentLine(line, out);
        } catch (const LineError&) {
            if (expected)
                std::abort();
            return 0;
        }
        if (!expected || out != *expected || indenter.level() != state.level)
            std::abort();
    }
    return 0;
}
