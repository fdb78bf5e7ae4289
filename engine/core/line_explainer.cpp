// SPDX-License-Identifier: MIT
#include "engine/core/line_explainer.h"

#include "frame/text/shown_text.h"

#include <algorithm>

namespace stepwell {
namespace {

// The widths of the columns before the text.
constexpr int lineWidth = 7, levelWidth = 6, ruleWidth = 22, leadWidth = 5, entriesWidth = 30;
constexpr std::size_t shownText = 60;

std::string_view ruleName(const LineExplanation& line) {
    switch (line.placement) {
    case Placement::AtLevel:
        return line.opensBlock ? "at level, opens raw" : "at level";
    case Placement::OneOut:
        return line.opensBlock ? "one out, opens raw" : "one out";
    case Placement::OutBySum:
        return line.opensBlock ? "out by sum, opens raw" : "out by sum";
    case Placement::RawCopy:
        return "raw, as it is";
    case Placement::RawEnd:
        return line.opensBlock ? "raw end, opens raw" : "raw end";
    }
    return "";
}

void appendPadded(std::string& row, std::string_view text, int width, bool right) {
    const std::size_t size = static_cast<std::size_t>(width);
    const std::size_t fill = text.size() < size ? size - text.size() : 0;
    if (right)
        row.append(fill, ' ');
    row.append(text);
    if (!right)
        row.append(fill, ' ');
}

std::string padded(std::string_view text, int width, bool right) {
    std::string row;
    appendPadded(row, text, width, right);
    return row;
}

// The line's text cut to `shownText` bytes (never inside a UTF-8 sequence), escaped.
void appendShortened(std::string& row, std::string_view text) {
    std::size_t cut = text.size();
    if (cut > shownText) {
        cut = shownText;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
    }
    const std::string_view shown = text.substr(0, cut);
    const bool plain = std::all_of(shown.begin(), shown.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
    });
    if (plain)
        row.append(shown);
    else
        row.append(escapeControlBytes(shown));
    if (cut < text.size())
        row.append("...");
}

std::string entriesText(const std::vector<CountedEntry>& counted) {
    std::string text;
    for (const CountedEntry& entry : counted) {
        if (!text.empty())
            text += "; ";
        text += escapeControlBytes(entry.tag) + ',' + escapeControlBytes(entry.deltaText);
        if (entry.times > 1)
            text += " x" + std::to_string(entry.times);
    }
    return text.empty() ? "-" : text;
}

} // namespace

LineExplainer::LineExplainer(const TagTable& table)
    : indenter_(table), raw_(table), counts_(raw_.ordinaryTable()) {}

LineExplanation LineExplainer::explain(std::string_view line) {
    LineExplanation explained;
    explained.level = indenter_.level();
    std::string_view counted; // the text whose tags count
    std::size_t from = 0;
    if (indenter_.inRawBlock()) {
        const std::size_t after = RawBlocks::findEnd(line, *open_, 0);
        explained.placement =
            after == std::string_view::npos ? Placement::RawCopy : Placement::RawEnd;
        counted = line;
        from = after;
    } else {
        counted = stripLeadingBlanks(line);
    }
    const IndentedLine written = indenter_.indent(line);
    explained.tabs = written.tabs;
    explained.text = written.text;
    explained.next = indenter_.level();
    if (from != std::string_view::npos) {
        raw_.split(counted, from, split_);
        counts_.count(split_.parts.size() == 1 ? split_.parts.front() : split_.joined());
        open_ = split_.opened;
        explained.opensBlock = split_.opened != nullptr;
        explained.lineDelta = counts_.lineDelta();
        explained.leadDelta = counts_.leadDelta();
        for (std::size_t i = 0; i < counts_.times().size(); ++i)
            if (counts_.times()[i] > 0)
                explained.counted.push_back(
                    {counts_.entries()[i].tag, counts_.entries()[i].deltaText, counts_.times()[i]});
    }
    if (explained.placement == Placement::AtLevel && explained.leadDelta < 0) {
        if (explained.lineDelta < 0)
            explained.placement = Placement::OutBySum;
        else if (explained.lineDelta == 0)
            explained.placement = Placement::OneOut;
    }
    if (explained.placement == Placement::OutBySum)
        explained.level = explained.next;
    else if (explained.placement == Placement::OneOut)
        explained.level -= 1;
    return explained;
}

std::string explanationHeading() {
    return padded("line", lineWidth, true) + padded("level", levelWidth, true) +
           padded("next", levelWidth, true) + "  " + padded("rule", ruleWidth, false) +
           padded("lead", leadWidth, true) + "  " + padded("entries counted", entriesWidth, false) +
           "  text\n";
}

std::string explanationRow(std::uint64_t lineNumber, const LineExplanation& line) {
    std::string row;
    appendExplanationRow(lineNumber, line, row);
    return row;
}

void appendExplanationRow(std::uint64_t lineNumber, const LineExplanation& line, std::string& row) {
    const bool raw = line.placement == Placement::RawCopy || line.placement == Placement::RawEnd;
    appendPadded(row, std::to_string(lineNumber), lineWidth, true);
    appendPadded(row, raw ? "-" : std::to_string(line.level), levelWidth, true);
    appendPadded(row, std::to_string(line.next), levelWidth, true);
    row += "  ";
    appendPadded(row, ruleName(line), ruleWidth, false);
    appendPadded(row, raw ? "-" : std::to_string(line.leadDelta), leadWidth, true);
    row += "  ";
    appendPadded(row, line.counted.empty() ? "-" : entriesText(line.counted), entriesWidth, false);
    row += "  ";
    appendShortened(row, line.text);
    row += '\n';
}

} // namespace stepwell
