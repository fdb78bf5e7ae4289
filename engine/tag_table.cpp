#include "tag_table.h"

#include "error.h"
#include "fields.h"
#include "files.h"
#include "input_file.h"
#include "line_reader.h"
#include "numbers.h"

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

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return upper;
}

TagTable readTagFile(const std::string& path) {
    InputFile file(path);
    LineReader reader(file.fd(), path);
    std::vector<std::string> fields;
    std::string_view line;
    while (reader.next(line)) {
        if (isBlankLine(line))
            continue;
        splitFields(line, fields);
        if (fields.size() > 2 * maxTagEntries)
            throw Error("tag file " + path + ": more than " + std::to_string(maxTagEntries) +
                        " entries");
    }
    if (fields.size() % 2 != 0)
        throw Error("tag file " + path + ": the last tag \"" + fields.back() + "\" has no delta");
    TagTable table;
    for (std::size_t i = 0; i < fields.size(); i += 2)
        table.add(fields[i], fields[i + 1]);
    return table;
}

TagTable loadTagTable(const std::string& programDir) {
    const std::string path = joinPath(programDir, tagFileName);
    if (!isOrdinaryFile(path))
        return {};
    return readTagFile(path);
}

} // namespace stepwell
