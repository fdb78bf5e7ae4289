// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"

#include <cstdint>
#include <optional>
#include <string>

namespace stepwell {

/// A tag table entry as the scans count it. A bad delta is an error only where an occurrence
/// of its tag counts, so the checks wait for the checked accessors.
struct ScanEntry {
    explicit ScanEntry(const TagEntry& entry);

    /// The delta; throws LineError when it is not a number.
    double checkedDelta() const {
        if (!delta)
            throwNotANumber();
        return *delta;
    }
    /// The delta as a leading delta; throws LineError when it is not a number or out of range.
    std::int16_t checkedLead() const {
        checkedDelta();
        if (!lead)
            throwLeadOutOfRange();
        return *lead;
    }

    std::string tag;
    std::string deltaText;
    std::optional<double> delta;
    std::optional<std::int16_t> lead; // the delta as a leading delta, when in range
    std::string place;                // where the entry was read, for messages

private:
    [[noreturn]] void throwNotANumber() const;
    [[noreturn]] void throwLeadOutOfRange() const;
};

} // namespace stepwell
