// SPDX-License-Identifier: MIT
#include "frame/startup/settings.h"

#include "engine/core/line_reader.h"
#include "frame/sys/files.h"
#include "frame/sys/input_file.h"
#include "frame/text/error.h"
#include "frame/text/numbers.h"

namespace stepwell {
namespace {

// The check box value of a line-2 text: its leading number, rounded; 0 when that is not a
// value the check box takes.
int replaceSettingOf(std::string_view text) {
    const auto value = roundToInt16(leadingNumber(text));
    return value && *value >= 0 && *value <= 2 ? *value : 0;
}

} // namespace

Settings readSettings(const std::string& path) {
    Settings settings;
    if (!isOrdinaryFile(path))
        return settings;
    try {
        InputFile file(path);
        LineReader reader(
            [&file](char* buffer, std::size_t size) { return file.read(buffer, size); });
        std::string_view line;
        if (!reader.next(line))
            return settings;
        settings.defaultFolder = line;
        if (reader.next(line))
            settings.replaceSetting = replaceSettingOf(line);
    } catch (const Error&) {
        // An unreadable settings file leaves the defaults, as a missing one does.
    }
    return settings;
}

} // namespace stepwell
