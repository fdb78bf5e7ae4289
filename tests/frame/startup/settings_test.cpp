// SPDX-License-Identifier: MIT
#include "frame/startup/settings.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace stepwell {
namespace {

using test::TempDir;
using test::writeFile;

Settings settingsFrom(const std::string& text) {
    TempDir dir;
    writeFile(dir.file(settingsFileName), text);
    return readSettings(dir.file(settingsFileName));
}

// The settings a file's text gives: the folder as read, and the replace setting from the
// rounded leading number of line 2 when the check box takes it.
TEST(Settings, AsTheFileGivesThem) {
    using enum ReplaceSetting;
    const struct {
        std::string text;
        std::string folder;
        ReplaceSetting setting;
    } rows[] = {
        {"", "", Off},                                      // empty, as a missing file
        {"/srv/www \r\n1\r\nignored\r\n", "/srv/www ", On}, // not trimmed
        {"/a\n2\n", "/a", Greyed},
        {"/srv/www\r\n", "/srv/www", Off}, // one line leaves replace off
        {"\r\n1\r\n", "", On},             // no folder, but the replace setting applies
        {"/a\r\n1.5\r\n", "/a", Greyed},
        {"/a\r\n0.5\r\n", "/a", Off},
        {"/a\r\n 1 yes\r\n", "/a", On},
        {"/a\r\n3\r\n", "/a", Off},
        {"/a\r\n-1\r\n", "/a", Off},
        {"/a\r\n99999\r\n", "/a", Off},
        {"/a\r\nTrue\r\n", "/a", Off},
    };
    for (const auto& row : rows) {
        const Settings settings = settingsFrom(row.text);
        EXPECT_EQ(settings.defaultFolder, row.folder) << row.text;
        EXPECT_EQ(settings.replaceSetting, row.setting) << row.text;
    }
    TempDir dir;
    EXPECT_EQ(readSettings(dir.file(settingsFileName)).replaceSetting, Off); // no file at all
}

} // namespace
} // namespace stepwell
