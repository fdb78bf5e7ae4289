// SPDX-License-Identifier: MIT
#include "tests/support/reference_indenter.h"

#include "engine/core/tag_table.h"

#include <algorithm>
#include <cmath>

namespace stepwell::test {
namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

// Position of `tag` in `text`, comparing both upper-cased; npos when absent.
std::size_t findIgnoringCase(const std::string& text, const std::string& tag) {
    const auto hit = std::search(text.begin(), text.end(), tag.begin(), tag.end(),
                                 [](char a, char b) { return upper(a) == upper(b); });
    return hit == text.end() && !tag.empty() ? std::string::npos
                                             : static_cast<std::size_t>(hit - text.begin());
}

// Whether `tag` stands in `text` at `at`, comparing both upper-cased.
bool standsAt(const std::string& text, std::size_t at, const std::string& tag) {
    if (text.size() - at < tag.size())
        return false;
    for (std::size_t i = 0; i < tag.size(); ++i)
        if (upper(text[at + i]) != upper(tag[i]))
            return false;
    return true;
}

// The entries before the first empty tag.
std::size_t usableCount(const std::vector<RefEntry>& table) {
    std::size_t count = 0;
    while (count < table.size() && !table[count].tag.empty())
        ++count;
    return count;
}

// The text of `text` from `from` on whose tags count: each raw section (the leftmost raw tag,
// the earlier entry on a tie, through its end text or the end of the line) becomes one line
// feed. Sets `open` when a section runs to the end of the line; false for an empty end text.
bool ordinaryText(const std::string& text, std::size_t from, const std::vector<RefEntry>& table,
                  int& open, std::string& ordinary) {
    const std::size_t usable = usableCount(table);
    std::size_t at = from;
    for (;;) {
        std::size_t place = std::string::npos;
        std::size_t which = 0;
        for (std::size_t p = at; p < text.size() && place == std::string::npos; ++p)
            for (std::size_t i = 0; i < usable; ++i)
                if (table[i].rawEnd && standsAt(text, p, table[i].tag)) {
                    place = p;
                    which = i;
                    break;
                }
        if (place == std::string::npos) {
            ordinary += text.substr(at);
            return true;
        }
        ordinary += text.substr(at, place - at) + '\n';
        const std::string& end = *table[which].rawEnd;
        if (end.empty())
            return false;
        const std::string rest = text.substr(place + table[which].tag.size());
        const std::size_t found = findIgnoringCase(rest, end);
        if (found == std::string::npos) {
            open = static_cast<int>(which);
            return true;
        }
        at = place + table[which].tag.size() + found + end.size();
    }
}

// The tally of a line, or nothing for an error: a delta error, or deltas that add up to no
// number at all (an error whatever the line starts with).
std::optional<RefTally> lineTally(const std::string& text, const std::vector<RefEntry>& table) {
    const RefTally tally = refTally(text, table);
    if (!tally.error.empty() || std::isnan(tally.sum))
        return std::nullopt;
    return tally;
}

} // namespace

RefEntry refEntry(std::string tag, std::string deltaText, std::optional<double> delta) {
    RefEntry entry{std::move(tag), std::move(deltaText), delta, std::nullopt};
    const std::string& text = entry.deltaText;
    if (text.size() >= 4 && upper(text[0]) == 'R' && upper(text[1]) == 'A' &&
        upper(text[2]) == 'W' && text[3] == ':')
        entry.rawEnd = text.substr(4);
    return entry;
}

std::vector<RefEntry> refEntries(const TagTable& table) {
    std::vector<RefEntry> entries;
    for (const TagEntry& entry : table.entries())
        entries.push_back(refEntry(entry.tag, entry.deltaText, entry.delta));
    return entries;
}

std::optional<int> refRound16(double value) {
    if (std::isnan(value))
        return std::nullopt;
    const double below = std::floor(value);
    const double rest = value - below;
    double result = below + 1;
    if (rest < 0.5 || (rest == 0.5 && std::fmod(below, 2.0) == 0))
        result = below;
    if (result < -32768 || result > 32767)
        return std::nullopt;
    return static_cast<int>(result);
}

