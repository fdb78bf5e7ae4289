#include "raw_blocks.h"

#include "line_indenter.h"

namespace stepwell {
namespace {

constexpr std::string_view rawPrefix = "raw:";

char upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Whether `upperText` (already upper-cased) occurs in `text` at `at`, ignoring ASCII case.
bool occursAt(std::string_view text, std::size_t at, std::string_view upperText) {
    if (text.size() - at < upperText.size())
        return false;
    for (std::size_t i = 0; i < upperText.size(); ++i)
        if (upper(text[at + i]) != upperText[i])
            return false;
    return true;
}

} // namespace

bool isRawDelta(std::string_view deltaText) {
    return deltaText.size() >= rawPrefix.size() &&
           upperAscii(deltaText.substr(0, rawPrefix.size())) == upperAscii(rawPrefix);
}

RawBlocks::RawBlocks(const TagTable& table) {
    for (const TagEntry& entry : table.usable()) {
        if (isRawDelta(entry.deltaText))
            openers_.push_back(
                {entry.tag, upperAscii(entry.deltaText.substr(rawPrefix.size())), entry.deltaText});
        else
            ordinary_.add(entry.tag, entry.deltaText);
    }
}

std::size_t RawBlocks::findEnd(std::string_view text, const RawOpener& opener, std::size_t from) {
    for (std::size_t at = from; at + opener.end.size() <= text.size(); ++at)
        if (occursAt(text, at, opener.end))
            return at + opener.end.size();
    return std::string_view::npos;
}

void RawBlocks::split(std::string_view text, std::size_t from, RawSplit& out) const {
    out.ordinary.clear();
    out.opened = nullptr;
    std::size_t at = from;
    while (at < text.size()) {
        const RawOpener* opener = nullptr;
        for (const RawOpener& candidate : openers_) {
            if (occursAt(text, at, candidate.tag)) {
                opener = &candidate;
                break;
            }
        }
        if (!opener) {
            out.ordinary.push_back(text[at++]);
            continue;
        }
        if (opener->end.empty())
            throw LineError("tag \"" + opener->tag + "\" has the delta \"" + opener->deltaText +
                            "\", which names no end text after \"raw:\"");
        out.ordinary.push_back('\n');
        const std::size_t after = findEnd(text, *opener, at + opener->tag.size());
        if (after == std::string_view::npos) {
            out.opened = opener;
            return;
        }
        at = after;
    }
}

} // namespace stepwell
