// SPDX-License-Identifier: MIT
#include "frame/startup/batch.h"
#include "frame/startup/command_line.h"
#include "frame/startup/file_names.h"
#include "frame/startup/options.h"

#include "frame/text/error.h"
#include "tests/support/child_process.h"
#include "tests/support/run_program.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"

#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

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

// What an argument list asks for, as one comparable text: the action, the files, the
// options that came with them, or "usage error".
std::string meaning(const std::vector<std::string>& arguments) {
    const CommandLine command = parseCommandLine(arguments);
    if (command.action == Action::UsageError)
        return "usage error";
    const char* actions[] = {"window",     "convert", "filter",  "check", "diff",
                             "which-tags", "learn",   "explain", "help",  "version"};
    std::string text = actions[static_cast<int>(command.action)];
    for (const std::string& file : command.files)
        text += " " + file;
    if (command.standardInput)
        text += " stdin";
    if (!command.tags.empty())
        text += " tags=" + command.tags;
    if (!command.stdinName.empty())
        text += " as=" + command.stdinName;
    if (command.replace)
        text += *command.replace ? " replace" : " no-replace";
    if (command.yes)
        text += " yes";
    if (command.jobs)
        text += " jobs=" + std::to_string(command.jobs);
    return text;
}

TEST(ParseCommandLine, OptionsForOneRunAndTheirConflicts) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows{
        {{"--replace", "a.html"}, "convert a.html replace"},
        {{"a.html", "--no-replace", "b.html"}, "convert a.html b.html no-replace"},
        {{"--yes", "--replace", "*.html"}, "convert *.html replace yes"},
        {{"--tags", "t.txt", "a.html"}, "convert a.html tags=t.txt"},
        {{"--tags=t.txt", "--check", "a.html"}, "check a.html tags=t.txt"},
        {{"--diff", "a.html", "b.html"}, "diff a.html b.html"},
        {{"--diff", "-"}, "diff stdin"},
        {{"--tags", "t", "-"}, "filter stdin tags=t"},
        {{"--which-tags"}, "which-tags"},
        {{"--which-tags", "site/a.html"}, "which-tags site/a.html"},
        {{"--yes", "-"}, "filter stdin yes"},
        {{"--learn", "a.html", "*.htm"}, "learn a.html *.htm"},
        {{"--explain", "a.html", "--tags", "t"}, "explain a.html tags=t"},
        {{"--explain", "-"}, "explain stdin"},
        {{"-", "--stdin-filename=site/a b.html"}, "filter stdin as=site/a b.html"},
        {{"--diff", "--stdin-filename", "a.html", "-"}, "diff stdin as=a.html"},
        {{"--explain", "--stdin-filename=a/b.html", "-"}, "explain stdin as=a/b.html"},
        {{"--learn", "--stdin-filename=a/b.html", "b.html"}, "usage error"},
        // Conflicts and missing parts, refused before any file is touched.
        {{"--replace", "--no-replace", "a.html"}, "usage error"},
        {{"--diff", "--check", "a.html"}, "usage error"},
        {{"--replace", "-"}, "usage error"},
        {{"--no-replace", "--check", "a.html"}, "usage error"},
        {{"--replace", "--diff", "a.html"}, "usage error"},
        {{"--which-tags", "a", "b"}, "usage error"},
        {{"--which-tags", "-"}, "usage error"},
        {{"--diff"}, "usage error"},
        {{"--tags"}, "usage error"},
        {{"--tags=", "a.html"}, "usage error"},
        {{"--replace"}, "usage error"},
        {{"--yes=1", "a.html"}, "usage error"},
        {{"--tag", "t", "a.html"}, "usage error"},
        {{"--learn"}, "usage error"},
        {{"--learn", "-"}, "usage error"},
        {{"--learn", "--tags", "t", "a.html"}, "usage error"},
        {{"--learn", "--check", "a.html"}, "usage error"},
        {{"--explain", "a.html", "b.html"}, "usage error"},
        {{"--explain", "-", "a.html"}, "usage error"},
        {{"--explain", "--replace", "a.html"}, "usage error"},
        {{"--explain"}, "usage error"},
        {{"--", "--replace"}, "convert --replace"},
        {{"-j", "2", "a.html"}, "convert a.html jobs=2"},
        {{"-j8", "--check", "a.html"}, "check a.html jobs=8"},
        {{"--jobs=256", "--diff", "a.html"}, "diff a.html jobs=256"},
        {{"-j", "0", "a.html"}, "usage error"},
        {{"-j", "257", "a.html"}, "usage error"},
        {{"--jobs=2x", "a.html"}, "usage error"},
        {{"-j", "-1", "a.html"}, "usage error"},
        {{"-j"}, "usage error"},
        {{"-j2"}, "usage error"},
        // An unknown option is an error wherever it stands, and a run has one table.
        {{"--help", "--bogus"}, "usage error"},
        {{"--bogus", "--version"}, "usage error"},
        {{"--version", "--help", "--check"}, "version"},
        {{"--tags", "a", "--tags=b", "x.html"}, "usage error"},
        {{"--tags", "a", "--tags=a", "x.html"}, "convert x.html tags=a"},
        // --stdin-filename only names what "-" reads.
        {{"--stdin-filename=a.html", "b.html"}, "usage error"},
        {{"--stdin-filename=a.html"}, "usage error"},
        {{"--stdin-filename=", "-"}, "usage error"},
        {{"--stdin-filename=a", "--stdin-filename=b", "-"}, "usage error"},
        {{"--check", "--stdin-filename=a.html", "a.html"}, "usage error"},
    };
    for (const auto& [arguments, expected] : rows) {
        std::string line;
        for (const std::string& argument : arguments)
            line += argument + " ";
        EXPECT_EQ(meaning(arguments), expected) << line;
    }
}

