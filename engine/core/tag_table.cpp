#include "engine/core/tag_table.h"

#include "engine/core/line_reader.h"
#include "frame/text/ascii.h"
#include "frame/text/error.h"
#include "frame/text/fields.h"
#include "frame/text/numbers.h"

namespace stepwell {

void TagTable::add(std::string_view tag, std::string_view deltaText) {
    if (entries_.size() >= maxTagEntries)
        throw Error("more than " + std::to_string(maxTagEntries) + " entries");
    entries_.push_back({upperAscii(tag), std::string(deltaText), parseDecimal(deltaText)});
}

std::span<const TagEntry> TagTable::usable() const {
    std::size_t count = 0;
    while (count < entries_.size() && !entries_[count].tag.empty())
        ++count;
    return {entries_.data(), count};
}

TagTable parseTagTable(LineReader& lines, const std::string& name) {
    std::vector<std::string> fields;
    std::string_view line;
    while (lines.next(line)) {
        if (isBlankLine(line))
            continue;
        splitFields(line, fields);
        if (fields.size() > 2 * maxTagEntries)
            throw Error("tag file " + name + ": more than " + std::to_string(maxTagEntries) +
                        " entries");
    }
    if (fields.size() % 2 != 0)
        throw Error("tag file " + name + ": the last tag \"" + fields.back() + "\" has no delta");
    TagTable table;
    for (std::size_t i = 0; i < fields.size(); i += 2)
        table.add(fields[i], fields[i + 1]);
    return table;
}

TagTable parseTagTable(std::string_view text, const std::string& name) {
    LineReader lines = LineReader::ofText(text);
    return parseTagTable(lines, name);
}

} // namespace stepwell
