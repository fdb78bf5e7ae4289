// SPDX-License-Identifier: MIT
#include "engine/core/tag_automaton.h"

#include "frame/text/ascii.h"
#include "frame/text/error.h"

#include <algorithm>
#include <deque>

namespace stepwell {
namespace {

constexpr std::int32_t none = -1;

} // namespace

// The tags and markers as a trie over input classes, which complete() then turns into the
// automaton (Aho-Corasick): every state gets a transition for every class, and learns which
// tags, beginnings of tags and markers the text read so far ends with.
struct TagAutomaton::Trie {
    explicit Trie(std::uint32_t classCount) : classes(classCount) { addState(); }

    std::uint32_t states() const { return static_cast<std::uint32_t>(ends.size()); }
    std::int32_t& child(std::uint32_t state, std::uint32_t cls) {
        return children[state * classes + cls];
    }

    std::uint32_t addState() {
        children.resize(children.size() + classes, none);
        ends.emplace_back();
        partial.push_back(false);
        markerPartial.push_back(false);
        marked.push_back(false);
        return states() - 1;
    }

    // Adds the states that `text` lacks and returns the one where it ends. For a tag, the
    // states on the way (not the root, not its end) begin one; a marker's begin a marker, not
    // a tag, as markers are looked for in the line as it is, never in what removals leave.
    std::uint32_t insert(const std::string& text, const std::array<std::uint8_t, 256>& classOf,
                         bool isTag) {
        std::uint32_t state = 0;
        for (std::size_t k = 0; k < text.size(); ++k) {
            const std::uint32_t cls = classOf[static_cast<unsigned char>(text[k])];
            if (child(state, cls) == none) {
                const std::uint32_t added = addState();
                child(state, cls) = static_cast<std::int32_t>(added);
            }
            state = static_cast<std::uint32_t>(child(state, cls));
            if (k + 1 < text.size())
                (isTag ? partial : markerPartial)[state] = true;
        }
        return state;
    }

    // Breadth first, so that a state's fallback (its longest proper suffix in the trie) is
    // complete before the state itself, and the state inherits what its fallback ends with.
    void complete() {
        std::vector<std::uint32_t> fallback(states(), 0);
        next.assign(std::size_t{states()} * classes, 0);
        std::deque<std::uint32_t> queue;
        for (std::uint32_t cls = 0; cls < classes; ++cls) {
            const std::int32_t first = child(0, cls);
            if (first != none) {
                next[cls] = static_cast<std::uint32_t>(first);
                queue.push_back(static_cast<std::uint32_t>(first));
            }
        }
        while (!queue.empty()) {
            const std::uint32_t state = queue.front();
            queue.pop_front();
            const std::uint32_t back = fallback[state];
            const auto& inherited = ends[back];
            ends[state].insert(ends[state].end(), inherited.begin(), inherited.end());
            std::sort(ends[state].begin(), ends[state].end());
            partial[state] = partial[back] || partial[state];
            markerPartial[state] = markerPartial[back] || markerPartial[state];
            marked[state] = marked[state] || marked[back];
            for (std::uint32_t cls = 0; cls < classes; ++cls) {
                const std::int32_t grown = child(state, cls);
                const std::uint32_t viaFallback = next[back * classes + cls];
                if (grown == none) {
                    next[state * classes + cls] = viaFallback;
                } else {
                    next[state * classes + cls] = static_cast<std::uint32_t>(grown);
                    fallback[static_cast<std::uint32_t>(grown)] = viaFallback;
                    queue.push_back(static_cast<std::uint32_t>(grown));
                }
            }
        }
    }

