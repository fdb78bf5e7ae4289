// SPDX-License-Identifier: MIT
#include "engine/core/unified_diff.h"

namespace stepwell {
namespace {

constexpr std::size_t context = 3;

// The LF-ended lines of `text`; the last one may lack its LF.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t size = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, size));
        text.remove_prefix(size);
    }
    return lines;
}

// Whether `text` starting at `at` holds a whole UTF-8 sequence of more than one byte; its
// length, or 0.
std::size_t utf8SequenceAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(at);
    const std::size_t length = first >= 0xF0 && first <= 0xF4   ? 4
                               : first >= 0xE0                  ? 3
                               : first >= 0xC2 && first <= 0xDF ? 2
                                                                : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

// A file name as a diff's header gives it, so that `patch` and `git apply` both read it
// back whatever it holds: as it is when it holds only printable characters other than a
// space, a quote or a backslash; otherwise in double quotes with C escapes, bytes that are
// not UTF-8 in octal. No raw control byte reaches the output.
std::string headerName(std::string_view name) {
    bool plain = !name.empty();
    for (std::size_t i = 0; i < name.size() && plain; ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte >= 0x80) {
            const std::size_t length = utf8SequenceAt(name, i);
            plain = length != 0;
            i += length ? length - 1 : 0;
        } else {
            plain = byte > 0x20 && byte != 0x7F && byte != '"' && byte != '\\';
        }
    }
    if (plain)
        return std::string(name);
    std::string quoted = "\"";
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        static constexpr std::string_view named = "\a\b\t\n\v\f\r";
        if (byte == '"' || byte == '\\') {
            quoted += '\\';
            quoted += name[i];
        } else if (const auto at = named.find(name[i]); byte != 0 && at != named.npos) {
            quoted += '\\';
            quoted += "abtnvfr"[at];
        } else if (byte >= 0x20 && byte < 0x7F) {
            quoted += name[i];
        } else if (const std::size_t length = byte >= 0x80 ? utf8SequenceAt(name, i) : 0) {
            quoted.append(name.substr(i, length));
            i += length - 1;
        } else {
            quoted += '\\';
            quoted += static_cast<char>('0' + (byte >> 6));
            quoted += static_cast<char>('0' + ((byte >> 3) & 7));
            quoted += static_cast<char>('0' + (byte & 7));
        }
    }
    return quoted + '"';
}

// A hunk's range as the header gives it: a count of 1 is left out, and an empty range
// names the line before it.
std::string range(std::size_t start, std::size_t count) {
    if (count == 0)
        return std::to_string(start - 1) + ",0";
    if (count == 1)
        return std::to_string(start);
    return std::to_string(start) + "," + std::to_string(count);
}

} // namespace

UnifiedDiff::UnifiedDiff(std::string oldName, std::string newName, Sink sink)
    : oldName_(std::move(oldName)), newName_(std::move(newName)), sink_(std::move(sink)) {}

void UnifiedDiff::add(std::string_view oldPiece, std::string_view newPiece) {
    oldGroup_.append(oldPiece);
    newGroup_.append(newPiece);
    if (!oldGroup_.empty() && oldGroup_.back() == '\n' && !newGroup_.empty() &&
        newGroup_.back() == '\n')
        passOnGroup();
}

bool UnifiedDiff::finish() {
    passOnGroup();
    if (open_)
        closeHunk(std::min(trail_.size(), context));
    return differed_;
}

// Passes on the gathered pieces, which end at a line break in both texts (or at their ends).
void UnifiedDiff::passOnGroup() {
    if (oldGroup_ == newGroup_) {
        for (const std::string_view line : linesOf(oldGroup_))
            same(line);
    } else {
        change(linesOf(oldGroup_), linesOf(newGroup_));
    }
    oldGroup_.clear();
    newGroup_.clear();
}

void UnifiedDiff::same(std::string_view line) {
    ++oldLine_;
    ++newLine_;
    if (!open_) {
        before_.emplace_back(line);
        if (before_.size() > context)
            before_.pop_front();
        return;
    }
    trail_.emplace_back(line);
    // Changes further apart than twice the context go to hunks of their own.
    if (trail_.size() > 2 * context) {
        closeHunk(context);
        before_.assign(trail_.end() - context, trail_.end());
        trail_.clear();
    }
}

void UnifiedDiff::change(const std::vector<std::string_view>& removed,
                         const std::vector<std::string_view>& added) {
    if (!open_) {
        open_ = true;
        hunkOld_ = oldLine_ - before_.size();
        hunkNew_ = newLine_ - before_.size();
        oldCount_ = newCount_ = 0;
        hunk_.clear();
        for (const std::string& line : before_)
            appendLine(' ', line);
        before_.clear();
    }
    for (const std::string& line : trail_)
        appendLine(' ', line);
    trail_.clear();
    for (const std::string_view line : removed)
        appendLine('-', line);
    for (const std::string_view line : added)
        appendLine('+', line);
    oldLine_ += removed.size();
    newLine_ += added.size();
}

// Writes the open hunk with the first `trailing` unchanged lines after its last change.
void UnifiedDiff::closeHunk(std::size_t trailing) {
    for (std::size_t i = 0; i < trailing; ++i)
        appendLine(' ', trail_[i]);
    std::string text;
    if (!differed_)
        text = "--- " + headerName(oldName_) + "\n+++ " + headerName(newName_) + "\n";
    text += "@@ -" + range(hunkOld_, oldCount_) + " +" + range(hunkNew_, newCount_) + " @@\n";
    text += hunk_;
    differed_ = true;
    open_ = false;
    sink_(text);
}

void UnifiedDiff::appendLine(char mark, std::string_view line) {
    if (mark != '+')
        ++oldCount_;
    if (mark != '-')
        ++newCount_;
    hunk_ += mark;
    hunk_.append(line);
    if (line.empty() || line.back() != '\n')
        hunk_ += "\n\\ No newline at end of file\n";
}

} // namespace stepwell
