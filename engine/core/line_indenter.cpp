// SPDX-License-Identifier: MIT
#include "engine/core/line_indenter.h"

#include "engine/core/line_error.h"
#include "frame/text/numbers.h"

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
    // Whole numbers in range need no rounding, and they are nearly every sum.
    if (sum >= -32768.0 && sum <= 32767.0 && static_cast<std::int16_t>(sum) == sum)
        return static_cast<std::int16_t>(sum);
    const auto result = roundToInt16(sum);
    if (!result)
        throw LineError("the indentation level would become " + levelText(sum) +
                        ", outside -32768 to 32767");
    return *result;
}

} // namespace

std::string_view stripLeadingBlanks(std::string_view line) {
    std::size_t first = 0;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
        ++first;
    return line.substr(first);
}

std::int16_t applyTally(const LineTally& tally, std::int16_t& level) {
    const double s = tally.lineDelta;
    const std::int16_t f = tally.leadDelta;
    // Most lines have no tags, or none that moves the level.
    if (s == 0 && f >= 0)
        return level;
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
    if ((s > 0 || f >= 0) && s != 0)
        level = levelPlus(level, s);
    return written;
}

LineIndenter::LineIndenter(const TagMatcher& matcher, std::int16_t level)
    : LineIndenter(nullptr, &matcher, level) {}

LineIndenter::LineIndenter(const TagTable& table, std::int16_t level)
    : LineIndenter(std::make_unique<const TagMatcher>(table), nullptr, level) {}

LineIndenter::LineIndenter(std::unique_ptr<const TagMatcher> owned, const TagMatcher* shared,
                           std::int16_t level)
    : owned_(std::move(owned)), raw_((shared ? *shared : *owned_).raw()),
      scanner_((shared ? *shared : *owned_).patterns()), level_(level) {}

// The tally of a line outside raw blocks, from `from` on; notes the block the line leaves
// open. Most lines hold no opener, and the scan that counts their tags tells so.
LineTally LineIndenter::tally(std::string_view text, std::size_t from) {
    LineTally tally;
    const std::size_t markerEnd = scanner_.scanToMarker(text.substr(from), tally);
    if (markerEnd == std::string_view::npos)
        return tally;
    if (!scanner_.partsAddUp() || text.size() >= (std::size_t{1} << 32))
        return tallyOfJoinedParts(text, from);
    return tallyPartByPart(text, from, markerEnd);
}

// No tag can join across a raw section, nor can a tag behind one be at the line's start, so
// with whole deltas, which add up the same in any order, the text between the sections is
// scanned part by part, each scan stopping at the next opener (the first ends at
// `from + markerEnd`): a long line with comments in it is read once and never copied.
LineTally LineIndenter::tallyPartByPart(std::string_view text, std::size_t from,
                                        std::size_t markerEnd) {
    LineTally tally;
    for (bool first = true;; first = false) {
        const RawOpener* opener = nullptr;
        const std::size_t at = raw_.openerEndingAt(text, from, from + markerEnd, opener);
        // An opener ends where the scan stopped, so `at` is found; were it not, the rest of
        // the line would be scanned as it is.
        const bool found = at != std::string_view::npos;
        const LineTally part = found ? scanner_.tallyBefore(text.substr(from, at - from))
                                     : scanner_.scan(text.substr(from));
        if (first)
            tally = part;
        else
            tally.lineDelta += part.lineDelta;
        if (!found)
            return tally;
        from = RawBlocks::sectionEnd(text, *opener, at);
        if (from == std::string_view::npos) {
            open_ = opener;
            return tally;
        }
        LineTally rest;
        markerEnd = scanner_.scanToMarker(text.substr(from), rest);
        if (markerEnd == std::string_view::npos) {
            tally.lineDelta += rest.lineDelta;
            return tally;
        }
    }
}

// Other deltas are added in table order, over the parts joined; the counts of the entries,
// when kept, are those of this one scan.
LineTally LineIndenter::tallyOfJoinedParts(std::string_view text, std::size_t from) {
    raw_.split(text, from, split_);
    open_ = split_.opened;
    return scanner_.scan(split_.parts.size() == 1 ? split_.parts.front() : split_.joined());
}

// The line that ends a block is not indented, so its tags after the end move the level
// from the next line on, whatever its leading delta.
void LineIndenter::leaveRawLine(std::string_view line) {
    const std::size_t after = RawBlocks::findEnd(line, *open_, 0);
    if (after == std::string_view::npos)
        return;
    open_ = nullptr;
    level_ = levelPlus(level_, tally(line, after).lineDelta);
}

IndentedLine LineIndenter::indent(std::string_view line) {
    if (open_) {
        leaveRawLine(line);
        return {0, line};
    }
    const std::string_view text = stripLeadingBlanks(line);
    const std::int16_t written = applyTally(tally(text, 0), level_);
    return {written > 0 ? static_cast<std::size_t>(written) : 0, text};
}

// Step for step what indent(line) and leaveRawLine() do, keeping the tally; they stay as
// they are, so that a conversion pays nothing for explanations. The scanner's counts are
// those of the line when all its parts are scanned at once, which countEntries() makes sure
// of (partsAddUp() is then false).
IndentedLine LineIndenter::indent(std::string_view line, LineFindings& found) {
    scanner_.countEntries();
    found = {};
    if (open_) {
        const std::size_t after = RawBlocks::findEnd(line, *open_, 0);
        if (after != std::string_view::npos) {
            open_ = nullptr;
            found.tally = tally(line, after);
            found.counts = &scanner_.entryCounts();
            level_ = levelPlus(level_, found.tally.lineDelta);
        }
        return {0, line};
    }
    const std::string_view text = stripLeadingBlanks(line);
    found.tally = tally(text, 0);
    found.counts = &scanner_.entryCounts();
    const std::int16_t written = applyTally(found.tally, level_);
    return {written > 0 ? static_cast<std::size_t>(written) : 0, text};
}

void LineIndenter::indentLine(std::string_view line, std::string& out) {
    const IndentedLine indented = indent(line);
    out.append(indented.tabs, '\t');
    out.append(indented.text);
}

std::string indentLine(std::string_view line, const TagTable& table, std::int16_t& level) {
    LineIndenter indenter(table, level);
    std::string out;
    indenter.indentLine(line, out);
    level = indenter.level();
    return out;
}

} // namespace stepwell
