// Runs the built program as a user would: arguments, answers on stdin, exit status.
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>

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
    writeFile(programDir.file("Stepwell.ini"), elsewhere.path() + "\r\n1\r\n");
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
    EXPECT_EQ(run.out, "stepwell " STEPWELL_VERSION "\n");
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
    EXPECT_NE(run.err.find("stepwell: no dialogs ("), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("a.html.identを上書きしますか? [Y/n] "), std::string::npos) << run.err;
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

} // namespace
} // namespace stepwell
