#include "reference.h"

#include <algorithm>
#include <cmath>

namespace stepwell::fuzz {
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

} // namespace

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

std::optional<std::string> refIndentLine(std::string_view line, const std::vector<RefEntry>& table,
                                         int& level) {
    std::size_t first = 0;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
        ++first;
    const std::string text(line.substr(first));
    std::string scan = text;
    double sum = 0;
    int lead = 0;
    for (std::size_t i = 0; i < table.size() && !table[i].tag.empty();) {
        const std::size_t p = findIgnoringCase(scan, table[i].tag);
        if (p == std::string::npos) {
            ++i;
            continue;
        }
        scan.erase(p, table[i].tag.size());
        if (!table[i].delta)
            return std::nullopt;
        sum += *table[i].delta;
        if (p == 0) {
            const auto rounded = refRound16(*table[i].delta);
            if (!rounded)
                return std::nullopt;
            lead = *rounded;
        }
        i = 0;
    }
    // Deltas that cancel to no number at all are an error whatever the line starts with.
    if (std::isnan(sum))
        return std::nullopt;
    auto move = [&level](double by) {
        const auto rounded = refRound16(level + by);
        if (rounded)
            level = *rounded;
        return rounded.has_value();
    };
    if (sum < 0 && lead < 0 && !move(sum))
        return std::nullopt;
    if (sum == 0 && lead < 0 && !move(-1))
        return std::nullopt;
    std::string out(static_cast<std::size_t>(std::max(level, 0)), '\t');
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
    std::string lineBreak =
        split.breaks.empty() || split.breaks[0].empty() ? "\n" : split.breaks[0];
    std::string out = split.byteOrderMark ? "\xEF\xBB\xBF" : "";
    int level = 0;
    for (const std::string& line : split.lines) {
        const auto indented = refIndentLine(line, table, level);
        if (!indented)
            return std::nullopt;
        out += *indented + lineBreak;
    }
    return out;
}

} // namespace stepwell::fuzz
