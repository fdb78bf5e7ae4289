// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/raw_blocks.h"
#include "engine/core/tag_scanner.h"
#include "engine/core/tag_table.h"

namespace stepwell {

/// A tag table made ready to indent with: its raw openers taken apart and the automaton
/// built over its other tags. Building one costs far more than indenting a small page, so a
/// run builds it once per table; it never changes afterwards, and any number of indenters
/// on any threads may share it.
class TagMatcher {
public:
    explicit TagMatcher(const TagTable& table);
    // The patterns refer to the raw blocks' openers.
    TagMatcher(const TagMatcher&) = delete;
    TagMatcher& operator=(const TagMatcher&) = delete;

    const RawBlocks& raw() const { return raw_; }
    /// The table without its raw entries, marking their openers.
    const ScanPatterns& patterns() const { return patterns_; }

private:
    RawBlocks raw_;
    ScanPatterns patterns_;
};

} // namespace stepwell
