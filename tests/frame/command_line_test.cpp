#include "frame/command_line.h"

#include "frame/text/error.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace stepwell {
namespace {

using test::readFile;
using test::ScriptedPrompts;
using test::TempDir;
using test::writeFile;
using Action = CommandLine::Action;

TEST(ParseCommandLine, ArgumentsAreTokensAndOptionsAnswerAtOnce) {
    EXPECT_EQ(parseCommandLine({}).action, Action::Window);
    const CommandLine files = parseCommandLine({"a b.html", "\"q\".html", "*.htm"});
    EXPECT_EQ(files.action, Action::Convert);
    EXPECT_EQ(files.files, (std::vector<std::string>{"a b.html", "\"q\".html", "*.htm"}));
    EXPECT_EQ(parseCommandLine({"a", "--help"}).action, Action::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).action, Action::Version);
    EXPECT_EQ(parseCommandLine({"-x"}).action, Action::UsageError);
    EXPECT_EQ(parseCommandLine({"--"}).action, Action::UsageError);
    EXPECT_EQ(parseCommandLine({"--", "--help", "-x"}).files,
              (std::vector<std::string>{"--help", "-x"}));
}

TEST(ParseCommandLine, ALoneDashFiltersAndCheckNeedsFiles) {
    EXPECT_EQ(parseCommandLine({"-"}).action, Action::Filter);
    EXPECT_EQ(parseCommandLine({"-", "a.html"}).action, Action::UsageError);
    EXPECT_EQ(parseCommandLine({"--check", "-"}).action, Action::UsageError);
    EXPECT_EQ(parseCommandLine({"--", "-"}).files, (std::vector<std::string>{"-"})); // a file
    const CommandLine check = parseCommandLine({"a.html", "--check", "*.htm"});
    EXPECT_EQ(check.action, Action::Check);
    EXPECT_EQ(check.files, (std::vector<std::string>{"a.html", "*.htm"}));
    EXPECT_EQ(parseCommandLine({"--check"}).action, Action::UsageError);
    EXPECT_EQ(parseCommandLine({"--check", "--", "--x"}).files, (std::vector<std::string>{"--x"}));
}

TEST(ExpandToken, WildcardsNameEveryOrdinaryMatchInNameOrder) {
    TempDir dir;
    for (const char* name : {"b.html", "a.html", "c.htm", ".hidden.html", "A.HTML"})
        writeFile(dir.file(name), "x");
    ::mkdir(dir.file("d.html").c_str(), 0755);
    const std::string folder = dir.path() + "/";
    EXPECT_EQ(expandToken(folder + "*.html"),
              (std::vector<std::string>{folder + "a.html", folder + "b.html"}));
    EXPECT_EQ(expandToken(folder + "?.htm"), (std::vector<std::string>{folder + "c.htm"}));
    EXPECT_EQ(expandToken(folder + "none.html"), (std::vector<std::string>{folder + "none.html"}));
    EXPECT_THROW(expandToken(folder + "*.txt"), Error);
    EXPECT_THROW(expandToken(folder + "missing/*.html"), Error);
}

TEST(RunCommandLine, GoesOnAfterAFailureAndReportsIt) {
    TempDir program, work;
    writeFile(work.file("a.html"), " a\n");
    writeFile(work.file("b.html"), " b\n");
    ScriptedPrompts prompts;
    const int status = runCommandLine(
        {work.file("a.html"), work.file("*.none"), work.file("missing.html"), work.file("b.html")},
        {program.path(), 0}, prompts);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(readFile(work.file("a.html.ident")), "a\n");
    EXPECT_EQ(readFile(work.file("b.html.ident")), "b\n");
    ASSERT_EQ(prompts.errors.size(), 2u);
    EXPECT_NE(prompts.errors[0].find("*.none"), std::string::npos);
    EXPECT_NE(prompts.errors[1].find("missing.html"), std::string::npos);
}

TEST(RunCommandLine, DecliningIsNotAFailure) {
    TempDir program, work;
    writeFile(work.file("a.html"), "a\n");
    ScriptedPrompts prompts({false});
    EXPECT_EQ(runCommandLine({work.file("a.html")}, {program.path(), 1}, prompts), 0);
    EXPECT_EQ(readFile(work.file("a.html")), "a\n");
}

} // namespace
} // namespace stepwell
