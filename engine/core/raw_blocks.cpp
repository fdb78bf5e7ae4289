// SPDX-License-Identifier: MIT
#include "engine/core/raw_blocks.h"

#include "engine/core/line_error.h"
#include "frame/text/ascii.h"
#include "frame/text/shown_text.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace stepwell {
namespace {

constexpr std::string_view rawPrefix = "raw:";

void markEitherCase(bool (&bytes)[256], char upperByte) {
    bytes[static_cast<unsigned char>(upperByte)] = true;
    bytes[static_cast<unsigned char>(lowerAscii(upperByte))] = true;
}

} // namespace

bool isRawDelta(std::string_view deltaText) {
    return deltaText.size() >= rawPrefix.size() &&
           upperAscii(deltaText.substr(0, rawPrefix.size())) == upperAscii(rawPrefix);
}

RawBlocks::RawBlocks(const TagTable& table) {
    for (const TagEntry& entry : table.usable()) {
        if (!isRawDelta(entry.deltaText)) {
            ordinary_.add(entry.tag, entry.deltaText, entry.place);
            continue;
        }
        openers_.push_back({entry.tag, upperAscii(entry.deltaText.substr(rawPrefix.size())),
                            entry.deltaText, entry.place});
        openerTags_.push_back(entry.tag);
        longest_ = std::max(longest_, entry.tag.size());
        markEitherCase(startsOpener_, entry.tag[0]);
        if (entry.tag.size() == 1)
            std::fill(std::begin(followsFirst_), std::end(followsFirst_), true);
        else
            markEitherCase(followsFirst_, entry.tag[1]);
    }
    int firstBytes = 0;
    for (int byte = 0; byte < 256; ++byte)
        if (startsOpener_[byte]) {
            ++firstBytes;
            onlyFirstByte_ = byte;
        }
    if (firstBytes != 1)
        onlyFirstByte_ = -1;
}

std::size_t RawBlocks::findEnd(std::string_view text, const RawOpener& opener, std::size_t from) {
    const std::string& end = opener.end;
    if (end.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (text.size() < end.size())
        return std::string_view::npos;
    const std::size_t last = text.size() - end.size(); // the last place it can start
    const char first = end[0];
    // Most lines inside a block are content without the end: memchr skips them when the
    // end begins with a byte that has no other case.
    const bool caseless = lowerAscii(first) == first;
    for (std::size_t at = from; at <= last; ++at) {
        if (caseless) {
            const void* next = std::memchr(text.data() + at, first, last + 1 - at);
            if (!next)
                break;
            at = static_cast<std::size_t>(static_cast<const char*>(next) - text.data());
        } else if (upperAscii(text[at]) != first) {
            continue;
        }
        if (occursAt(text, at, end))
            return at + end.size();
    }
    return std::string_view::npos;
}

std::size_t RawBlocks::findOpener(std::string_view text, std::size_t from,
                                  const RawOpener*& opener) const {
    for (std::size_t at = from; at < text.size(); ++at) {
        if (onlyFirstByte_ >= 0) {
            // Every opener starts with the same byte (usually '<'): memchr finds the next one.
            const void* next = std::memchr(text.data() + at, onlyFirstByte_, text.size() - at);
            if (!next)
                break;
            at = static_cast<std::size_t>(static_cast<const char*>(next) - text.data());
        } else if (!startsOpener_[static_cast<unsigned char>(text[at])]) {
            continue; // most bytes cannot start an opener
        }
        // Nor can most pairs of bytes that do start with the right one.
        if (at + 1 < text.size() && !followsFirst_[static_cast<unsigned char>(text[at + 1])])
            continue;
        for (const RawOpener& candidate : openers_) {
            if (occursAt(text, at, candidate.tag)) {
                opener = &candidate;
                return at;
            }
        }
    }
    return std::string_view::npos;
}

std::size_t RawBlocks::sectionEnd(std::string_view text, const RawOpener& opener, std::size_t at) {
    if (opener.end.empty())
        throw LineError(placePrefix(opener.place) + "tag \"" + quotedText(opener.tag) +
                        "\" has the delta \"" + quotedText(opener.deltaText) +
                        "\", which names no end text after \"raw:\"");
    return findEnd(text, opener, at + opener.tag.size());
}

// No opener ends before `firstEnd`, so none starts further before it than the longest
// opener's length: the leftmost starts in that stretch.
std::size_t RawBlocks::openerEndingAt(std::string_view text, std::size_t from, std::size_t firstEnd,
                                      const RawOpener*& opener) const {
    return findOpener(text, std::max(from, firstEnd - std::min(firstEnd, longest_)), opener);
}

std::string_view RawSplit::joined() {
    buffer.clear();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            buffer.push_back('\n');
        buffer.append(parts[i]);
    }
    return buffer;
}

void RawBlocks::split(std::string_view text, std::size_t from, RawSplit& out) const {
    out.opened = nullptr;
    out.parts.clear();
    const RawOpener* opener = nullptr;
    std::size_t at = findOpener(text, from, opener);
    if (at == std::string_view::npos) {
        out.parts.push_back(text.substr(from));
        return;
    }
    out.parts.push_back(text.substr(from, at - from));
    for (;;) {
        const std::size_t after = sectionEnd(text, *opener, at);
        if (after == std::string_view::npos) {
            out.opened = opener;
            break;
        }
        at = findOpener(text, after, opener);
        out.parts.push_back(text.substr(after, at == std::string_view::npos ? at : at - after));
        if (at == std::string_view::npos)
            break;
    }
}

} // namespace stepwell
