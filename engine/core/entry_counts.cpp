// SPDX-License-Identifier: MIT
// The plain rule takes every occurrence of the first entry, then of the second, and so on,
// except where cutting one out joins text into an occurrence of an earlier entry. So each
// entry is swept once along the line, cutting its occurrences from left to right, and after
// each cut only the few bytes around the join are looked at: an occurrence of the same entry
// there is cut next, and one of an earlier entry (rare) hands the rest of the line to the
// plain rule itself, from the state the sweeps reached, which is the plain rule's own.
#include "engine/core/entry_counts.h"

#include "frame/text/ascii.h"
#include "frame/text/numbers.h"

namespace stepwell {

EntryCounts::EntryCounts(const TagTable& table) {
    for (const TagEntry& entry : table.usable())
        entries_.push_back(entry);
    times_.assign(entries_.size(), 0);
}

void EntryCounts::take(std::size_t entry, bool atStart) {
    ++times_[entry];
    const double delta = entries_[entry].delta.value_or(0);
    sum_ += delta;
    if (atStart)
        lead_ = roundToInt16(delta).value_or(0);
}

// Whether an entry before `entry` occurs across the join of kept_ and rest_ at `at`.
bool EntryCounts::joinsEarlier(std::size_t entry, std::size_t at) const {
    for (std::size_t earlier = 0; earlier < entry; ++earlier) {
        const std::string& tag = entries_[earlier].tag;
        const std::size_t left = std::min(tag.size() - 1, kept_.size());
        const std::string window =
            kept_.substr(kept_.size() - left) + rest_.substr(at, tag.size() - 1);
        if (window.find(tag) != std::string::npos)
            return true;
    }
    return false;
}

void EntryCounts::notePair(char first, char second) {
    const auto pair = static_cast<std::uint16_t>(static_cast<unsigned char>(first) << 8 |
                                                 static_cast<unsigned char>(second));
    if (!pairs_[pair]) {
        pairs_[pair] = 1;
        pairsSet_.push_back(pair);
    }
}

bool EntryCounts::mayOccur(const std::string& tag) const {
    for (std::size_t i = 1; i < tag.size(); ++i)
        if (!pairs_[static_cast<unsigned char>(tag[i - 1]) << 8 |
                    static_cast<unsigned char>(tag[i])])
            return false;
    return true;
}

void EntryCounts::countPlainly(std::string copy) {
    for (std::size_t entry = 0; entry < entries_.size();) {
        const std::size_t at = copy.find(entries_[entry].tag);
        if (at == std::string::npos) {
            ++entry;
            continue;
        }
        copy.erase(at, entries_[entry].tag.size());
        take(entry, at == 0);
        entry = 0;
    }
}

void EntryCounts::count(std::string_view text) {
    times_.assign(entries_.size(), 0);
    sum_ = 0;
    lead_ = 0;
    rest_.assign(text);
    for (char& c : rest_)
        c = upperAscii(c);
    for (std::uint16_t pair : pairsSet_)
        pairs_[pair] = 0;
    pairsSet_.clear();
    for (std::size_t i = 1; i < rest_.size(); ++i)
        notePair(rest_[i - 1], rest_[i]);
    for (std::size_t entry = 0; entry < entries_.size(); ++entry) {
        const std::string& tag = entries_[entry].tag;
        if (!mayOccur(tag) || rest_.find(tag) == std::string::npos)
            continue;
        kept_.clear();
        std::size_t read = 0;
        for (bool cut = false;; cut = true) {
            // After a cut, an occurrence across the join comes before any further right.
            const std::size_t left = std::min(tag.size() - 1, kept_.size());
            const std::size_t across =
                cut ? (kept_.substr(kept_.size() - left) + rest_.substr(read, tag.size() - 1))
                          .find(tag)
                    : std::string::npos;
            if (across != std::string::npos && across < left) {
                const std::size_t keptPart = left - across;
                kept_.resize(kept_.size() - keptPart);
                read += tag.size() - keptPart;
            } else {
                const std::size_t at = rest_.find(tag, read);
                if (at == std::string::npos)
                    break;
                kept_.append(rest_, read, at - read);
                read = at + tag.size();
            }
            take(entry, kept_.empty());
            if (!kept_.empty() && read < rest_.size())
                notePair(kept_.back(), rest_[read]);
            if (joinsEarlier(entry, read)) {
                countPlainly(kept_ + rest_.substr(read));
                return;
            }
        }
        kept_.append(rest_, read);
        rest_.swap(kept_);
    }
}

} // namespace stepwell
