// SPDX-License-Identifier: MIT
// Runs the built program as a user would: arguments, answers on stdin, exit status.
#include "tests/support/child_process.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace stepwell {
namespace {

using test::installProgramCopy;
using test::listFolder;
using test::readFile;
using test::runProgram;
using test::TempDir;
using test::writeFile;

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        stepwell = installProgramCopy(programDir.path());
        writeFile(programDir.file("StepwellTag.txt"), "<UL,1\n</UL,-1\n");
    }
    TempDir programDir, work;
    std::string stepwell;
};

TEST_F(Program, ConvertsRelativeNamesSilently) {
    writeFile(work.file("my page.html"), "<ul>\n  <li>x\n</ul>\n");
    const auto run = runProgram(stepwell, {"my page.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(work.file("my page.html.ident")), "<ul>\n\t<li>x\n</ul>\n");
}

TEST_F(Program, QuestionsAreAnsweredOnStandardInput) {
    writeFile(work.file("a.html"), " a\n");
    writeFile(work.file("a.html.ident"), "old");
    auto run = runProgram(stepwell, {"a.html"}, work.path(), "n\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "a.html.identを上書きしますか? [Y/n] ");
    EXPECT_EQ(readFile(work.file("a.html.ident")), "old");
    run = runProgram(stepwell, {"a.html"}, work.path(), ""); // end of input declines
    EXPECT_EQ(readFile(work.file("a.html.ident")), "old");
    run = runProgram(stepwell, {"a.html"}, work.path(), "what\ny\n");
    EXPECT_EQ(readFile(work.file("a.html.ident")), "a\n");
}

TEST_F(Program, ReplaceSettingAsksForEachFileAndTokensIgnoreTheDefaultFolder) {
    TempDir elsewhere;
    writeFile(elsewhere.file("a.html"), " other\n");
    // 2, the greyed state of the check box, counts as on.
    writeFile(programDir.file("Stepwell.ini"), elsewhere.path() + "\r\n2\r\n");
    writeFile(work.file("a.html"), " a\n");
    writeFile(work.file("b.html"), " b\n");
    const auto run = runProgram(stepwell, {"*.html"}, work.path(), "y\nn\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "a.htmlを置換しますか? [Y/n] b.htmlを置換しますか? [Y/n] ");
    EXPECT_EQ(readFile(work.file("a.html")), "a\n");
    EXPECT_EQ(readFile(work.file("b.html")), " b\n");
    EXPECT_EQ(readFile(elsewhere.file("a.html")), " other\n");
    EXPECT_EQ(listFolder(work.path()), "a.html b.html");
}

TEST_F(Program, ExitStatusSaysWhatHappened) {
    writeFile(work.file("a.html"), "a\n");
    auto run = runProgram(stepwell, {"missing.html", "a.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err.rfind("stepwell: missing.html: ", 0), 0u) << run.err;
    EXPECT_EQ(readFile(work.file("a.html.ident")), "a\n");
    EXPECT_EQ(runProgram(stepwell, {"*.xyz"}, work.path()).exitStatus, 1);
    run = runProgram(stepwell, {"--bogus"}, work.path());
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err.rfind("stepwell: ", 0), 0u);
    run = runProgram(stepwell, {"--version"}, work.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), "stepwell " STEPWELL_VERSION "\n");
    EXPECT_NE(run.out.find("\nLicense MIT: <https://opensource.org/licenses/MIT>.\n"),
              std::string::npos);
    run = runProgram(stepwell, {"--help"}, work.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_NE(run.out.find("Usage: stepwell"), std::string::npos);
    run = runProgram(stepwell, {"--", "--help"}, work.path());
    EXPECT_EQ(run.exitStatus, 1); // a file named --help that does not exist
}

// Sets an environment variable (or unsets it, for null) for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_.empty() ? ::unsetenv(name_) : ::setenv(name_, old_.c_str(), 1); }

private:
    const char* name_;
    std::string old_;
};

TEST_F(Program, ACommandLineRunWithADisplayLoadsNoWindowUntilItAsks) {
    // The copy has no window module beside it: a run that asks nothing never needs it, and a
    // question without it is asked on the terminal.
    const ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
    const ScopedEnv display("DISPLAY", ":4321");
    writeFile(work.file("a.html"), "<ul>\nx\n");
    auto run = runProgram(stepwell, {"a.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(work.file("a.html.ident")), "<ul>\n\tx\n");
    run = runProgram(stepwell, {"a.html"}, work.path(), "n\n");
    EXPECT_EQ(run.exitStatus, 0);
    const std::string missing =
        programDir.file("stepwell-window.so") + " is missing: install the package stepwell-gui";
    EXPECT_NE(run.err.find("stepwell: no dialogs (" + missing + ")"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("a.html.identを上書きしますか? [Y/n] "), std::string::npos) << run.err;
    run = runProgram(stepwell, {}, work.path());
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err.rfind("stepwell: cannot open the window: " + missing + ";", 0), 0u)
        << run.err;
}

TEST_F(Program, FindsItsTagFileThroughALink) {
    TempDir links;
    ASSERT_EQ(::symlink(stepwell.c_str(), links.file("stepwell").c_str()), 0);
    writeFile(work.file("a.html"), "<ul>\nx\n");
    EXPECT_EQ(runProgram(links.file("stepwell"), {"a.html"}, work.path()).exitStatus, 0);
    EXPECT_EQ(readFile(work.file("a.html.ident")), "<ul>\n\tx\n");
}

TEST_F(Program, FilterConvertsStandardInputToStandardOutput) {
    writeFile(work.file("a.html.ident"), "old");
    const auto run = runProgram(stepwell, {"-"}, work.path(), "<ul>\r\n x\r\n</ul>");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "<ul>\r\n\tx\r\n</ul>\r\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(listFolder(work.path()), "a.html.ident"); // nothing written beside it
    EXPECT_EQ(runProgram(stepwell, {"-"}, work.path(), "").out, "");
}

TEST_F(Program, FilterFailureWritesNothingToStandardOutput) {
    writeFile(programDir.file("StepwellTag.txt"), "<UL,1\n</UL,-1\n<B,bold\n");
    std::string input;
    for (int i = 0; i < 100000; ++i)
        input += "<ul>\n</ul>\n";
    const auto run = runProgram(stepwell, {"-"}, work.path(), input + "<b>\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "stepwell: standard input, line 200001: " + programDir.file("StepwellTag.txt") +
                  ", line 3: tag \"<B\" has the delta \"bold\", which is not a number\n");
}

TEST_F(Program, CheckListsChangesOnStandardOutputAndSaysSoInItsStatus) {
    writeFile(work.file("a.html"), "<ul>\n\tx\n</ul>\n");
    writeFile(work.file("b.html"), "<ul>\nx\n</ul>\n");
    auto run = runProgram(stepwell, {"--check", "a.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out + run.err, "");
    run = runProgram(stepwell, {"--check", "*.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "b.html\n");
    EXPECT_EQ(run.err, "");
    run = runProgram(stepwell, {"--check", "b.html", "gone.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "b.html\n");
    EXPECT_EQ(run.err.rfind("stepwell: gone.html: ", 0), 0u) << run.err;
    EXPECT_EQ(runProgram(stepwell, {"--check"}, work.path()).exitStatus, 2);
    EXPECT_EQ(listFolder(work.path()), "a.html b.html");
}

// Several files at a time (-j N) convert, check and diff as one after another would: the
// same files written, the same report and errors in the same order, the same questions in
// the same order, the same exit status. Each row runs on a copy of one folder of changed,
// unchanged and failing pages, some large enough to finish after smaller ones behind them,
// with a file named twice and one named after the output of an earlier one.
TEST_F(Program, SeveralFilesAtATimeDoWhatOneAfterAnotherWould) {
    writeFile(programDir.file("StepwellTag.txt"), "<UL,1\n</UL,-1\n<B,bold\n");
    std::filesystem::create_directories(work.file("site"));
    for (int i = 0; i < 40; ++i) {
        const std::string name = work.file("site/p" + std::to_string(10 + i) + ".html");
        const int repeats = i % 7 == 0 ? 20000 : 1 + i;
        std::string page;
        for (int k = 0; k < repeats; ++k)
            page += i % 5 == 1 ? "<ul>\n\tx\n</ul>\n" : "<ul>\n  x\n</ul>\n";
        writeFile(name, i % 9 == 4 ? page + "<b>\n" : page);
    }
    writeFile(work.file("site/p11.html.ident"), "earlier");
    // Two large pages: the jobs on them are still at work when the jobs after them start.
    const std::vector<std::string> files{"site/p10.html",       "site/p10.html", "site/p17.html",
                                         "site/p17.html.ident", "site/*.html",   "gone.html",
                                         "site/*.none"};
    const auto runAt = [&](const std::string& jobs, std::vector<std::string> arguments,
                           const std::string& answers) {
        const std::string folder = work.file("j" + jobs);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::copy(work.file("site"), folder + "/site",
                              std::filesystem::copy_options::recursive);
        arguments.insert(arguments.begin(), "-j" + jobs);
        arguments.insert(arguments.end(), files.begin(), files.end());
        const auto run = runProgram(stepwell, arguments, folder, answers);
        std::string left = "exit " + std::to_string(run.exitStatus) + "\n" + run.out + run.err;
        for (const auto& entry : std::filesystem::directory_iterator(folder + "/site"))
            left += entry.path().filename().string() + ":" + readFile(entry.path()) + "\n";
        return left;
    };
    const struct {
        std::vector<std::string> arguments;
        std::string answers;
        std::string written; // a file that only the jobs one after another write
    } rows[] = {
        {{"--check"}, "", ""},
        {{"--diff"}, "", ""},
        {{"--yes"}, "", "p17.html.ident.ident:"},
        {{"--yes", "--replace"}, "", ""},
        {{"--replace"}, "y\nn\ny\ny\nn\ny\nn\nn\ny\n", ""}, // then the input ends: No
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.front() + " " + row.arguments.back());
        const std::string oneAfterAnother = runAt("1", row.arguments, row.answers);
        EXPECT_EQ(oneAfterAnother.find("changed while it was being converted"), std::string::npos);
        EXPECT_NE(oneAfterAnother.find(row.written), std::string::npos);
        EXPECT_EQ(runAt("2", row.arguments, row.answers), oneAfterAnother);
        EXPECT_EQ(runAt("8", row.arguments, row.answers), oneAfterAnother);
    }
}

// The process that `parent` started, or -1 while there is none.
pid_t childOf(pid_t parent) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const std::size_t afterName = line.rfind(") ");
        if (afterName == std::string::npos)
            continue;
        std::istringstream fields(line.substr(afterName + 2));
        std::string state;
        pid_t ppid = 0;
        if (fields >> state >> ppid && ppid == parent)
            return static_cast<pid_t>(std::stol(entry.path().filename().string()));
    }
    return -1;
}

// Whether the process has started a thread besides its first: a run over many files has.
bool hasThreads(pid_t pid) {
    std::error_code error;
    const auto tasks =
        std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error);
    return !error && std::distance(begin(tasks), end(tasks)) > 1;
}

TEST_F(Program, ALongRunShowsItsProgressOnATerminalOnly) {
    std::filesystem::create_directories(work.file("p"));
    std::string page;
    for (int k = 0; k < 500; ++k)
        page += "<ul>\n\tx\n</ul>\n";
    for (int i = 0; i < 3000; ++i)
        writeFile(work.file("p/" + std::to_string(i) + ".html"), page);
    // A check of these pages takes far less than the second after which the line appears, so
    // each run is held (SIGSTOP) for that second once it is at work.
    const auto holdForASecond = [](test::Child& child, const std::function<pid_t()>& program) {
        pid_t pid = -1;
        if (!child.waitUntil([&] { return (pid = program()) > 0 && hasThreads(pid); }) || pid <= 0)
            ADD_FAILURE() << "the run ended before it could be held";
        else {
            ::kill(pid, SIGSTOP);
            std::this_thread::sleep_for(std::chrono::milliseconds(1200));
            ::kill(pid, SIGCONT);
        }
        child.kill(SIGCONT); // script stops itself while the program it runs is stopped
        return child.wait();
    };
    test::ChildOptions options;
    options.folder = work.path();
    // On a terminal (script runs the program on one and writes out what it shows), the line
    // appears and is taken away at the end: nothing follows the last clearing of the line.
    test::Child script("/usr/bin/script",
                       {"-qec", "exec " + stepwell + " -j1 --check 'p/*.html'", "/dev/null"},
                       options);
    const auto shown = holdForASecond(script, [&] { return childOf(script.pid()); });
    EXPECT_EQ(shown.exitStatus, 0) << shown.out << shown.err;
    EXPECT_NE(shown.out.find("stepwell: "), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find(" of 3000 files, "), std::string::npos) << shown.out;
    const std::string clear = "\r\x1b[K";
    EXPECT_EQ(shown.out.rfind(clear), shown.out.size() - clear.size()) << shown.out;
    // Elsewhere, nothing of it.
    test::Child plain(stepwell, {"-j1", "--check", "p/*.html"}, options);
    const auto quiet = holdForASecond(plain, [&] { return plain.pid(); });
    EXPECT_EQ(quiet.exitStatus, 0);
    EXPECT_EQ(quiet.out + quiet.err, "");
}

// Where the tag table comes from: an installed-like copy (no table beside the program)
// under a prefix of its own, each place holding a table that indents by a depth of its
// own, so that the result tells which table was used.
class TablePlaces : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"lib/stepwell", "etc/stepwell", "config/stepwell"})
            std::filesystem::create_directories(prefix.file(folder));
        std::filesystem::create_directories(work.file("sub"));
        stepwell = installProgramCopy(prefix.file("lib/stepwell"));
        // Open to the ordinary user that some rows run as.
        for (const TempDir* dir : {&prefix, &work})
            ::chmod(dir->path().c_str(), 0755);
        writeFile(work.file("sub/page.html"), "<x>\ny\n");
    }

    std::string table(int depth) const { return "<X," + std::to_string(depth) + "\n"; }
    void place(char source) {
        const std::map<char, std::pair<std::string, int>> places{
            {'T', {work.file("named.txt"), 1}},
            {'E', {work.file("env.txt"), 2}},
            {'P', {work.file(".stepwell-tags"), 3}},
            {'G', {prefix.file("lib/stepwell/StepwellTag.txt"), 4}},
            {'U', {prefix.file("config/stepwell/StepwellTag.txt"), 5}},
            {'S', {prefix.file("etc/stepwell/StepwellTag.txt"), 6}},
        };
        const auto& [path, depth] = places.at(source);
        writeFile(path, table(depth));
    }

    TempDir prefix, work;
    std::string stepwell;
};

TEST_F(TablePlaces, TheFirstPlaceThatHoldsATableGivesTheWholeTable) {
    const ScopedEnv config("XDG_CONFIG_HOME", prefix.file("config").c_str());
    const std::string noTable = "stepwell: no tag table applies in sub/; lines only lose their "
                                "leading blanks (see --which-tags)\n";
    // The sources present, and the depth of the table that applies (0: none).
    const std::vector<std::pair<std::string, int>> rows{
        {"TEPGUS", 1}, {"EPGUS", 2}, {"PGUS", 3}, {"GUS", 4}, {"US", 5}, {"S", 6}, {"", 0},
    };
    for (const auto& [sources, depth] : rows) {
        SCOPED_TRACE("sources " + sources);
        for (const std::string name : {"named.txt", "env.txt", ".stepwell-tags"})
            ::unlink(work.file(name).c_str());
        for (const std::string name : {"lib/stepwell/", "config/stepwell/", "etc/stepwell/"})
            ::unlink(prefix.file(name + "StepwellTag.txt").c_str());
        for (const char source : sources)
            place(source);
        const ScopedEnv named("STEPWELL_TAGS",
                              sources.find('E') != std::string::npos ? "env.txt" : nullptr);
        std::vector<std::string> arguments{"sub/page.html"};
        if (sources.find('T') != std::string::npos)
            arguments.insert(arguments.begin(), "--tags=named.txt");
        ::unlink(work.file("sub/page.html.ident").c_str());
        const auto run = runProgram(stepwell, arguments, work.path());
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(readFile(work.file("sub/page.html.ident")),
                  "<x>\n" + std::string(depth, '\t') + "y\n");
        // Without any table the run says so, once, and converts as it would.
        EXPECT_EQ(run.err, depth ? "" : noTable);
        arguments.insert(arguments.begin(), "--which-tags");
        const auto which = runProgram(stepwell, arguments, work.path());
        EXPECT_EQ(which.exitStatus, depth == 0 ? 1 : 0) << which.err;
        if (depth == 0)
            EXPECT_NE(which.err.find("no tag table applies"), std::string::npos) << which.err;
        else // named tables as given, relative to the folder the program ran in
            EXPECT_EQ(readFile(std::filesystem::path(work.path()) /
                               which.out.substr(0, which.out.size() - 1)),
                      table(depth));
    }
    const auto check = runProgram(stepwell, {"--check", "sub/page.html", "sub/*"}, work.path());
    EXPECT_EQ(check.err, noTable);
}

TEST_F(TablePlaces, ATableThatIsNamedOrFoundButCannotBeReadIsAnError) {
    const ScopedEnv config("XDG_CONFIG_HOME", prefix.file("config").c_str());
    const ScopedEnv noNamed("STEPWELL_TAGS", nullptr);
    place('S');
    std::filesystem::create_directories(work.file("folder"));
    ::mkfifo(work.file("fifo").c_str(), 0644);
    writeFile(work.file("huge.txt"), std::string(2 << 20, '\n')); // no table is that large
    for (const std::string named : {"missing.txt", "folder", "fifo", "huge.txt"}) {
        auto run = runProgram(stepwell, {"--tags", named, "sub/page.html"}, work.path());
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.err.rfind("stepwell: " + named + ": ", 0), 0u) << run.err;
        EXPECT_EQ(runProgram(stepwell, {"--tags", named, "--check", "sub/page.html"}, work.path())
                      .exitStatus,
                  2);
        const ScopedEnv env("STEPWELL_TAGS", named.c_str());
        EXPECT_EQ(runProgram(stepwell, {"sub/page.html"}, work.path()).exitStatus, 1);
    }
    // A project table nobody may read is reported, not passed over for the system's table.
    place('P');
    ::chmod(work.file(".stepwell-tags").c_str(), 0);
    const auto run = runProgram(test::setprivProgram, test::asOrdinaryUser(stepwell, {"-"}),
                                work.path(), "<x>\ny\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find(work.file(".stepwell-tags") + ": cannot open: Permission denied"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(listFolder(work.path()), ".stepwell-tags fifo folder huge.txt sub");
    // Nor is a table beside the program, the user's or the system's passed over for the next
    // place when it cannot be read (the system's readable below the others).
    ::unlink(work.file(".stepwell-tags").c_str());
    for (const auto& [source, path] :
         {std::pair{'G', prefix.file("lib/stepwell/StepwellTag.txt")},
          std::pair{'U', prefix.file("config/stepwell/StepwellTag.txt")},
          std::pair{'S', prefix.file("etc/stepwell/StepwellTag.txt")}}) {
        place('S');
        place(source);
        ::chmod(path.c_str(), 0);
        const auto unreadable = runProgram(
            test::setprivProgram, test::asOrdinaryUser(stepwell, {"-"}), work.path(), "<x>\ny\n");
        EXPECT_EQ(unreadable.exitStatus, 1) << source;
        EXPECT_NE(unreadable.err.find(path + ": cannot open: Permission denied"), std::string::npos)
            << unreadable.err;
        ::unlink(path.c_str());
    }
}

// An editor pipes its buffer through "-" and names the file it holds: the input is taken
// for that file (the system's table would apply to the folder the run starts in), in its
// tag table, its messages and its diff, even before the file or its folder exist.
TEST_F(TablePlaces, StandardInputIsTakenForTheFileThatStdinFilenameNames) {
    const ScopedEnv config("XDG_CONFIG_HOME", prefix.file("config").c_str());
    const ScopedEnv noNamed("STEPWELL_TAGS", nullptr);
    place('P');
    place('S');
    const auto filter = [&](const std::string& folder, std::vector<std::string> arguments) {
        arguments.push_back("-");
        return runProgram(stepwell, arguments, folder, "<x>\ny\n");
    };
    const std::string page = "--stdin-filename=" + work.file("sub/page.html");
    EXPECT_EQ(filter(prefix.path(), {page}).out, "<x>\n\t\t\ty\n");
    EXPECT_EQ(filter(work.file("sub"), {"--stdin-filename=new/x.html"}).out, "<x>\n\t\t\ty\n");
    auto run = filter(work.path(), {"--diff", "--stdin-filename=sub/my page.html"});
    EXPECT_EQ(run.out.substr(0, run.out.find("@@")),
              "--- \"a/sub/my page.html\"\n+++ \"b/sub/my page.html\"\n");
    writeFile(work.file(".stepwell-tags"), "<X,x\n");
    run = filter(work.path(), {"--stdin-filename=sub/page.html"});
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "stepwell: sub/page.html, line 1: " + work.file(".stepwell-tags") +
                           ", line 1: tag \"<X\" has the delta \"x\", which is not a number\n");
}

void giveToNobody(const std::string& path) {
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0) << path;
}

// A table that another user may have put in place is refused, naming it and why, and fails
// the file; the user may still name a table deliberately. Each row arranges one such table.
TEST_F(TablePlaces, ATableAnotherUserMayHavePutThereIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give files to other users";
    const ScopedEnv config("XDG_CONFIG_HOME", prefix.file("config").c_str());
    const ScopedEnv noNamed("STEPWELL_TAGS", nullptr);
    const std::string project = work.file(".stepwell-tags");
    const std::string system = prefix.file("etc/stepwell/StepwellTag.txt");
    const std::string nobody = ::getpwuid(65534) ? ::getpwuid(65534)->pw_name : "user 65534";
    const struct {
        std::function<void()> arrange;
        std::string table, why;
    } rows[] = {
        {[&] { place('P'), giveToNobody(project); }, project,
         "belongs to " + nobody + ", not to you or root"},
        {[&] { writeFile(project, ""), ::chmod(work.path().c_str(), 01777); }, project,
         "other users may write its folder"},
        {[&] { place('S'), giveToNobody(system); }, system,
         "belongs to " + nobody + ", not to you or root"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.table + " " + row.why);
        ::unlink(project.c_str());
        ::chmod(work.path().c_str(), 0755);
        row.arrange();
        const std::string error =
            row.table + ": " + row.why + "; not used (name a table with --tags)\n";
        // Every file it would apply to fails, with the same message.
        writeFile(work.file("sub/other.html"), "<x>\n");
        auto run = runProgram(stepwell, {"sub/page.html", "sub/other.html"}, work.path());
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.err,
                  "stepwell: sub/page.html: " + error + "stepwell: sub/other.html: " + error);
        ::unlink(work.file("sub/other.html").c_str());
        run = runProgram(stepwell, {"--which-tags", "sub/page.html"}, work.path());
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.err, "stepwell: " + error);
        run = runProgram(stepwell, {"--stdin-filename=sub/page.html", "-"}, work.path(), "y\n");
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.err, "stepwell: " + error);
        EXPECT_EQ(listFolder(work.file("sub")), "page.html");
        place('T');
        run = runProgram(stepwell, {"--tags", "named.txt", "-"}, work.path(), "<x>\ny\n");
        EXPECT_EQ(run.out, "<x>\n\ty\n") << run.err;
        ::unlink(system.c_str());
    }
    // The user's own table in a folder no one else may write counts, for an ordinary user too.
    ::chmod(work.path().c_str(), 0755);
    place('P');
    giveToNobody(project);
    const auto run = runProgram(test::setprivProgram, test::asOrdinaryUser(stepwell, {"-"}),
                                work.path(), "<x>\ny\n");
    EXPECT_EQ(run.out, "<x>\n\t\t\ty\n") << run.err;
}

