// SPDX-License-Identifier: MIT
#include "engine/convert.h"
#include "engine/core/line_error.h"
#include "engine/tag_file.h"

#include "tests/support/ordinary_user.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stepwell {
namespace {

using test::listFolder;
using test::readFile;
using test::ScriptedPrompts;
using test::TempDir;
using test::writeFile;

constexpr const char* rowsTable = "<TABLE,1\r\n</TABLE,-1\r\n<TR,1\r\n</TR,-1\r\n";

class ConvertFile : public ::testing::Test {
protected:
    void SetUp() override { writeFile(program.file(tagFileName), rowsTable); }

    ConvertResult convert(const std::string& path, bool replace = false) {
        return convertFile(path, {program.path(), replace}, prompts);
    }
    // Converts `input` as a fresh page.html (not replacing) and returns page.html.ident.
    std::string converted(const std::string& input) {
        writeFile(work.file("page.html"), input);
        ::unlink(work.file("page.html.ident").c_str());
        EXPECT_EQ(convert(work.file("page.html")), ConvertResult::Converted);
        return readFile(work.file("page.html.ident"));
    }

    TempDir program, work;
    ScriptedPrompts prompts;
};

TEST_F(ConvertFile, WritesIdentBesideTheInput) {
    EXPECT_EQ(converted("<table>\r\n <tr><td>x</td></tr>\r\n  </table>\r\n"),
              "<table>\r\n\t<tr><td>x</td></tr>\r\n</table>\r\n");
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(listFolder(work.path()), "page.html page.html.ident");
}

TEST_F(ConvertFile, EveryLineBreakEndsALineAndTheFirstOneIsUsedThroughout) {
    EXPECT_EQ(converted("<table>\nx\r\n y\rz"), "<table>\n\tx\n\ty\n\tz\n");
    EXPECT_EQ(converted("<table>\r\nx\n y\r"), "<table>\r\n\tx\r\n\ty\r\n");
    EXPECT_EQ(converted("<table>\rx\r\n"), "<table>\r\tx\r");
    EXPECT_EQ(converted("  one line"), "one line\n");
    EXPECT_EQ(converted("\n\n"), "\n\n");
    EXPECT_EQ(converted(""), "");
}

TEST_F(ConvertFile, ByteOrderMarkStaysFirstAndIsNotPartOfTheLine) {
    EXPECT_EQ(converted("\xEF\xBB\xBF  <table>\nx\n"), "\xEF\xBB\xBF<table>\n\tx\n");
    EXPECT_EQ(converted("\xEF\xBB\xBF"), "\xEF\xBB\xBF");
}

TEST_F(ConvertFile, LongLinesAndBreaksAcrossTheReadBuffer) {
    // Lines longer than the reader's buffer, and a CR LF split by a buffer boundary.
    std::string input = "<table>\r\n" + std::string(256 * 1024 - 10, 'a') + "\r\n";
    std::string expected = "<table>\r\n\t" + std::string(256 * 1024 - 10, 'a') + "\r\n";
    for (int i = 0; i < 3; ++i) {
        const std::string line(100000 + i, char('b' + i));
        input += "  " + line + "\r\n";
        expected += "\t" + line + "\r\n";
    }
    EXPECT_EQ(converted(input), expected);
}

TEST_F(ConvertFile, NoLimitOnTheNumberOfLines) {
    // About 10 MiB: the result is written on a thread of its own and synced on the way.
    std::string input, expected;
    for (int i = 0; i < 800000; ++i) {
        input += " <tr>\n </tr>\n";
        expected += "<tr>\n</tr>\n";
    }
    EXPECT_EQ(converted(input), expected);
}

TEST_F(ConvertFile, ConvertingAnIdentFileAddsAnotherIdent) {
    writeFile(work.file("page.html.ident"), "x\n");
    EXPECT_EQ(convert(work.file("page.html.ident")), ConvertResult::Converted);
    EXPECT_EQ(readFile(work.file("page.html.ident.ident")), "x\n");
}

TEST_F(ConvertFile, AsksBeforeOverwritingAnExistingOutput) {
    const std::string page = work.file("page.html");
    writeFile(page, " <table>\n");
    writeFile(page + ".ident", "old");
    prompts = ScriptedPrompts({false, true});
    EXPECT_EQ(convert(page), ConvertResult::Declined);
    EXPECT_EQ(readFile(page + ".ident"), "old");
    EXPECT_EQ(convert(page), ConvertResult::Converted);
    EXPECT_EQ(readFile(page + ".ident"), "<table>\n");
    EXPECT_EQ(prompts.questions, (std::vector<std::string>{page + ".identを上書きしますか?",
                                                           page + ".identを上書きしますか?"}));
}

TEST_F(ConvertFile, ReplaceModeAsksAndReplacesKeepingPermissions) {
    const std::string page = work.file("page.html");
    writeFile(page, " <table>\n x\n");
    ::chmod(page.c_str(), 0640);
    prompts = ScriptedPrompts({false, true});
    EXPECT_EQ(convert(page, true), ConvertResult::Declined);
    EXPECT_EQ(readFile(page), " <table>\n x\n");
    EXPECT_EQ(convert(page, true), ConvertResult::Converted);
    EXPECT_EQ(readFile(page), "<table>\n\tx\n");
    EXPECT_EQ(prompts.questions.back(), page + "を置換しますか?");
    struct stat info {};
    ::stat(page.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(listFolder(work.path()), "page.html");
}

TEST_F(ConvertFile, ReplacingThroughALinkReplacesItsTarget) {
    ::mkdir(work.file("real").c_str(), 0755);
    writeFile(work.file("real/page.html"), " <table>\n");
    ASSERT_EQ(::symlink("real/page.html", work.file("link.html").c_str()), 0);
    prompts = ScriptedPrompts({true});
    EXPECT_EQ(convert(work.file("link.html"), true), ConvertResult::Converted);
    EXPECT_EQ(readFile(work.file("real/page.html")), "<table>\n");
    struct stat info {};
    ASSERT_EQ(::lstat(work.file("link.html").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(ConvertFile, AFileNamedLikeTheOldTemporaryIsLeftAlone) {
    writeFile(work.file("tmpStepwell.tmp"), "mine");
    writeFile(work.file("page.html"), "x");
    prompts = ScriptedPrompts({true});
    EXPECT_EQ(convert(work.file("page.html"), true), ConvertResult::Converted);
    EXPECT_EQ(readFile(work.file("tmpStepwell.tmp")), "mine");
}

TEST_F(ConvertFile, ReplaceQuestionComesEvenForAMissingInputThenTheError) {
    prompts = ScriptedPrompts({true});
    EXPECT_EQ(convert(work.file("none.html"), true), ConvertResult::Failed);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_NE(prompts.errors[0].find(work.file("none.html")), std::string::npos);
    EXPECT_EQ(listFolder(work.path()), "");
}

TEST_F(ConvertFile, InputsThatAreNotRegularFilesAreRefused) {
    ::mkdir(work.file("folder").c_str(), 0755);
    ::mkfifo(work.file("fifo").c_str(), 0644);
    for (const std::string& path :
         {work.file("folder"), work.file("fifo"), std::string("/dev/zero")}) {
        prompts = ScriptedPrompts();
        EXPECT_EQ(convert(path), ConvertResult::Failed) << path;
        ASSERT_EQ(prompts.errors.size(), 1u);
        EXPECT_EQ(prompts.errors[0].rfind(path + ": ", 0), 0u) << prompts.errors[0];
    }
    EXPECT_EQ(listFolder(work.path()), "fifo folder");
}

TEST_F(ConvertFile, LineErrorKeepsInputAndOutputAsTheyWereAndNamesTheLine) {
    writeFile(program.file(tagFileName), "<A,1\n<BAD,x\n");
    const std::string page = work.file("page.html");
    writeFile(page, "<a>\n<a>\n<bad>\n");
    writeFile(page + ".ident", "old");
    prompts = ScriptedPrompts({true, true});
    EXPECT_EQ(convert(page), ConvertResult::Failed);
    EXPECT_EQ(convert(page, true), ConvertResult::Failed);
    EXPECT_EQ(readFile(page), "<a>\n<a>\n<bad>\n");
    EXPECT_EQ(readFile(page + ".ident"), "old");
    EXPECT_EQ(listFolder(work.path()), "page.html page.html.ident");
    // The page and its line, then the tag file and the line of the delta.
    EXPECT_EQ(prompts.errors[0],
              page + ", line 3: " + program.file(tagFileName) +
                  ", line 2: tag \"<BAD\" has the delta \"x\", which is not a number");
}

TEST_F(ConvertFile, TagFileErrorNamesBothFiles) {
    writeFile(program.file(tagFileName), "<A,1\n<B\n");
    writeFile(work.file("page.html"), "x");
    EXPECT_EQ(convert(work.file("page.html")), ConvertResult::Failed);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_NE(prompts.errors[0].find(work.file("page.html")), std::string::npos);
    EXPECT_NE(prompts.errors[0].find(program.file(tagFileName)), std::string::npos);
    EXPECT_EQ(listFolder(work.path()), "page.html");
}

TEST_F(ConvertFile, NoTagFileOrOneThatIsNotAnOrdinaryFileOnlyStripsBlanks) {
    ::unlink(program.file(tagFileName).c_str());
    EXPECT_EQ(converted("<table>\n  <tr>\n"), "<table>\n<tr>\n");
    ::mkdir(program.file(tagFileName).c_str(), 0755);
    EXPECT_EQ(converted("<table>\n  <tr>\n"), "<table>\n<tr>\n");
}

TEST_F(ConvertFile, ProgressFollowsTheInputAndAStopLeavesEverythingAsItWas) {
    const std::string page = work.file("page.html");
    const std::string input = " <table>\n" + std::string(700 * 1024, 'x') + "\n"; // 3 reads
    for (const bool replace : {false, true}) {
        for (const bool stop : {true, false}) {
            writeFile(page, input);
            writeFile(page + ".ident", "old");
            std::vector<std::uint64_t> told;
            ConvertOptions options{program.path(), replace};
            options.progress = [&](std::uint64_t read, std::uint64_t size) {
                EXPECT_EQ(size, input.size());
                EXPECT_TRUE(told.empty() || read >= told.back());
                told.push_back(read);
                if (stop && told.size() == 2)
                    throw ConversionStopped();
            };
            prompts = ScriptedPrompts({true});
            EXPECT_EQ(convertFile(page, options, prompts),
                      stop ? ConvertResult::Stopped : ConvertResult::Converted);
            EXPECT_TRUE(prompts.errors.empty());
            ASSERT_FALSE(told.empty());
            if (!stop) {
                EXPECT_EQ(told.back(), input.size());
                continue;
            }
            // No result and no temporary file; the input and the earlier output as they were.
            EXPECT_LT(told.back(), input.size());
            EXPECT_EQ(readFile(page), input);
            EXPECT_EQ(readFile(page + ".ident"), "old");
            EXPECT_EQ(listFolder(work.path()), "page.html page.html.ident");
        }
    }
}

TEST_F(ConvertFile, ReadOnlyFolderFailsCleanly) {
    if (test::rerunAsOrdinaryUser()) // root writes into read-only folders
        return;
    writeFile(work.file("page.html"), "x");
    ::chmod(work.path().c_str(), 0555);
    EXPECT_EQ(convert(work.file("page.html")), ConvertResult::Failed);
    EXPECT_EQ(prompts.errors.size(), 1u);
}

} // namespace
} // namespace stepwell