// The options --help lists, the manual page describes and the completions offer are those
// of the one table the parser reads. (The bash completion reads them from --help itself.)
TEST(OptionTable, TheHelpAndTheManualPageNameEveryOptionAndNoOther) {
    std::set<std::string> table{"-", "--"};
    for (const OptionInfo& info : optionTable()) {
        table.insert(std::string(info.name));
        if (!info.shortName.empty())
            table.insert(std::string(info.shortName));
    }
    // The option names in a text: "-" or "--" and letters or dashes, standing alone (after the
    // start, a blank, a comma or a bracket; before the end, a blank, "=", a comma or a bracket).
    const auto namesIn = [](const std::string& text) {
        std::set<std::string> names;
        const auto boundary = [](char c) {
            return c == ' ' || c == '\t' || c == ',' || c == '[' || c == ']';
        };
        for (std::size_t at = 0; at < text.size(); ++at) {
            if (text[at] != '-' || (at > 0 && !boundary(text[at - 1])))
                continue;
            std::size_t end = at;
            while (end < text.size() &&
                   (text[end] == '-' || std::islower(static_cast<unsigned char>(text[end]))))
                ++end;
            if (end == text.size() || boundary(text[end]) || text[end] == '=')
                names.insert(text.substr(at, end - at));
            at = end;
        }
        return names;
    };
    // In --help, the first word of each line of the list.
    std::set<std::string> help;
    std::istringstream lines(usageText());
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("  ", 0) == 0 && line.find_first_not_of(' ') == line.find('-'))
            for (const std::string& found : namesIn(line.substr(0, 25)))
                help.insert(found);
    EXPECT_EQ(help, table);
    // In the manual page, the tag line of each item of OPTIONS.
    std::string manual = readFile(STEPWELL_SOURCE_DIR "/doc/stepwell.1");
    for (const auto& [escape, plain] :
         {std::pair{"\\-", "-"}, {"\\fB", ""}, {"\\fI", ""}, {"\\fR", ""}, {"\\fP", ""}})
        for (std::size_t at; (at = manual.find(escape)) != std::string::npos;)
            manual.replace(at, std::string(escape).size(), plain);
    const std::size_t options = manual.find(".SH OPTIONS\n");
    ASSERT_NE(options, std::string::npos);
    std::istringstream section(
        manual.substr(options, manual.find("\n.SH ", options + 1) - options));
    std::set<std::string> described;
    for (std::string line, previous; std::getline(section, line); previous = line)
        if (previous == ".TP")
            for (const std::string& found : namesIn(line))
                described.insert(found);
    EXPECT_EQ(described, table);
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

