// SPDX-License-Identifier: MIT
#include "frame/startup/settings.h"

#include "engine/lines_of.h"
#include "frame/sys/files.h"
#include "frame/sys/input_file.h"
#include "frame/text/error.h"
#include "frame/text/numbers.h"

namespace stepwell {
namespace {

// The setting a line-2 text gives: its leading number, rounded; off when that is not a
// value the check box takes.
ReplaceSetting replaceSettingOf(std::string_view text) {
    const auto value = roundToInt16(leadingNumber(text));
    return value && *value >= 0 && *value <= 2 ? static_cast<ReplaceSetting>(*value)
                                               : ReplaceSetting::Off;
}

} // namespace

Settings readSettings(const std::string& path) {
    Settings settings;
    if (!isOrdinaryFile(path))
        return settings;
    try {
        InputFile file(path);
        LineReader reader = linesOf(file);
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
