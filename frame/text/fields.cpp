#include "frame/text/fields.h"

namespace stepwell {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads a quoted field starting just after its opening quote; returns the position after
// the closing quote (or the end of the line when it is missing).
std::size_t readQuoted(std::string_view line, std::size_t i, std::string& value) {
    while (i < line.size()) {
        if (line[i] != '"') {
            value += line[i++];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            value += '"';
            i += 2;
        } else {
            return i + 1;
        }
    }
    return i;
}

} // namespace

bool isBlankLine(std::string_view line) {
    for (char c : line)
        if (!isBlank(c))
            return false;
    return true;
}

void splitFields(std::string_view line, std::vector<std::string>& fields) {
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        std::string value;
        if (i < line.size() && line[i] == '"') {
            i = readQuoted(line, i + 1, value);
            while (i < line.size() && line[i] != ',')
                ++i;
        } else {
            const std::size_t start = i;
            while (i < line.size() && line[i] != ',')
                ++i;
            std::size_t stop = i;
            while (stop > start && isBlank(line[stop - 1]))
                --stop;
            value.assign(line.substr(start, stop - start));
        }
        fields.push_back(std::move(value));
        if (i >= line.size())
            return;
        ++i; // past the comma
    }
}

} // namespace stepwell
