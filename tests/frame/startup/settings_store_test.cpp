// SPDX-License-Identifier: MIT
#include "frame/startup/settings_store.h"

#include "frame/startup/settings.h"
#include "frame/text/error.h"

#include "tests/support/ordinary_user.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stepwell {
namespace {

using test::listFolder;
using test::readFile;
using test::TempDir;
using test::writeFile;

class SettingsStore : public ::testing::Test {
protected:
    std::string ini() const { return dir.file(settingsFileName); }
    void givenIni(const std::string& text) const { writeFile(ini(), text); }
    TempDir dir;
};

TEST_F(SettingsStore, FolderKeepsLineTwoAsWrittenAndDropsLaterLines) {
    givenIni("/old\n 1.5 \nextra\n");
    storeDefaultFolder(ini(), "/srv/my www ");
    EXPECT_EQ(readFile(ini()), "/srv/my www \r\n 1.5 \r\n");
    const Settings settings = readSettings(ini());
    EXPECT_EQ(settings.defaultFolder, "/srv/my www ");
    EXPECT_EQ(settings.replaceSetting, ReplaceSetting::Greyed);
    EXPECT_EQ(listFolder(dir.path()), settingsFileName); // no temporary file left behind
}

TEST_F(SettingsStore, ReplaceSettingKeepsLineOneAsWritten) {
    givenIni("/srv/www \r2\r");
    storeDefaultReplaceSetting(ini(), ReplaceSetting::Off);
    EXPECT_EQ(readFile(ini()), "/srv/www \r\n0\r\n");
    storeDefaultReplaceSetting(ini(), ReplaceSetting::On);
    const Settings settings = readSettings(ini());
    EXPECT_EQ(settings.defaultFolder, "/srv/www ");
    EXPECT_EQ(settings.replaceSetting, ReplaceSetting::On);
}

TEST_F(SettingsStore, OneLineFile) {
    givenIni("/old\r\n");
    storeDefaultFolder(ini(), "/new");
    EXPECT_EQ(readFile(ini()), "/new\r\n"); // no second line is made up
    storeDefaultReplaceSetting(ini(), ReplaceSetting::On);
    EXPECT_EQ(readFile(ini()), "/new\r\n1\r\n");
}

// The mode a new file gets: 0666 less the umask, never executable.
mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST_F(SettingsStore, MissingOrEmptyFileIsCreatedWithBothLines) {
    const mode_t userMask = ::umask(022);
    storeDefaultFolder(ini(), "/new");
    EXPECT_EQ(readFile(ini()), "/new\r\n0\r\n");
    EXPECT_EQ(modeOf(ini()), 0644u);

    // The user's configuration folder is made when the first default is stored.
    TempDir other;
    const std::string user = other.file("config/stepwell/") + settingsFileName;
    ::umask(027);
    storeDefaultReplaceSetting(user, ReplaceSetting::Greyed);
    ::umask(userMask);
    EXPECT_EQ(modeOf(user), 0640u);
    EXPECT_EQ(readFile(user), "\r\n2\r\n");
    EXPECT_EQ(readSettings(user).replaceSetting, ReplaceSetting::Greyed);
    EXPECT_EQ(readSettings(user).defaultFolder, "");

    givenIni("");
    storeDefaultFolder(ini(), "/x");
    EXPECT_EQ(readFile(ini()), "/x\r\n0\r\n");
}

TEST_F(SettingsStore, KeepsPermissionBitsAndSymbolicLinks) {
    TempDir shared;
    const std::string real = shared.file("stepwell.ini");
    writeFile(real, "/a\r\n1\r\n");
    ::chmod(real.c_str(), 0640);
    std::filesystem::create_symlink(real, ini());
    storeDefaultFolder(ini(), "/b");
    EXPECT_TRUE(std::filesystem::is_symlink(ini()));
    EXPECT_EQ(readFile(real), "/b\r\n1\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// A failure must throw an Error that names the settings file and leave it untouched.
void expectFailureNamingTheFile(const std::function<void()>& store) {
    try {
        store();
        ADD_FAILURE() << "storing did not fail";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(settingsFileName), std::string::npos)
            << error.what();
    }
}

TEST_F(SettingsStore, ProgramFolderThatCannotHoldTheFileFails) {
    // A path through a file fails for every user, root included.
    const std::string notAFolder = dir.file("stepwell");
    writeFile(notAFolder, "program");
    expectFailureNamingTheFile(
        [&] { storeDefaultFolder(notAFolder + "/" + settingsFileName, "/a"); });
    expectFailureNamingTheFile([&] {
        storeDefaultReplaceSetting(notAFolder + "/" + settingsFileName, ReplaceSetting::On);
    });
    EXPECT_EQ(readFile(notAFolder), "program");
}

TEST_F(SettingsStore, SettingsFileThatCannotBeReadIsNotOverwritten) {
    std::filesystem::create_directory(ini());
    expectFailureNamingTheFile([&] { storeDefaultFolder(ini(), "/a"); });
    expectFailureNamingTheFile([&] { storeDefaultReplaceSetting(ini(), ReplaceSetting::On); });
    EXPECT_TRUE(std::filesystem::is_directory(ini()));
}

TEST_F(SettingsStore, ReadOnlyProgramFolderFailsAndLeavesTheFile) {
    if (test::rerunAsOrdinaryUser()) // permission bits do not stop root
        return;
    givenIni("/a\r\n1\r\n");
    ::chmod(dir.path().c_str(), 0555);
    expectFailureNamingTheFile([&] { storeDefaultFolder(ini(), "/b"); });
    expectFailureNamingTheFile([&] { storeDefaultReplaceSetting(ini(), ReplaceSetting::Off); });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readFile(ini()), "/a\r\n1\r\n");
    EXPECT_EQ(listFolder(dir.path()), settingsFileName);
}

TEST_F(SettingsStore, RefusesValuesThatWouldCorruptTheFile) {
    givenIni("/a\r\n1\r\n");
    expectFailureNamingTheFile([&] { storeDefaultFolder(ini(), "/b\n0"); });
    expectFailureNamingTheFile([&] { storeDefaultFolder(ini(), "/b\rc"); });
    expectFailureNamingTheFile(
        [&] { storeDefaultReplaceSetting(ini(), static_cast<ReplaceSetting>(3)); });
    expectFailureNamingTheFile(
        [&] { storeDefaultReplaceSetting(ini(), static_cast<ReplaceSetting>(-1)); });
    EXPECT_EQ(readFile(ini()), "/a\r\n1\r\n");
}

} // namespace
} // namespace stepwell
