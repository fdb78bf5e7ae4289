#include "line_indenter.h"

#include "numbers.h"

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
    : raw_(table), level_(level) {}

LineTally LineIndenter::tally(std::string_view text) const {
    return scanTags(text, raw_.ordinaryTable());
}

// The text of a line outside raw blocks whose tags count, from `from` on; notes the block
// the line leaves open.
std::string_view LineIndenter::ordinaryText(std::string_view text, std::size_t from) {
    if (raw_.empty())
        return text.substr(from);
    raw_.split(text, from, split_);
    open_ = split_.opened;
    return split_.ordinary;
}

// A line inside a raw block is written as it came. The line that ends the block is not
// indented either, so its tags after the end move the level from the next line on,
// whatever its leading delta.
void LineIndenter::copyRawLine(std::string_view line, std::string& out) {
    out.append(line);
    const std::size_t after = RawBlocks::findEnd(line, *open_, 0);
    if (after == std::string_view::npos)
        return;
    open_ = nullptr;
    level_ = levelPlus(level_, tally(ordinaryText(line, after)).lineDelta);
}

void LineIndenter::indentLine(std::string_view line, std::string& out) {
    if (open_) {
        copyRawLine(line, out);
        return;
    }
    const std::string_view text = stripLeadingBlanks(line);
    const std::int16_t written = applyTally(tally(ordinaryText(text, 0)), level_);
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