RefTally refTally(std::string_view text, const std::vector<RefEntry>& table) {
    std::vector<std::size_t> entries;
    for (std::size_t i = 0; i < usableCount(table); ++i)
        if (!table[i].rawEnd)
            entries.push_back(i);
    RefTally tally;
    tally.times.assign(table.size(), 0);
    std::string scan(text);
    for (std::size_t i = 0; i < entries.size();) {
        const RefEntry& entry = table[entries[i]];
        const std::size_t p = findIgnoringCase(scan, entry.tag);
        if (p == std::string::npos) {
            ++i;
            continue;
        }
        scan.erase(p, entry.tag.size());
        if (!entry.delta) {
            tally.error = "tag \"" + entry.tag + "\" has the delta \"" + entry.deltaText +
                          "\", which is not a number";
            return tally;
        }
        tally.sum += *entry.delta;
        ++tally.times[entries[i]];
        if (p == 0) {
            const auto rounded = refRound16(*entry.delta);
            if (!rounded) {
                tally.error = "the delta \"" + entry.deltaText + "\" of tag \"" + entry.tag +
                              "\" is outside -32768 to 32767";
                return tally;
            }
            tally.lead = *rounded;
        }
        i = 0;
    }
    return tally;
}

std::optional<std::string> refIndentLine(std::string_view line, const std::vector<RefEntry>& table,
                                         RefState& state) {
    auto move = [&state](double by) {
        const auto rounded = refRound16(state.level + by);
        if (rounded)
            state.level = *rounded;
        return rounded.has_value();
    };
    if (state.open >= 0) {
        // Inside a raw block the line is copied; the one holding the end text moves the level
        // by the tags behind it, from the next line on.
        const std::string raw(line);
        const std::string& end = *table[static_cast<std::size_t>(state.open)].rawEnd;
        const std::size_t found = findIgnoringCase(raw, end);
        if (found == std::string::npos)
            return raw;
        state.open = -1;
        std::string ordinary;
        if (!ordinaryText(raw, found + end.size(), table, state.open, ordinary))
            return std::nullopt;
        const auto tally = lineTally(ordinary, table);
        if (!tally || !move(tally->sum))
            return std::nullopt;
        return raw;
    }
    std::size_t first = 0;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
        ++first;
    const std::string text(line.substr(first));
    std::string ordinary;
    if (!ordinaryText(text, 0, table, state.open, ordinary))
        return std::nullopt;
    const auto tally = lineTally(ordinary, table);
    if (!tally)
        return std::nullopt;
    const double sum = tally->sum;
    const int lead = tally->lead;
    if (sum < 0 && lead < 0 && !move(sum))
        return std::nullopt;
    if (sum == 0 && lead < 0 && !move(-1))
        return std::nullopt;
    std::string out(static_cast<std::size_t>(std::max(state.level, 0)), '\t');
    out += text;
    if (sum == 0 && lead < 0 && !move(1))
        return std::nullopt;
    if ((sum > 0 || lead >= 0) && !move(sum))
        return std::nullopt;
    return out;
}

RefLines refSplit(std::string_view bytes) {
    RefLines split;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        split.byteOrderMark = true;
        bytes.remove_prefix(3);
    }
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        std::string lineBreak(1, c);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            lineBreak += '\n';
            ++i;
        }
        split.lines.push_back(line);
        split.breaks.push_back(lineBreak);
        line.clear();
    }
    if (!line.empty()) {
        split.lines.push_back(line);
        split.breaks.emplace_back();
    }
    return split;
}

std::optional<std::string> refConvert(std::string_view bytes, const std::vector<RefEntry>& table) {
    const RefLines split = refSplit(bytes);
    const std::string lineBreak =
        split.breaks.empty() || split.breaks[0].empty() ? "\n" : split.breaks[0];
    std::string out = split.byteOrderMark ? "\xEF\xBB\xBF" : "";
    RefState state;
    for (const std::string& line : split.lines) {
        const auto indented = refIndentLine(line, table, state);
        if (!indented)
            return std::nullopt;
        out += *indented + lineBreak;
    }
    return out;
}

} // namespace stepwell::test
