#include "reference_scan.h"

#include "numbers.h"

#include <string>

namespace stepwell::test {

LineTally referenceScan(std::string_view text, const TagTable& table) {
    const auto entries = table.usable();
    LineTally tally;
    std::string scan = upperAscii(text);
    std::size_t i = 0;
    while (i < entries.size()) {
        const TagEntry& entry = entries[i];
        const auto position = scan.find(entry.tag);
        if (position == scan.npos) {
            ++i;
            continue;
        }
        scan.erase(position, entry.tag.size());
        if (!entry.delta)
            throw LineError("tag \"" + entry.tag + "\" has the delta \"" + entry.deltaText +
                            "\", which is not a number");
        tally.lineDelta += *entry.delta;
        if (position == 0) {
            const auto lead = roundToInt16(*entry.delta);
            if (!lead)
                throw LineError("the delta \"" + entry.deltaText + "\" of tag \"" + entry.tag +
                                "\" is outside -32768 to 32767");
            tally.leadDelta = *lead;
        }
        i = 0;
    }
    return tally;
}

} // namespace stepwell::test