TEST(ExpandToken, LiteralNamesFirstAndAnyFoldersBelowTwoStars) {
    TempDir dir;
    const std::string top = dir.path() + "/";
    for (const char* folder : {"site/b", "site/a-b", "site/.git", "site/a/deep", "other"})
        std::filesystem::create_directories(top + folder);
    for (const char* name :
         {"site/z.html", "site/a.html", "site/b/x.html", "site/a-b/y.html", "site/.git/h.html",
          "site/a/deep/d.html", "site/a/deep/d.txt", "what?.html", "whats.html", "star*.html"})
        writeFile(top + name, "x");
    using Paths = std::vector<std::string>;
    const auto expanded = [&](const std::string& token) {
        Paths paths;
        for (const std::string& path : expandToken(top + token))
            paths.push_back(path.substr(top.size()));
        return paths;
    };
    // Depth first, each folder's files and subfolders together in name order: the folder
    // "a" comes before "a-b" and "a.html".
    EXPECT_EQ(expanded("site/**/*.html"), (Paths{"site/a/deep/d.html", "site/a-b/y.html",
                                                 "site/a.html", "site/b/x.html", "site/z.html"}));
    EXPECT_EQ(expanded("site/**/d.*"), (Paths{"site/a/deep/d.html", "site/a/deep/d.txt"}));
    EXPECT_EQ(expanded("**/deep/*"), (Paths{"site/a/deep/d.html", "site/a/deep/d.txt"}));
    EXPECT_EQ(expanded("site/**/**/x.html"), (Paths{"site/b/x.html"})); // each file once
    // A name that exists is that file, wildcards or not; otherwise it is a pattern.
    EXPECT_EQ(expanded("what?.html"), (Paths{"what?.html"}));
    EXPECT_EQ(expanded("star*.html"), (Paths{"star*.html"}));
    EXPECT_EQ(expanded("wha?s.html"), (Paths{"whats.html"}));
    EXPECT_EQ(expanded("site/b"), (Paths{"site/b"})); // a folder stays a name, and is refused
    EXPECT_THROW(expandToken(top + "**/*.none"), Error);
}

// The walk below "**" visits each folder once for each place in the pattern and follows no
// link to a folder, so that deep trees, several "**" and loops of links end quickly; the
// real program runs with a time limit of its own, so that a walk that does not end fails
// fast. A folder it cannot read is reported once.
TEST(ExpandToken, WalksBelowTwoStarsEndQuickly) {
    TempDir dir, program;
    const std::string stepwell = test::installProgramCopy(program.path());
    ::chmod(program.path().c_str(), 0755);
    writeFile(dir.file("tags.txt"), "<X,1\n");
    std::string deep = dir.file("d");
    for (int depth = 0; depth < 200; ++depth)
        deep += "/f";
    std::filesystem::create_directories(deep);
    writeFile(deep + "/deep.html", " x\n");
    ASSERT_EQ(::symlink("..", dir.file("d/f/f/up").c_str()), 0);            // a loop
    ASSERT_EQ(::symlink(dir.path().c_str(), dir.file("d/out").c_str()), 0); // and out
    ::mkdir(dir.file("d/closed").c_str(), 0);
    ::chmod(dir.path().c_str(), 0755);
    test::ChildOptions options;
    options.folder = dir.path();
    options.timeout = std::chrono::seconds(10);
    options.ordinaryUser = true; // root could read the closed folder
    const test::ChildResult run =
        test::runChild(stepwell, {"--check", "--tags=tags.txt", "d/**/**/**/deep.html"}, options);
    EXPECT_FALSE(run.hung);
    EXPECT_EQ(run.out, deep.substr(dir.path().size() + 1) + "/deep.html\n");
    EXPECT_EQ(run.err.find("stepwell: d/closed/: cannot read folder: Permission denied\n"), 0u)
        << run.err;
    EXPECT_EQ(run.err.find("closed", run.err.find('\n')), std::string::npos) << run.err;
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
