// SPDX-License-Identifier: MIT
#include "frame/text/fields.h"

#include "frame/text/error.h"
#include "frame/text/shown_text.h"

#include <algorithm>

namespace stepwell {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads a quoted field starting just after its opening quote; returns the position after
// the closing quote. Throws Error when the line ends first.
std::size_t readQuoted(std::string_view line, std::size_t i, std::string& value) {
    const std::size_t opening = i - 1;
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
    throw Error("the quoted field " + quotedText(line.substr(opening)) + " has no closing quote");
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
            const std::size_t opening = i;
            i = readQuoted(line, i + 1, value);
            const std::size_t closed = i;
            while (i < line.size() && isBlank(line[i]))
                ++i;
            if (i < line.size() && line[i] != ',') {
                const std::size_t comma = std::min(line.find(',', i), line.size());
                throw Error("text after the quoted field " +
                            quotedText(line.substr(opening, closed - opening)) + ": " +
                            quotedText(line.substr(i, comma - i)));
            }
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