TEST_F(Program, OptionsOverrideTheStoredSettingAndAnswerForScripts) {
    writeFile(programDir.file("Stepwell.ini"), "\r\n1\r\n");
    writeFile(work.file("a.html"), "<ul>\nx\n</ul>\n");
    // --no-replace writes the .ident file beside it without asking.
    auto run = runProgram(stepwell, {"--no-replace", "a.html"}, work.path(), "");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(listFolder(work.path()), "a.html a.html.ident");
    // --yes answers the overwrite question itself; --replace replaces whatever is stored.
    writeFile(programDir.file("Stepwell.ini"), "\r\n0\r\n");
    run = runProgram(stepwell, {"--yes", "--replace", "a.html"}, work.path(), "");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(work.file("a.html")), "<ul>\n\tx\n</ul>\n");
    run = runProgram(stepwell, {"--replace", "--no-replace", "a.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 2);
}

TEST_F(Program, LearnPrintsATableThatConversionsAcceptAndReportsEachPage) {
    writeFile(work.file("header.html"),
              readFile(STEPWELL_SOURCE_DIR "/tests/data/pages/minima-header.html"));
    writeFile(work.file("flat.html"), "<p>\nx\n");
    auto run = runProgram(stepwell, {"--learn", "header.html", "flat.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.err.find("header.html: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" of 27 lines reproduced (indented with 2 spaces)\n"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("flat.html: not indented; nothing to learn from\n"), std::string::npos);
    EXPECT_NE(run.err.find("\ntotal: "), std::string::npos);
    // The table is a tag file as it is: --tags and a project table take it.
    writeFile(work.file(".stepwell-tags"), run.out);
    const auto which = runProgram(stepwell, {"--which-tags", "header.html"}, work.path());
    EXPECT_EQ(which.exitStatus, 0) << which.err;
    const auto converted =
        runProgram(stepwell, {"-"}, work.path(), readFile(work.file("header.html")));
    EXPECT_EQ(converted.exitStatus, 0) << converted.err;
    EXPECT_NE(converted.out.find("\n\t<div class=\"wrapper\">\n"), std::string::npos)
        << converted.out;
    // Nothing to learn from, or a page that cannot be read: exit 1, said on standard error.
    run = runProgram(stepwell, {"--learn", "flat.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("stepwell: no page to learn from"), std::string::npos) << run.err;
    run = runProgram(stepwell, {"--learn", "header.html", "missing.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("stepwell: missing.html: "), std::string::npos) << run.err;
    EXPECT_EQ(runProgram(stepwell, {"--learn"}, work.path()).exitStatus, 2);
}

TEST_F(Program, ExplainWritesTheExplanationAndNothingElse) {
    writeFile(work.file("a.html"), "<ul>\n  x\n</ul><b>\n");
    const std::string expected =
        "   line level  next  rule                   lead  entries counted                 text\n"
        "      1     0     1  at level                  1  <UL,1                           <ul>\n"
        "      2     1     1  at level                  0  -                               x\n"
        "      3     0     0  out by sum               -1  </UL,-1                         "
        "</ul><b>\n";
    auto run = runProgram(stepwell, {"--explain", "a.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, expected);
    run = runProgram(stepwell, {"--explain", "-"}, work.path(), readFile(work.file("a.html")));
    EXPECT_EQ(run.out, expected);
    // After --, '-' names a file.
    writeFile(work.file("-"), "x\n");
    run =
        runProgram(stepwell, {"--explain", "--", "-"}, work.path(), readFile(work.file("a.html")));
    EXPECT_EQ(
        run.out.substr(run.out.find('\n') + 1),
        "      1     0     0  at level                  0  -                               x\n");
    // The table named for the run; its errors name the page, its line and the tag file.
    writeFile(work.file("bad.tags"), "<B,bold\n");
    run = runProgram(stepwell, {"--tags", "bad.tags", "--explain", "a.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "stepwell: a.html, line 3: bad.tags, line 1: tag \"<B\" has the delta "
                       "\"bold\", which is not a number\n");
    run = runProgram(stepwell, {"--explain", "missing.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("stepwell: missing.html: "), std::string::npos) << run.err;
}

TEST_F(Program, DiffIsAPatchThatGivesTheConversion) {
    // The sample pages, and lines ended every way a file can end them.
    writeFile(programDir.file("StepwellTag.txt"), readFile(STEPWELL_SOURCE_DIR "/StepwellTag.txt"));
    std::filesystem::create_directories(work.file("pages"));
    for (const auto& entry : std::filesystem::directory_iterator(STEPWELL_SOURCE_DIR "/samples"))
        std::filesystem::copy_file(entry.path(),
                                   work.file("pages/") + entry.path().filename().string());
    writeFile(work.file("pages/mixed.html"), "a\r  b\r\n<ul>\n x\r\n</ul>");
    writeFile(work.file("pages/cr.html"), "\xEF\xBB\xBF  <ul>\rx\r</ul>\r");
    writeFile(work.file("pages/same.html"), "<ol>\n\tx\n</ol>\n");
    // Every name Stepwell accepts, however odd, heads a diff that both tools apply.
    for (const std::string name : {"my page", "ta\tb", "new\nline", "back\\slash", "q\"uote",
                                   "bad\xff", "esc\x1b[2J", " lead", "trail "})
        writeFile(work.file("pages/" + name + ".html"), "<ol>\n x\n</ol>\n");
    auto run = runProgram(stepwell, {"--diff", "pages/*.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    EXPECT_EQ(run.out.find("pages/same.html"), std::string::npos);
    EXPECT_EQ(run.out.rfind("--- ", 0), 0u);
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("--- ", 0) == 0 || line.rfind("+++ ", 0) == 0) {
            EXPECT_EQ(std::count_if(line.begin(), line.end(),
                                    [](unsigned char c) { return c < 0x20 || c == 0x7F; }),
                      0)
                << line;
        }
    }
    writeFile(work.file("changes.patch"), run.out);
    std::filesystem::create_directories(work.file("git"));
    std::filesystem::copy(work.file("pages"), work.file("git/pages"));
    const auto gitApply =
        runProgram("/usr/bin/git", {"apply", "../changes.patch"}, work.file("git"));
    ASSERT_EQ(gitApply.exitStatus, 0) << gitApply.out << gitApply.err;
    const auto patch =
        runProgram("/usr/bin/patch", {"-p1", "-s", "-i", "changes.patch"}, work.path());
    ASSERT_EQ(patch.exitStatus, 0) << patch.out << patch.err;
    for (const auto& page : std::filesystem::directory_iterator(work.file("pages")))
        EXPECT_EQ(readFile(work.file("git/pages/") + page.path().filename().string()),
                  readFile(page.path()))
            << page.path();
    // Patched, every page is what a conversion makes of it: nothing would change now.
    run = runProgram(stepwell, {"--diff", "pages/*.html"}, work.path());
    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "");
    run = runProgram(stepwell, {"--diff", "-"}, work.path(), "<ol>\nx\n</ol>\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "--- -\n+++ -\n@@ -1,3 +1,3 @@\n <ol>\n-x\n+\tx\n </ol>\n");
    // Two hunks, three lines of context each: a CR inside an LF file ends a line, so the
    // first hunk gains a line and the second starts one line later on the new side.
    writeFile(work.file("hunks.txt"), "0\na\rb\nc\nd\ne\nf\ng\nh\ni\n  y\nj\nk\n");
    run = runProgram(stepwell, {"--diff", "hunks.txt"}, work.path());
    EXPECT_EQ(run.out, "--- a/hunks.txt\n+++ b/hunks.txt\n"
                       "@@ -1,5 +1,6 @@\n 0\n-a\rb\n+a\n+b\n c\n d\n e\n"
                       "@@ -7,6 +8,6 @@\n g\n h\n i\n-  y\n+y\n j\n k\n");
}

TEST_F(Program, AtATerminalQuestionsAreAskedThereEvenWithADisplay) {
    // The copy has no window module: asking through it would say so before asking here.
    const ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
    const ScopedEnv display("DISPLAY", ":4321");
    writeFile(work.file("a.html"), "a\n");
    writeFile(work.file("a.html.ident"), "old");
    const auto run = runProgram("/usr/bin/script", {"-qec", stepwell + " a.html", "/dev/null"},
                                work.path(), "n\n");
    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("a.html.identを上書きしますか? [Y/n] "), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("no dialogs"), std::string::npos) << run.out;
    EXPECT_EQ(readFile(work.file("a.html.ident")), "old");
}

} // namespace
} // namespace stepwell
