// Installs the built tree into temporary prefixes, as `make install` and packaging do, and
// runs the installed program through the link on the search path.
#include "frame/places.h"
#include "frame/settings_store.h"

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Every file and folder under `root` with its size and modification time, to see that
// nothing changed there.
std::string snapshot(const std::string& root) {
    std::string listing;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        listing += entry.path().string() + " " + std::to_string(info.st_size) + " " +
                   std::to_string(info.st_mtim.tv_sec) + "." +
                   std::to_string(info.st_mtim.tv_nsec) + "\n";
    }
    return listing;
}

class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        install(prefix.path());
        // The user's own folder, which the installed program reads and stores into; open to
        // the ordinary user that the tests run it as.
        ::setenv("XDG_CONFIG_HOME", user.file("config").c_str(), 1);
        for (const TempDir* dir : {&prefix, &user, &work})
            ::chmod(dir->path().c_str(), 0777);
    }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }
    std::string at(const std::string& relative) const { return prefix.file(relative); }

    // Runs the installed program as the ordinary user nobody.
    test::RunResult runAsUser(const std::vector<std::string>& arguments,
                              const std::string& input = "") const {
        return runProgram(test::setprivProgram, test::asOrdinaryUser(at("bin/stepwell"), arguments),
                          work.path(), input);
    }

    TempDir prefix, user, work;
};

TEST_F(Installed, ConvertsWithTheSystemTableAndShipsTheOriginalAndExamples) {
    ASSERT_TRUE(fs::is_symlink(at("bin/stepwell")));
    EXPECT_FALSE(fs::exists(at("lib/stepwell/StepwellTag.txt"))); // an installed copy
    const std::string shipped = readFile(STEPWELL_SOURCE_DIR "/StepwellTag.txt");
    EXPECT_EQ(readFile(at("etc/stepwell/StepwellTag.txt")), shipped);
    EXPECT_EQ(readFile(at("share/stepwell/StepwellTag.txt")), shipped);
    EXPECT_TRUE(fs::exists(at("share/stepwell/examples/django.stepwell-tags")));
    EXPECT_TRUE(fs::exists(at("share/stepwell/examples/php.stepwell-tags")));
    writeFile(work.file("page.html"), page);
    const auto run = runProgram(at("bin/stepwell"), {"page.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(readFile(work.file("page.html.ident")), indentedPage);
}

TEST_F(Installed, AnOrdinaryUserStoresDefaultsAndATableOfTheirOwnAndNothingUnderThePrefix) {
    const std::string before = snapshot(prefix.path());
    // The window's store command, run as the user, as the installed program sees its places.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        Places places;
        places.userDir = userConfigHome() + "/stepwell";
        try {
            storeDefaultReplaceSetting(places.settingsFile(), 1);
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readFile(user.file("config/stepwell/Stepwell.ini")), "\r\n1\r\n");

    // The stored setting applies to this user's next run, and asks before replacing.
    writeFile(work.file("page.html"), page);
    ::chmod(work.file("page.html").c_str(), 0666);
    auto run = runAsUser({"page.html"}, "y\n");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "page.htmlを置換しますか? [Y/n] ");
    EXPECT_EQ(readFile(work.file("page.html")), indentedPage);

    // A table of the user's own comes before the system's.
    writeFile(user.file("config/stepwell/StepwellTag.txt"), "<TABLE,2\n");
    run = runAsUser({"--which-tags"});
    EXPECT_EQ(run.out, user.file("config/stepwell/StepwellTag.txt") + "\n");
    run = runAsUser({"-"}, "<table>\nx\n");
    EXPECT_EQ(run.out, "<table>\n\t\tx\n");
    EXPECT_EQ(snapshot(prefix.path()), before);
}

// Whether `tool` is on the search path: the checks that need an optional tool skip without.
bool available(const std::string& tool) {
    return runProgram("/bin/sh", {"-c", "command -v " + tool}, "/").exitStatus == 0;
}

TEST_F(Installed, DesktopEntryClaimsNoFileTypeAndIconsComeInEverySize) {
    const std::string entry = at("share/applications/stepwell.desktop");
    EXPECT_NE(readFile(entry).find("\nExec=stepwell\n"), std::string::npos); // the window
    EXPECT_EQ(readFile(entry).find("MimeType"), std::string::npos);
    for (const char* size : {"16", "32", "48", "64", "128", "256"}) {
        const std::string icon =
            at("share/icons/hicolor/" + std::string(size) + "x" + size + "/apps/stepwell.png");
        EXPECT_EQ(readFile(icon),
                  readFile(STEPWELL_SOURCE_DIR "/ui/icons/stepwell-" + std::string(size) + ".png"));
    }
    EXPECT_NE(readFile(at("share/icons/hicolor/scalable/apps/stepwell.svg")).find("<svg"),
              std::string::npos);
    const std::string metainfo = at("share/metainfo/org.example.stepwell.metainfo.xml");
    EXPECT_TRUE(fs::exists(metainfo));
    // Both validators, when installed, find nothing to say, not even a hint.
    if (available("desktop-file-validate")) {
        const auto run = runProgram("/usr/bin/env", {"desktop-file-validate", entry}, "/");
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.out + run.err, "");
    }
    if (available("appstreamcli")) {
        const auto run = runProgram("/usr/bin/env", {"appstreamcli", "validate", metainfo}, "/");
        EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
        const std::string lines = "\n" + run.out;
        EXPECT_EQ(lines.find("\nW:"), std::string::npos) << run.out;
        EXPECT_EQ(lines.find("\nI:"), std::string::npos) << run.out;
    }
}

