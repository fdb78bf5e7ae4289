// SPDX-License-Identifier: MIT
#include "engine/core/indent_profile.h"

#include "frame/text/ascii.h"

#include <array>
#include <string>

namespace stepwell {
namespace {

// A region whose lines keep the indentation of their content, not of the markup.
struct Region {
    std::string_view opener; // upper-cased
    std::string_view end;    // upper-cased
    bool element;            // the opener is an element name, which must end there
};

constexpr std::array<Region, 5> regions{{{"<!--", "-->", false},
                                         {"<PRE", "</PRE", true},
                                         {"<TEXTAREA", "</TEXTAREA", true},
                                         {"<SCRIPT", "</SCRIPT", true},
                                         {"<STYLE", "</STYLE", true}}};

bool nameByte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == ':' || c == '_';
}

std::size_t findIgnoringCase(std::string_view text, std::string_view upper, std::size_t from) {
    for (std::size_t at = text.find(upper[0], from); at != std::string_view::npos;
         at = text.find(upper[0], at + 1))
        if (occursAt(text, at, upper))
            return at;
    return std::string_view::npos;
}

// Where `region`'s opener first occurs in `line` at or after `from`: npos when it does not.
std::size_t openerFrom(std::string_view line, const Region& region, std::size_t from) {
    for (std::size_t found = from;; ++found) {
        found = findIgnoringCase(line, region.opener, found);
        if (found == std::string_view::npos)
            return found;
        const std::size_t after = found + region.opener.size();
        if (!region.element || after == line.size() || !nameByte(line[after]))
            return found;
    }
}

// Follows the regions through one line: `open` is the region the line starts in (-1: none)
// and becomes the one it ends in. Each opener's next place is kept until the line is read
// past it, so a long line with many comments is read a few times, not once a comment.
void followRegions(std::string_view line, int& open) {
    constexpr std::size_t npos = std::string_view::npos;
    std::array<std::size_t, regions.size()> next{};
    std::array<bool, regions.size()> known{};
    std::size_t at = 0;
    for (;;) {
        if (open >= 0) {
            const Region& region = regions[static_cast<std::size_t>(open)];
            const std::size_t end = findIgnoringCase(line, region.end, at);
            if (end == npos)
                return;
            open = -1;
            at = end + region.end.size();
        }
        std::size_t first = npos;
        for (std::size_t i = 0; i < regions.size(); ++i) {
            if (!known[i] || (next[i] != npos && next[i] < at)) {
                next[i] = openerFrom(line, regions[i], at);
                known[i] = true;
            }
            if (next[i] < first) {
                first = next[i];
                open = static_cast<int>(i);
            }
        }
        if (first == npos)
            return;
        at = first + regions[static_cast<std::size_t>(open)].opener.size();
    }
}

struct Leading {
    std::size_t tabs = 0;
    std::size_t spaces = 0;
    std::size_t width = 0; // with tab stops every 8 columns
    bool blank = false;
};

Leading leadingOf(std::string_view line) {
    Leading leading;
    std::size_t i = 0;
    for (; i < line.size() && (line[i] == ' ' || line[i] == '\t'); ++i) {
        if (line[i] == '\t') {
            ++leading.tabs;
            leading.width = (leading.width / 8 + 1) * 8;
        } else {
            ++leading.spaces;
            ++leading.width;
        }
    }
    leading.blank = i == line.size();
    return leading;
}

// The largest unit that at least nine in ten of the indented lines' widths are multiples of.
int spaceUnit(const std::vector<std::size_t>& widths) {
    for (int unit : {8, 4, 3, 2}) {
        std::size_t whole = 0;
        for (std::size_t width : widths)
            whole += width % static_cast<std::size_t>(unit) == 0;
        if (whole * 10 >= widths.size() * 9)
            return unit;
    }
    return 1;
}

} // namespace

std::string_view IndentProfile::unitName() const {
    static constexpr std::array<std::string_view, 9> names{"tabs",     "1 space",  "2 spaces",
                                                           "3 spaces", "4 spaces", "5 spaces",
                                                           "6 spaces", "7 spaces", "8 spaces"};
    return unit >= 0 && unit < 9 ? names[static_cast<std::size_t>(unit)] : "spaces";
}

IndentProfile profileIndentation(std::span<const std::string_view> lines) {
    IndentProfile profile;
    std::vector<Leading> leading(lines.size());
    std::vector<bool> candidate(lines.size(), false);
    std::size_t byTabs = 0, bySpaces = 0;
    std::vector<std::size_t> widths;
    int open = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool outside = open < 0;
        followRegions(lines[i], open);
        leading[i] = leadingOf(lines[i]);
        if (!outside || leading[i].blank)
            continue;
        candidate[i] = true;
        byTabs += leading[i].tabs > 0 && leading[i].spaces == 0;
        bySpaces += leading[i].spaces > 0 && leading[i].tabs == 0;
        if (leading[i].width > 0)
            widths.push_back(leading[i].width);
    }
    profile.unit = byTabs >= bySpaces ? 0 : spaceUnit(widths);
    profile.levels.assign(lines.size(), -1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!candidate[i])
            continue;
        const Leading& at = leading[i];
        int level = -1;
        if (profile.unit == 0)
            level = at.spaces == 0 ? static_cast<int>(at.tabs) : -1;
        else if (at.width % static_cast<std::size_t>(profile.unit) == 0)
            level = static_cast<int>(at.width / static_cast<std::size_t>(profile.unit));
        profile.levels[i] = level;
        if (level >= 0) {
            ++profile.counted;
            profile.indented |= level > 0;
        }
    }
    return profile;
}

} // namespace stepwell
