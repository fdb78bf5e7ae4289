// SPDX-License-Identifier: MIT
// Installs the built tree into temporary prefixes, as `make install` and packaging do, and
// runs the installed program through the link on the search path.
#include "frame/startup/places.h"
#include "frame/startup/settings_store.h"

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

using test::listFolder;
using test::readFile;
using test::runProgram;
using test::TempDir;
using test::writeFile;

namespace fs = std::filesystem;

const std::string page = "<form>\n  <fieldset>\n  <label>x</label>\n  </fieldset>\n</form>\n";
const std::string indentedPage =
    "<form>\n\t<fieldset>\n\t\t<label>x</label>\n\t</fieldset>\n</form>\n";

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
    EXPECT_TRUE(fs::exists(at("share/stepwell/examples/nesting.stepwell-tags")));
    // zsh's own folder for a prefix other than /usr, which Debian's zsh keeps elsewhere.
    EXPECT_TRUE(fs::exists(at("share/zsh/site-functions/_stepwell")));
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
            storeDefaultReplaceSetting(places.settingsFile(), ReplaceSetting::On);
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

// The two Debian packages, made by CPack from this build as `make package` does from its
// release build, and taken apart with dpkg-deb.
class Debs {
public:
    Debs() {
        const auto run = runProgram(STEPWELL_CPACK,
                                    {"-G", "DEB", "--config",
                                     STEPWELL_BUILD_DIR "/CPackConfig.cmake", "-B", folder_.path()},
                                    "/");
        EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    }
    std::string path(const std::string& package) const {
        std::string arch = runProgram("/usr/bin/dpkg", {"--print-architecture"}, "/").out;
        arch.erase(arch.find('\n'));
        return folder_.file(package + "_" STEPWELL_VERSION "_" + arch + ".deb");
    }
    // What dpkg-deb prints, given the package's path after `option`.
    std::string dpkgDeb(const std::string& option, const std::string& package,
                        std::vector<std::string> more = {}) const {
        more.insert(more.begin(), {option, path(package)});
        const auto run = runProgram("/usr/bin/dpkg-deb", more, "/");
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        return run.out;
    }

private:
    TempDir folder_;
};

// Expects every one of `files` (lines of `dpkg-deb -c`, the part after the date) in `listing`.
void expectFiles(const std::string& listing, const std::vector<std::string>& files) {
    for (const std::string& file : files)
        EXPECT_NE(listing.find(" ./" + file + "\n"), std::string::npos) << file;
}

