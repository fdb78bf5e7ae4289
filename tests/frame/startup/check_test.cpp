// SPDX-License-Identifier: MIT
// Check mode reads files, writes nothing, and lists the ones a conversion would change.
#include "engine/core/line_error.h"
#include "engine/tag_file.h"
#include "frame/startup/check.h"

#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace stepwell {
namespace {

using test::listFolder;
using test::ScriptedPrompts;
using test::TempDir;
using test::writeFile;

class Check : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(program.file(tagFileName), "<UL,1\n</UL,-1\n<PRE,raw:</PRE>\n");
        writeFile(work.file("done.html"), "<ul>\r\n\tx\r\n</ul>\r\n");
        writeFile(work.file("raw.html"), "<ul>\n\t<pre>\n  kept\n</pre>\n</ul>\n");
        writeFile(work.file("todo.html"), "<ul>\n x\n</ul>\n");
    }
    int check(const std::vector<std::string>& tokens) {
        listed.str("");
        return runCheck(tokens, program.path(), listed, prompts);
    }

    TempDir program, work;
    std::ostringstream listed;
    ScriptedPrompts prompts;
};

TEST_F(Check, ListsTheFilesThatWouldChangeAndWritesNothing) {
    const std::string folder = work.path() + "/";
    EXPECT_EQ(check({folder + "done.html", folder + "raw.html"}), 0);
    EXPECT_EQ(listed.str(), "");
    EXPECT_EQ(check({folder + "*.html"}), 1);
    EXPECT_EQ(listed.str(), folder + "todo.html\n");
    EXPECT_EQ(prompts.errors.size(), 0u);
    EXPECT_EQ(listFolder(work.path()), "done.html raw.html todo.html");
}

TEST_F(Check, ALineBreakAddedOrChangedCountsAsAChange) {
    writeFile(work.file("open.html"), "<ul>\n\tx\n</ul>");
    writeFile(work.file("mixed.html"), "<ul>\n\tx\r\n</ul>\n");
    EXPECT_EQ(check({work.file("open.html"), work.file("mixed.html")}), 1);
    EXPECT_EQ(listed.str(), work.file("open.html") + "\n" + work.file("mixed.html") + "\n");
}

TEST_F(Check, AFileThatCannotBeCheckedMakesTheAnswerUnsureButTheRestGoesOn) {
    ::mkdir(work.file("folder.html").c_str(), 0755);
    EXPECT_EQ(check({work.file("missing.html"), work.file("*.none"), work.file("folder.html"),
                     work.file("todo.html")}),
              2);
    EXPECT_EQ(listed.str(), work.file("todo.html") + "\n");
    ASSERT_EQ(prompts.errors.size(), 3u);
    EXPECT_NE(prompts.errors[0].find("missing.html"), std::string::npos);
    EXPECT_NE(prompts.errors[1].find("*.none"), std::string::npos);
    EXPECT_NE(prompts.errors[2].find("folder.html"), std::string::npos);
}

TEST_F(Check, TagTableAndLineErrorsAreReportedNotGuessed) {
    writeFile(program.file(tagFileName), "<UL,1\n<B,x\n");
    writeFile(work.file("bold.html"), "<ul>\n<b>\n");
    EXPECT_EQ(check({work.file("done.html"), work.file("bold.html")}), 2);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0].rfind(work.file("bold.html") + ", line 2: ", 0), 0u);

    writeFile(program.file(tagFileName), "<UL,1\n</UL\n");
    EXPECT_EQ(check({work.file("todo.html")}), 2);
    EXPECT_EQ(listed.str(), "");
    EXPECT_NE(prompts.errors.back().find("no file was checked"), std::string::npos);
}

} // namespace
} // namespace stepwell
