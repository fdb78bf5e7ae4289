// SPDX-License-Identifier: MIT
#include "engine/core/scan_entry.h"

#include "engine/core/line_error.h"
#include "frame/text/numbers.h"
#include "frame/text/shown_text.h"

namespace stepwell {

ScanEntry::ScanEntry(const TagEntry& entry)
    : tag(entry.tag), deltaText(entry.deltaText), delta(entry.delta),
      lead(entry.delta ? roundToInt16(*entry.delta) : std::nullopt), place(entry.place) {}

void ScanEntry::throwNotANumber() const {
    throw LineError(placePrefix(place) + "tag \"" + quotedText(tag) + "\" has the delta \"" +
                    quotedText(deltaText) + "\", which is not a number");
}

void ScanEntry::throwLeadOutOfRange() const {
    throw LineError(placePrefix(place) + "the delta \"" + quotedText(deltaText) + "\" of tag \"" +
                    quotedText(tag) + "\" is outside -32768 to 32767");
}

} // namespace stepwell
