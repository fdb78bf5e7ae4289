// SPDX-License-Identifier: MIT
#include "engine/core/tag_table.h"

#include "engine/core/line_reader.h"
#include "frame/text/ascii.h"
#include "frame/text/error.h"
#include "frame/text/fields.h"
#include "frame/text/numbers.h"
#include "frame/text/shown_text.h"

#include <cstdint>

namespace stepwell {

std::string placePrefix(const std::string& place) {
    return place.empty() ? std::string() : place + ": ";
}

void TagTable::add(std::string_view tag, std::string_view deltaText, std::string place) {
    if (entries_.size() >= maxTagEntries)
        throw Error("more than " + std::to_string(maxTagEntries) + " entries");
    entries_.push_back(
        {upperAscii(tag), std::string(deltaText), parseDecimal(deltaText), std::move(place)});
}

std::span<const TagEntry> TagTable::usable() const {
    std::size_t count = 0;
    while (count < entries_.size() && !entries_[count].tag.empty())
        ++count;
    return {entries_.data(), count};
}

TagTable parseTagTable(LineReader& lines, const std::string& name) {
    std::vector<std::string> fields;
    std::vector<std::uint64_t> fieldLines; // the line each field stands on
    const auto place = [&name](std::uint64_t lineNumber) {
        return name + ", line " + std::to_string(lineNumber);
    };
    const auto at = [&place](std::uint64_t lineNumber) { return place(lineNumber) + ": "; };
    std::string_view line;
    std::uint64_t lineNumber = 0;
    while (lines.next(line)) {
        ++lineNumber;
        if (isBlankLine(line))
            continue;
        try {
            splitFields(line, fields);
        } catch (const Error& error) {
            throw Error(at(lineNumber) + error.what());
        }
        for (std::size_t i = fieldLines.size(); i < fields.size(); ++i)
            if (fields[i].size() > maxFieldBytes)
                throw Error(at(lineNumber) + "\"" + quotedText(fields[i]) + "\" is " +
                            std::to_string(fields[i].size()) + " bytes long; a tag or a delta " +
                            "holds at most " + std::to_string(maxFieldBytes));
        fieldLines.resize(fields.size(), lineNumber);
        if (fields.size() > 2 * maxTagEntries)
            throw Error(at(lineNumber) + "more than " + std::to_string(maxTagEntries) + " entries");
    }
    if (fields.size() % 2 != 0)
        throw Error(at(fieldLines.back()) + "the last tag \"" + quotedText(fields.back()) +
                    "\" has no delta");
    TagTable table;
    std::size_t tagBytes = 0;
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        tagBytes += fields[i].size();
        if (tagBytes > maxTagBytes)
            throw Error(at(fieldLines[i]) + "the tags hold more than " +
                        std::to_string(maxTagBytes) + " bytes together");
        table.add(fields[i], fields[i + 1], place(fieldLines[i + 1]));
    }
    return table;
}

TagTable parseTagTable(std::string_view text, const std::string& name) {
    LineReader lines = LineReader::ofText(text);
    return parseTagTable(lines, name);
}

} // namespace stepwell
