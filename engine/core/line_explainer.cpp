// SPDX-License-Identifier: MIT
#include "engine/core/line_explainer.h"

#include "frame/text/shown_text.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace stepwell {
namespace {

// The widths of the columns before the text.
constexpr std::size_t lineWidth = 7, levelWidth = 6, ruleWidth = 22, leadWidth = 5,
                      entriesWidth = 30;
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

// Whether `text` holds no control byte (below 0x20, or 0x7F). Every row checks its text, so
// this reads eight bytes at a time: a word has a byte below n (n at most 0x80) when
// (word - n * ones) & ~word & highs is not zero, and a byte 0x7F when word ^ (0x7F * ones)
// has a byte below 1.
bool plainText(std::string_view text) {
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    const auto hasByteBelow = [](std::uint64_t word, std::uint64_t n) {
        return ((word - n * ones) & ~word & highs) != 0;
    };
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if (hasByteBelow(word, 0x20) || hasByteBelow(word ^ (0x7F * ones), 1))
            return false;
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F; });
}

// The most bytes that text shown with its control bytes escaped takes ("\x1b" for one).
constexpr std::size_t escapedSize(std::size_t size) {
    return 4 * size;
}
// The most a number takes: 20 digits, or a sign and 19.
constexpr std::size_t numberSize = 20;

// Writes one row straight into the end of the rows: it grows them first by the most the row
// can take, in blanks, so that padding a column is a step over them and no write checks for
// room; when done, it cuts them back to what it wrote.
class RowWriter {
public:
    RowWriter(std::string& rows, std::size_t most) : rows_(rows) {
        const std::size_t start = rows.size();
        rows.resize(start + most, ' ');
        at_ = rows.data() + start;
    }
    ~RowWriter() { rows_.resize(static_cast<std::size_t>(at_ - rows_.data())); }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    const char* at() const { return at_; }
    void put(std::string_view text) {
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
    }
    void put(char c) { *at_++ = c; }
    void skip(std::size_t blanks) { at_ += blanks; }
    void putPadded(std::string_view text, std::size_t width, bool right) {
        const std::size_t fill = text.size() < width ? width - text.size() : 0;
        if (right)
            skip(fill);
        put(text);
        if (!right)
            skip(fill);
    }
    /// A whole number aligned right in `width`.
    void putNumber(std::int64_t number, std::size_t width) {
        putDigits(number < 0 ? 0 - static_cast<std::uint64_t>(number)
                             : static_cast<std::uint64_t>(number),
                  number < 0, width);
    }
    void putCount(std::uint64_t count, std::size_t width) { putDigits(count, false, width); }
    /// `text` with its control bytes escaped; nearly every text has none.
    void putShown(std::string_view text) {
        if (plainText(text))
            put(text);
        else
            put(escapeControlBytes(text));
    }

private:
    void putDigits(std::uint64_t magnitude, bool negative, std::size_t width) {
        char digits[numberSize];
        char* first = std::end(digits);
        do {
            *--first = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (negative)
            *--first = '-';
        putPadded({first, static_cast<std::size_t>(std::end(digits) - first)}, width, true);
    }

    std::string& rows_;
    char* at_ = nullptr;
};

// The entries as "<LI,1; </LI>,-1 x2", or "-", padded to their column.
void putEntries(RowWriter& row, const std::vector<CountedEntry>& counted) {
    const char* start = row.at();
    if (counted.empty())
        row.put('-');
    for (const CountedEntry& entry : counted) {
        if (&entry != &counted.front())
            row.put("; ");
        row.putShown(entry.tag);
        row.put(',');
        row.putShown(entry.deltaText);
        if (entry.times > 1) {
            row.put(" x");
            row.putCount(entry.times, 0);
        }
    }
    const auto width = static_cast<std::size_t>(row.at() - start);
    if (width < entriesWidth)
        row.skip(entriesWidth - width);
}

std::size_t entriesSize(const std::vector<CountedEntry>& counted) {
    std::size_t size = entriesWidth;
    for (const CountedEntry& entry : counted)
        size += escapedSize(entry.tag.size()) + escapedSize(entry.deltaText.size()) + numberSize +
                5; // "; ", ',' and " x"
    return size;
}

// The line's text cut to `shownText` bytes (never inside a UTF-8 sequence), escaped.
void putShortened(RowWriter& row, std::string_view text) {
    std::size_t cut = text.size();
    if (cut > shownText) {
        cut = shownText;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
    }
    row.putShown(text.substr(0, cut));
    if (cut < text.size())
        row.put("...");
}

} // namespace

