#include "engine/core/convert_lines.h"

namespace stepwell {
namespace {

struct TextOutput {
    std::string text;
    void write(std::string_view part) { text.append(part); }
    void flush() {}
};

} // namespace

std::string convertText(std::string_view text, const TagTable& table) {
    LineReader in = LineReader::ofText(text);
    TextOutput out;
    convertLines(in, out, table);
    return std::move(out.text);
}

} // namespace stepwell
