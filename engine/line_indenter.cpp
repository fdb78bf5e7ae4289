#include "line_indenter.h"

#include "numbers.h"

#include <cmath>

namespace stepwell {
namespace {

std::string levelText(double level) {
    std::string text = std::to_string(level);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

std::int16_t levelPlus(std::int16_t level, double delta) {
    const double sum = level + delta;
    const auto result = roundToInt16(sum);
    if (!result)
        throw LineError("the indentation level would become " + levelText(sum) +
                        ", outside -32768 to 32767");
    return *result;
}

double deltaOf(const TagEntry& entry) {
    if (!entry.delta)
        throw LineError("tag \"" + entry.tag + "\" has the delta \"" + entry.deltaText +
                        "\", which is not a number");
    return *entry.delta;
}

std::int16_t leadDeltaOf(const TagEntry& entry) {
    const auto lead = roundToInt16(*entry.delta);
    if (!lead)
        throw LineError("the delta \"" + entry.deltaText + "\" of tag \"" + entry.tag +
                        "\" is outside -32768 to 32767");
    return *lead;
}

} // namespace

std::string_view stripLeadingBlanks(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    return first == line.npos ? std::string_view() : line.substr(first);
}

LineTally scanTags(std::string_view text, const TagTable& table) {
    const auto entries = table.usable();
    LineTally tally;
    // Only the upper-cased copy is searched, and it is never written, so removals are made
    // on it alone.
    std::string scan = upperAscii(text);
    std::size_t i = 0;
    while (i < entries.size()) {
        const TagEntry& entry = entries[i];
        const auto position = scan.find(entry.tag);
        if (position == scan.npos) {
            ++i;
            continue;
        }
        scan.erase(position, entry.tag.size());
        tally.lineDelta += deltaOf(entry);
        if (position == 0)
            tally.leadDelta = leadDeltaOf(entry);
        i = 0;
    }
    return tally;
}

std::int16_t applyTally(const LineTally& tally, std::int16_t& level) {
    const double s = tally.lineDelta;
    const std::int16_t f = tally.leadDelta;
    // Infinite deltas of both signs cancel to no number; none of the rules below would then
    // apply, and a line that starts with a closing tag would pass with its sum ignored.
    if (std::isnan(s))
        throw LineError("the deltas on this line add up to no number");
    if (s < 0 && f < 0)
        level = levelPlus(level, s);
    if (s == 0 && f < 0)
        level = levelPlus(level, -1);
    const std::int16_t written = level;
    if (s == 0 && f < 0)
        level = levelPlus(level, 1);
    if (s > 0 || f >= 0)
        level = levelPlus(level, s);
    return written;
}

LineIndenter::LineIndenter(const TagTable& table, std::int16_t level)
    : table_(table), level_(level) {}

void LineIndenter::indentLine(std::string_view line, std::string& out) {
    const std::string_view text = stripLeadingBlanks(line);
    const std::int16_t written = applyTally(scanTags(text, table_), level_);
    if (written > 0)
        out.append(static_cast<std::size_t>(written), '\t');
    out.append(text);
}

std::string indentLine(std::string_view line, const TagTable& table, std::int16_t& level) {
    LineIndenter indenter(table, level);
    std::string out;
    indenter.indentLine(line, out);
    level = indenter.level();
    return out;
}

} // namespace stepwell
