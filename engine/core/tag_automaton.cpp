#include "engine/core/tag_automaton.h"

#include "frame/text/ascii.h"
#include "frame/text/error.h"

#include <algorithm>
#include <deque>

namespace stepwell {
namespace {

constexpr std::int32_t none = -1;

// The trie of the tags, before it becomes a table of transitions.
struct Trie {
    explicit Trie(std::uint32_t classCount) : classes(classCount) { addState(); }

    std::uint32_t addState() {
        children.resize(children.size() + classes, none);
        ends.emplace_back();
        return static_cast<std::uint32_t>(ends.size() - 1);
    }
    std::int32_t& child(std::uint32_t state, std::uint32_t cls) {
        return children[state * classes + cls];
    }

    std::uint32_t classes;
    std::vector<std::int32_t> children;
    std::vector<std::vector<std::uint8_t>> ends; // entries whose tag ends at each state
};

} // namespace

TagAutomaton::TagAutomaton(std::span<const TagEntry> entries,
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

    Trie trie(classes_);
    const auto insert = [&](const std::string& text) {
        std::uint32_t state = 0;
        for (const char c : text) {
            const std::uint32_t cls = classOf_[static_cast<unsigned char>(c)];
            if (trie.child(state, cls) == none) {
                const std::uint32_t added = trie.addState();
                trie.child(state, cls) = static_cast<std::int32_t>(added);
            }
            state = static_cast<std::uint32_t>(trie.child(state, cls));
        }
        return state;
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint32_t state = insert(entries[i].tag);
        trie.ends[state].push_back(static_cast<std::uint8_t>(i));
    }
    std::vector<std::uint32_t> markerEnds;
    for (const std::string& marker : markers)
        markerEnds.push_back(insert(marker));
    const auto states = static_cast<std::uint32_t>(trie.ends.size());
    // The states on the way into a tag (not the root, not its end) begin one; those that
    // only markers pass through do not.
    std::vector<bool> beginsTagHere(states, false);
    for (const TagEntry& entry : entries) {
        std::uint32_t state = 0;
        for (std::size_t k = 0; k + 1 < entry.tag.size(); ++k) {
            state = static_cast<std::uint32_t>(
                trie.child(state, classOf_[static_cast<unsigned char>(entry.tag[k])]));
            beginsTagHere[state] = true;
        }
    }
    std::vector<bool> marked(states, false);
    for (const std::uint32_t state : markerEnds)
        marked[state] = true;
    // A state is kept as its row offset, below the flag bits.
    if (std::uint64_t{states} * classes_ * 2 >= markerFlag)
        throw Error("the tags are too long to be matched");

    // Breadth first, so that a state's fallback (its longest proper suffix in the trie) is
    // complete before the state itself.
    std::vector<std::uint32_t> fallback(states, 0);
    // Whether the state, or a shorter text it ends with, can still grow into a tag.
    std::vector<bool> partial(states, false);
    std::vector<std::uint32_t> next(std::size_t{states} * classes_, 0);
    std::deque<std::uint32_t> queue;
    for (std::uint32_t cls = 0; cls < classes_; ++cls) {
        const std::int32_t child = trie.child(0, cls);
        if (child != none) {
            next[cls] = static_cast<std::uint32_t>(child);
            queue.push_back(static_cast<std::uint32_t>(child));
        }
    }
    while (!queue.empty()) {
        const std::uint32_t state = queue.front();
        queue.pop_front();
        auto& ends = trie.ends[state];
        const auto& inherited = trie.ends[fallback[state]];
        ends.insert(ends.end(), inherited.begin(), inherited.end());
        std::sort(ends.begin(), ends.end());
        partial[state] = partial[fallback[state]] || beginsTagHere[state];
        marked[state] = marked[state] || marked[fallback[state]];
        for (std::uint32_t cls = 0; cls < classes_; ++cls) {
            const std::int32_t child = trie.child(state, cls);
            const std::uint32_t viaFallback = next[fallback[state] * classes_ + cls];
            if (child == none) {
                next[state * classes_ + cls] = viaFallback;
            } else {
                next[state * classes_ + cls] = static_cast<std::uint32_t>(child);
                fallback[static_cast<std::uint32_t>(child)] = viaFallback;
                queue.push_back(static_cast<std::uint32_t>(child));
            }
        }
    }

    // Rows as wide as a power of two, so that a state's number is its offset shifted.
    while ((1u << rowShift_) < classes_)
        ++rowShift_;
    table_.assign(std::size_t{states} << rowShift_, 0);
    for (std::uint32_t state = 0; state < states; ++state)
        for (std::uint32_t cls = 0; cls < classes_; ++cls) {
            const std::uint32_t target = next[state * classes_ + cls];
            table_[(state << rowShift_) + cls] =
                target << rowShift_ | (trie.ends[target].empty() ? 0 : matchFlag) |
                (partial[target] ? partFlag : 0) | (marked[target] ? markerFlag : 0);
        }
    matchBegin_.reserve(states + 1);
    for (const auto& ends : trie.ends) {
        matchBegin_.push_back(static_cast<std::uint32_t>(matchList_.size()));
        matchList_.insert(matchList_.end(), ends.begin(), ends.end());
    }
    matchBegin_.push_back(static_cast<std::uint32_t>(matchList_.size()));

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

std::span<const std::uint8_t> TagAutomaton::matches(State state) const {
    const std::uint32_t index = (state & ~flags) >> rowShift_;
    return {matchList_.data() + matchBegin_[index], matchList_.data() + matchBegin_[index + 1]};
}

} // namespace stepwell