    std::uint32_t classes;
    std::vector<std::int32_t> children;
    std::vector<std::vector<std::uint8_t>> ends; // entries whose tag ends at each state
    // Whether the text read ends with the beginning of a tag (with its own path only, until
    // complete()).
    std::vector<bool> partial;
    std::vector<bool> markerPartial; // the same for the beginnings of markers
    std::vector<bool> marked;        // whether the text read ends with a marker
    std::vector<std::uint32_t> next; // after complete(): the target of each state and class
};

TagAutomaton::TagAutomaton(std::span<const TagEntry> entries,
                           std::span<const std::string> markers) {
    assignClasses(entries, markers);
    Trie trie = buildTrie(entries, markers);
    trie.complete();
    layOutTable(trie);
    noteFirstBytes(entries, markers);
}

// Each byte that occurs in a tag or a marker gets its own class, all others share class 0.
void TagAutomaton::assignClasses(std::span<const TagEntry> entries,
                                 std::span<const std::string> markers) {
    const auto addClasses = [&](const std::string& text) {
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (classOf_[byte] == 0)
                classOf_[byte] = static_cast<std::uint8_t>(classes_++);
        }
    };
    for (const TagEntry& entry : entries)
        addClasses(entry.tag);
    for (const std::string& marker : markers)
        addClasses(marker);
    // Tags are upper-cased, so a lower-case letter reads as its capital.
    for (std::size_t byte = 0; byte < classOf_.size(); ++byte)
        classOf_[byte] = classOf_[static_cast<unsigned char>(upperAscii(static_cast<char>(byte)))];
}

TagAutomaton::Trie TagAutomaton::buildTrie(std::span<const TagEntry> entries,
                                           std::span<const std::string> markers) const {
    Trie trie(classes_);
    for (std::size_t i = 0; i < entries.size(); ++i)
        trie.ends[trie.insert(entries[i].tag, classOf_, true)].push_back(
            static_cast<std::uint8_t>(i));
    for (const std::string& marker : markers)
        trie.marked[trie.insert(marker, classOf_, false)] = true;
    // A state is kept as its row offset, below the flag bits.
    if (std::uint64_t{trie.states()} * classes_ * 2 >= markerPartFlag) // the lowest flag
        throw Error("the tags are too long to be matched");
    return trie;
}

// Rows as wide as a power of two, so that a state's number is its offset shifted, and each
// transition carries the flags of its target, so that next() is one load.
void TagAutomaton::layOutTable(const Trie& trie) {
    const std::uint32_t states = trie.states();
    while ((1u << rowShift_) < classes_)
        ++rowShift_;
    std::vector<State> flagsOf(states);
    for (std::uint32_t state = 0; state < states; ++state)
        flagsOf[state] = (trie.ends[state].empty() ? 0 : matchFlag) |
                         (trie.partial[state] ? partFlag : 0) |
                         (trie.marked[state] ? markerFlag : 0) |
                         (trie.markerPartial[state] ? markerPartFlag : 0);
    table_.assign(std::size_t{states} << rowShift_, 0);
    for (std::uint32_t state = 0; state < states; ++state)
        for (std::uint32_t cls = 0; cls < classes_; ++cls) {
            const std::uint32_t target = trie.next[state * classes_ + cls];
            table_[(state << rowShift_) + cls] = target << rowShift_ | flagsOf[target];
        }
    matchBegin_.reserve(states + 1);
    for (const auto& ends : trie.ends) {
        matchBegin_.push_back(static_cast<std::uint32_t>(matchList_.size()));
        matchList_.insert(matchList_.end(), ends.begin(), ends.end());
    }
    matchBegin_.push_back(static_cast<std::uint32_t>(matchList_.size()));
}

// The bytes that can begin a tag or a marker, in either case, so that the scan can skip to
// the next one while the automaton idles.
void TagAutomaton::noteFirstBytes(std::span<const TagEntry> entries,
                                  std::span<const std::string> markers) {
    int firstBytes = 0;
    const auto markFirst = [&](unsigned char byte) {
        if (!beginsTag_[byte]) {
            beginsTag_[byte] = true;
            soleFirstByte_ = byte;
            ++firstBytes;
        }
    };
    const auto markFirstOf = [&](const std::string& text) {
        const auto first = static_cast<unsigned char>(text.front());
        markFirst(first);
        markFirst(static_cast<unsigned char>(lowerAscii(static_cast<char>(first))));
    };
    for (const TagEntry& entry : entries)
        markFirstOf(entry.tag);
    for (const std::string& marker : markers)
        markFirstOf(marker);
    if (firstBytes != 1)
        soleFirstByte_ = -1;
}

} // namespace stepwell