TEST(Packages, TheCommandLineWithoutQtAndTheWindowApartBothLintianClean) {
    const Debs debs;

    // stepwell: the command line, on the C and C++ runtimes alone, its table a conffile.
    const std::string depends = debs.dpkgDeb("-f", "stepwell", {"Depends"});
    EXPECT_NE(depends.find("libc6"), std::string::npos) << depends;
    EXPECT_EQ(depends.find("qt"), std::string::npos) << depends;
    EXPECT_EQ(debs.dpkgDeb("-f", "stepwell", {"Suggests"}), "stepwell-gui\n");
    const std::string files = debs.dpkgDeb("-c", "stepwell");
    expectFiles(files,
                {"usr/lib/stepwell/stepwell", "usr/bin/stepwell -> ../lib/stepwell/stepwell",
                 "etc/stepwell/StepwellTag.txt", "usr/share/stepwell/StepwellTag.txt",
                 "usr/share/man/man1/stepwell.1.gz",
                 "usr/share/bash-completion/completions/stepwell",
                 "usr/share/zsh/vendor-completions/_stepwell",
                 "usr/share/fish/vendor_completions.d/stepwell.fish",
                 "usr/share/doc/stepwell/copyright", "usr/share/doc/stepwell/changelog.gz",
                 "usr/share/doc/stepwell/guide.md.gz", "usr/share/doc/stepwell/CHANGELOG.md.gz"});
    EXPECT_EQ(files.find("stepwell-window"), std::string::npos);
    TempDir control;
    debs.dpkgDeb("-e", "stepwell", {control.path()});
    EXPECT_EQ(readFile(control.file("conffiles")), "/etc/stepwell/StepwellTag.txt\n");
    EXPECT_EQ(listFolder(control.path()), "conffiles control md5sums"); // no maintainer scripts

    // stepwell-gui: the window, on this very stepwell and on Qt; no ldconfig for the module.
    const std::string guiDepends = debs.dpkgDeb("-f", "stepwell-gui", {"Depends"});
    EXPECT_EQ(guiDepends.rfind("stepwell (= " STEPWELL_VERSION "), ", 0), 0u) << guiDepends;
    EXPECT_NE(guiDepends.find("libqt6widgets6"), std::string::npos) << guiDepends;
    EXPECT_EQ(debs.dpkgDeb("-f", "stepwell-gui", {"Recommends"}),
              "fonts-ipafont-gothic | fonts-noto-cjk\n");
    expectFiles(debs.dpkgDeb("-c", "stepwell-gui"),
                {"usr/lib/stepwell/stepwell-window.so", "usr/share/applications/stepwell.desktop",
                 "usr/share/icons/hicolor/48x48/apps/stepwell.png",
                 "usr/share/icons/hicolor/scalable/apps/stepwell.svg",
                 "usr/share/metainfo/org.example.stepwell.metainfo.xml",
                 "usr/share/doc/stepwell-gui/copyright",
                 "usr/share/doc/stepwell-gui/changelog.gz"});
    TempDir guiControl;
    debs.dpkgDeb("-e", "stepwell-gui", {guiControl.path()});
    EXPECT_EQ(listFolder(guiControl.path()), "control md5sums");

    // Unpacked alone, the program finds the system's table from its own place, converts, and
    // asks here.
    TempDir root, work, user;
    debs.dpkgDeb("-x", "stepwell", {root.path()});
    writeFile(work.file("page.html"), page);
    writeFile(work.file("page.html.ident"), "old\n");
    const auto run =
        runProgram("/usr/bin/env",
                   {"XDG_CONFIG_HOME=" + user.path(), root.file("usr/bin/stepwell"), "page.html"},
                   work.path(), "y\n");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "page.html.identを上書きしますか? [Y/n] ");
    EXPECT_EQ(readFile(work.file("page.html.ident")), indentedPage);

    // The completion offers the options, which it reads from the program's own --help.
    if (fs::exists("/usr/share/bash-completion/bash_completion")) {
        const std::string complete =
            "source /usr/share/bash-completion/bash_completion && source \"$1\" && "
            "COMP_WORDS=(stepwell --ch) COMP_CWORD=1 COMP_LINE='stepwell --ch' COMP_POINT=13 && "
            "_stepwell stepwell --ch stepwell && echo \"${COMPREPLY[@]}\"";
        const auto completion =
            runProgram("/usr/bin/env",
                       {"PATH=" + root.file("usr/bin") + ":/usr/bin:/bin", "bash", "-c", complete,
                        "bash", root.file("usr/share/bash-completion/completions/stepwell")},
                       work.path());
        EXPECT_EQ(completion.out, "--check\n") << completion.err;
    }
    if (available("mandoc")) {
        const auto lint = runProgram(
            "/usr/bin/env", {"mandoc", "-T", "lint", root.file("usr/share/man/man1/stepwell.1.gz")},
            "/");
        EXPECT_EQ(lint.exitStatus, 0);
        EXPECT_EQ(lint.out + lint.err, "");
    }
    // lintian also renders the manual page and reads its NAME line as man-db does.
    if (available("lintian")) {
        const auto lintian = runProgram(
            "/usr/bin/env", {"lintian", debs.path("stepwell"), debs.path("stepwell-gui")}, "/");
        EXPECT_EQ(lintian.exitStatus, 0) << lintian.out << lintian.err;
        EXPECT_EQ(lintian.out.find("E: "), std::string::npos) << lintian.out;
        EXPECT_EQ(lintian.out.find("W: "), std::string::npos) << lintian.out;
    }
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
