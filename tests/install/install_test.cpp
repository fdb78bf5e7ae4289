// Installs the built tree into temporary prefixes, as `make install` and packaging do, and
// runs the installed program through the link on the search path.
#include "frame/settings_store.h"

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace stepwell {
namespace {

using test::readFile;
using test::runProgram;
using test::TempDir;
using test::writeFile;

namespace fs = std::filesystem;

const std::string page = "<table>\n  <tr>\n  <td>x</td>\n  </tr>\n</table>\n";
const std::string indentedPage = "<table>\n\t<tr>\n\t\t<td>x</td>\n\t</tr>\n</table>\n";

// Installs the build into `prefix`; with `destDir`, stages it there as a package build does.
void install(const std::string& prefix, const std::string& destDir = "") {
    std::vector<std::string> arguments{"DESTDIR=" + destDir, STEPWELL_CMAKE, "--install"};
    arguments.insert(arguments.end(), {STEPWELL_BUILD_DIR, "--prefix", prefix});
    const auto run = runProgram("/usr/bin/env", arguments, "/");
    ASSERT_EQ(run.exitStatus, 0) << run.out << run.err;
}

class Installed : public ::testing::Test {
protected:
    void SetUp() override { install(prefix.path()); }
    std::string at(const std::string& relative) const { return prefix.file(relative); }
    TempDir prefix, work;
};

TEST_F(Installed, ConvertsThroughTheLinkWithTheInstalledTagFile) {
    ASSERT_TRUE(fs::is_symlink(at("bin/stepwell")));
    writeFile(work.file("page.html"), page);
    const auto run = runProgram(at("bin/stepwell"), {"page.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(readFile(work.file("page.html.ident")), indentedPage);
}

TEST_F(Installed, StoredDefaultsApplyAtTheNextStart) {
    storeDefaultReplaceSetting(at("lib/stepwell"), 1);
    writeFile(work.file("page.html"), page);
    const auto run = runProgram(at("bin/stepwell"), {"page.html"}, work.path(), "y\n");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "page.htmlを置換しますか? [Y/n] ");
    EXPECT_EQ(readFile(work.file("page.html")), indentedPage);
}

TEST_F(Installed, DesktopEntryAndIcon) {
    const std::string entry = at("share/applications/stepwell.desktop");
    EXPECT_NE(readFile(entry).find("\nExec=stepwell %F\n"), std::string::npos);
    EXPECT_NE(readFile(at("share/icons/hicolor/scalable/apps/stepwell.svg")).find("<svg"),
              std::string::npos);
    const std::string validate = STEPWELL_DESKTOP_FILE_VALIDATE;
    if (::access(validate.c_str(), X_OK) != 0)
        GTEST_SKIP() << "desktop-file-validate is not installed";
    const auto run = runProgram(validate, {entry}, work.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out + run.err, ""); // not even a hint
}

TEST(StagedInstall, WorksFromTheStagingFolder) {
    TempDir stage, work;
    install("/usr", stage.path());
    const std::string stepwell = stage.file("usr/bin/stepwell");
    EXPECT_TRUE(fs::is_symlink(stepwell));
    EXPECT_TRUE(fs::exists(stage.file("usr/share/applications/stepwell.desktop")));
    writeFile(work.file("page.html"), page);
    const auto run = runProgram(stepwell, {"page.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(readFile(work.file("page.html.ident")), indentedPage);
}

} // namespace
} // namespace stepwell
