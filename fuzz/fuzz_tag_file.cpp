// SPDX-License-Identifier: MIT
// The tag-file reader on any bytes: a table or an Error, never a crash, and a table that
// keeps its promises.
#include "engine/core/tag_table.h"
#include "frame/text/error.h"
#include "frame/text/numbers.h"

#include <cstdint>
#include <cstdlib>

using namespace stepwell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TagTable table;
    try {
        table = parseTagTable({reinterpret_cast<const char*>(data), size}, "StepwellTag.txt");
    } catch (const Error&) {
        return 0;
    }
    if (table.entries().size() > maxTagEntries)
        std::abort();
    for (const TagEntry& entry : table.entries()) {
        if (entry.tag.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
            std::abort();
        if (entry.delta != parseDecimal(entry.deltaText))
            std::abort();
    }
    for (const TagEntry& entry : table.usable())
        if (entry.tag.empty())
            std::abort();
    return 0;
}