// Every path under `root`, relative to it, one a line, sorted.
std::string tree(const std::string& root) {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        paths.push_back(fs::relative(entry.path(), root).string());
    std::sort(paths.begin(), paths.end());
    std::string listing;
    for (const std::string& path : paths)
        listing += path + "\n";
    return listing;
}

TEST(MakeInstall, UninstallTakesAwayWhatInstallMadeAndKeepsAnEditedTable) {
    TempDir root;
    const std::string prefix = root.file("local"), record = root.file("record");
    const std::string table = prefix + "/etc/stepwell/StepwellTag.txt";
    const auto script = [&](const std::string& name, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(),
                         {"CMAKE=" STEPWELL_CMAKE, STEPWELL_SOURCE_DIR "/packaging/" + name});
        const auto run = runProgram("/usr/bin/env", arguments, "/");
        EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
        return run.out;
    };
    const auto install = [&] { script("install.sh", {STEPWELL_BUILD_DIR, prefix, record}); };
    const auto uninstall = [&] { return script("uninstall.sh", {record}); };

    install();
    EXPECT_EQ(readFile(table), readFile(STEPWELL_SOURCE_DIR "/StepwellTag.txt"));
    uninstall();
    EXPECT_EQ(tree(root.path()), ""); // the prefix, its folders and the record too

    // An administrator's edit survives an install again and the uninstall, as a package's
    // conffile does; everything else goes.
    install();
    writeFile(table, "<TABLE,2\n");
    install();
    EXPECT_EQ(readFile(table), "<TABLE,2\n");
    EXPECT_NE(uninstall().find("Keeping " + table), std::string::npos);
    EXPECT_EQ(tree(root.path()), "local\nlocal/etc\nlocal/etc/stepwell\n"
                                 "local/etc/stepwell/StepwellTag.txt\n");
}

TEST(StagedInstall, WorksFromTheStagingFolder) {
    TempDir stage, work, user;
    ::setenv("XDG_CONFIG_HOME", user.path().c_str(), 1);
    install("/usr", stage.path());
    const std::string stepwell = stage.file("usr/bin/stepwell");
    EXPECT_TRUE(fs::is_symlink(stepwell));
    EXPECT_TRUE(fs::exists(stage.file("usr/share/applications/stepwell.desktop")));
    writeFile(work.file("page.html"), page);
    const auto run = runProgram(stepwell, {"page.html"}, work.path());
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(readFile(work.file("page.html.ident")), indentedPage);
}

} // namespace
} // namespace stepwell
