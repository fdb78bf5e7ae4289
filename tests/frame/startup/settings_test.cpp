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

TEST(Settings, MissingOrEmptyFileGivesTheDefaults) {
    TempDir dir;
    EXPECT_EQ(readSettings(dir.file(settingsFileName)).defaultFolder, "");
    EXPECT_EQ(readSettings(dir.file(settingsFileName)).replaceSetting, ReplaceSetting::Off);
    EXPECT_EQ(settingsFrom("").defaultFolder, "");
}

TEST(Settings, TwoLinesAsRead) {
    const Settings settings = settingsFrom("/srv/www \r\n1\r\nignored\r\n");
    EXPECT_EQ(settings.defaultFolder, "/srv/www "); // not trimmed
    EXPECT_EQ(settings.replaceSetting, ReplaceSetting::On);
    EXPECT_EQ(settingsFrom("/a\n2\n").replaceSetting, ReplaceSetting::Greyed);
}

TEST(Settings, OneLineLeavesReplaceOff) {
    const Settings settings = settingsFrom("/srv/www\r\n");
    EXPECT_EQ(settings.defaultFolder, "/srv/www");
    EXPECT_EQ(settings.replaceSetting, ReplaceSetting::Off);
}

TEST(Settings, ReplaceValueIsTheRoundedLeadingNumberWhenTheCheckBoxTakesIt) {
    EXPECT_EQ(settingsFrom("/a\r\n1.5\r\n").replaceSetting, ReplaceSetting::Greyed);
    EXPECT_EQ(settingsFrom("/a\r\n0.5\r\n").replaceSetting, ReplaceSetting::Off);
    EXPECT_EQ(settingsFrom("/a\r\n 1 yes\r\n").replaceSetting, ReplaceSetting::On);
    EXPECT_EQ(settingsFrom("/a\r\n3\r\n").replaceSetting, ReplaceSetting::Off);
    EXPECT_EQ(settingsFrom("/a\r\n-1\r\n").replaceSetting, ReplaceSetting::Off);
    EXPECT_EQ(settingsFrom("/a\r\n99999\r\n").replaceSetting, ReplaceSetting::Off);
    EXPECT_EQ(settingsFrom("/a\r\nTrue\r\n").replaceSetting, ReplaceSetting::Off);
}

TEST(Settings, EmptyFirstLineMeansNoFolderButReplaceStillApplies) {
    const Settings settings = settingsFrom("\r\n1\r\n");
    EXPECT_EQ(settings.defaultFolder, "");
    EXPECT_EQ(settings.replaceSetting, ReplaceSetting::On);
}

} // namespace
} // namespace stepwell