LineExplainer::LineExplainer(const TagTable& table) : matcher_(table), indenter_(matcher_) {}

LineExplanation LineExplainer::explain(std::string_view line) {
    LineExplanation explained;
    explain(line, explained);
    return explained;
}

void LineExplainer::explain(std::string_view line, LineExplanation& explained) {
    const bool inBlock = indenter_.inRawBlock();
    const int before = indenter_.level();
    const IndentedLine written = indenter_.indent(line, found_);
    explained.level = before;
    explained.tabs = written.tabs;
    explained.text = written.text;
    explained.next = indenter_.level();
    explained.lineDelta = found_.tally.lineDelta;
    explained.leadDelta = found_.tally.leadDelta;
    explained.counted.clear();
    explained.placement = Placement::AtLevel;
    explained.opensBlock = false;
    if (inBlock)
        explained.placement = found_.counts ? Placement::RawEnd : Placement::RawCopy;
    if (found_.counts) {
        // A block still open after a line that was scanned opened on it.
        explained.opensBlock = indenter_.inRawBlock();
        const std::vector<ScanEntry>& entries = matcher_.patterns().entries;
        for (const std::uint8_t entry : found_.counts->entries())
            explained.counted.push_back(
                {entries[entry].tag, entries[entry].deltaText, found_.counts->times(entry)});
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
}

std::string explanationHeading() {
    std::string heading;
    RowWriter row(heading, 128);
    row.putPadded("line", lineWidth, true);
    row.putPadded("level", levelWidth, true);
    row.putPadded("next", levelWidth, true);
    row.put("  ");
    row.putPadded("rule", ruleWidth, false);
    row.putPadded("lead", leadWidth, true);
    row.put("  ");
    row.putPadded("entries counted", entriesWidth, false);
    row.put("  text\n");
    return heading;
}

std::string explanationRow(std::uint64_t lineNumber, const LineExplanation& line) {
    std::string row;
    appendExplanationRow(lineNumber, line, row);
    return row;
}

void appendExplanationRow(std::uint64_t lineNumber, const LineExplanation& line,
                          std::string& rows) {
    const bool raw = line.placement == Placement::RawCopy || line.placement == Placement::RawEnd;
    // The columns before the entries: four numbers, two gaps and the rule; then the entries,
    // a gap, the text with "..." and the line feed.
    const std::string_view rule = ruleName(line);
    const std::size_t headSize = 4 * numberSize + 4 + std::max(rule.size(), ruleWidth);
    RowWriter row(rows, headSize + entriesSize(line.counted) + 2 + escapedSize(shownText) + 4);
    row.putCount(lineNumber, lineWidth);
    if (raw)
        row.putPadded("-", levelWidth, true);
    else
        row.putNumber(line.level, levelWidth);
    row.putNumber(line.next, levelWidth);
    row.put("  ");
    row.putPadded(rule, ruleWidth, false);
    if (raw)
        row.putPadded("-", leadWidth, true);
    else
        row.putNumber(line.leadDelta, leadWidth);
    row.put("  ");
    putEntries(row, line.counted);
    row.put("  ");
    putShortened(row, line.text);
    row.put('\n');
}

} // namespace stepwell
