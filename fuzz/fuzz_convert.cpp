// SPDX-License-Identifier: MIT
// A whole conversion of arbitrary bytes through the real line reader and output blocks. The first
// byte picks a table; the result must equal the plain conversion, keep every line's text apart from
// its leading blanks, and convert to itself again.
#include "engine/core/convert_lines.h"
#include "tests/support/reference_indenter.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>

using namespace stepwell;

namespace {

using Pairs = std::vector<std::pair<const char*, const char*>>;

const std::array<Pairs, 5> tables = {
    Pairs{},
    Pairs{{"<TABLE", "1"}, {"<TR", "1"}, {"</TR", "-1"}, {"</TABLE", "-1"}},
    Pairs{{"<LINK", "0"}, {"<LI", "1"}, {"</LI>", "-1"}, {"<UL", "1"}, {"</UL", "-1"}},
    Pairs{{"<H", "0.5"}, {"</H", "-0.5"}, {"<BIG", "40000"}, {"<X", "x"}, {"{", "+1"}, {"}", "-1"}},
    Pairs{{"<!--", "raw:-->"},
          {"<PRE", "RAW:</pre>"},
          {"<P", "1"},
          {"</P>", "-1"},
          {"<D", "1"},
          {"</D", "-1"},
          {"<E", "raw:"}},
};

// Converts `bytes`; nothing when a line is an error.
std::optional<std::string> convert(std::string_view bytes, const TagTable& table) {
    try {
        return convertText(bytes, table);
    } catch (const LineError&) {
        return std::nullopt;
    }
}

// Each output line is some tabs and then the input line without its leading blanks, or, in a
// raw block, the input line as it was.
bool onlyLeadingBlanksChanged(const test::RefLines& in, const test::RefLines& out) {
    if (in.lines.size() != out.lines.size() || in.byteOrderMark != out.byteOrderMark)
        return false;
    for (std::size_t i = 0; i < in.lines.size(); ++i) {
        const std::string_view text = stripLeadingBlanks(in.lines[i]);
        const std::string_view line = out.lines[i];
        if (line == in.lines[i])
            continue;
        if (!line.ends_with(text) ||
            line.substr(0, line.size() - text.size()).find_first_not_of('\t') != line.npos)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const Pairs& pairs = tables[data[0] % tables.size()];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    TagTable table;
    std::vector<test::RefEntry> reference;
    for (const auto& [tag, delta] : pairs) {
        table.add(tag, delta);
        reference.push_back(test::refEntry(tag, delta, table.entries().back().delta));
    }

    const auto result = convert(bytes, table);
    const auto expected = test::refConvert(bytes, reference);
    if (result != expected)
        std::abort();
    if (!result)
        return 0;
    // Blanks before a U+FEFF that opens the first line go, so the result starts with what
    // any reader takes for a byte-order mark, and the blanks after it are then leading
    // blanks of that line: a second conversion removes them too. Only leading blanks
    // change either way, but the checks below would read the two files differently.
    const test::RefLines lines = test::refSplit(bytes);
    if (!lines.byteOrderMark && !lines.lines.empty() &&
        stripLeadingBlanks(lines.lines[0]).starts_with("\xEF\xBB\xBF"))
        return 0;
    if (!onlyLeadingBlanksChanged(lines, test::refSplit(*result)))
        std::abort();
    if (convert(*result, table) != result)
        std::abort();
    return 0;
}
