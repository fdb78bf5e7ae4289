// SPDX-License-Identifier: MIT
// Replace mode leaves a file alone when its result would be byte for byte the same.
#include "engine/convert.h"
#include "engine/tag_file.h"

#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace stepwell {
namespace {

using test::listFolder;
using test::readFile;
using test::ScriptedPrompts;
using test::TempDir;
using test::writeFile;

struct stat statOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

class Untouched : public ::testing::Test {
protected:
    void SetUp() override { writeFile(program.file(tagFileName), "<UL,1\n</UL,-1\n"); }

    // Replaces `page` after a Yes; returns whether the file is still the very same one.
    bool leftAlone(const std::string& content) {
        const std::string page = work.file("page.html");
        writeFile(page, content);
        // An old time, so that any rewrite shows even within one clock tick.
        const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
        ::utimensat(AT_FDCWD, page.c_str(), old, 0);
        const struct stat before = statOf(page);
        ScriptedPrompts prompts({true});
        const ConvertResult result = convertFile(page, {program.path(), 1}, prompts);
        EXPECT_EQ(prompts.errors.size(), 0u);
        EXPECT_EQ(listFolder(work.path()), "page.html");
        const struct stat after = statOf(page);
        const bool same = before.st_ino == after.st_ino && after.st_mtim.tv_sec == old[1].tv_sec;
        // The result says which it was, so that a window can tell the user.
        EXPECT_EQ(result, same ? ConvertResult::Unchanged : ConvertResult::Converted);
        return same;
    }

    TempDir program, work;
};

TEST_F(Untouched, AnAlreadyIndentedFileKeepsItsInodeAndTime) {
    EXPECT_TRUE(leftAlone("<ul>\r\n\t<li>x\r\n</ul>\r\n"));
    EXPECT_TRUE(leftAlone(""));
    EXPECT_TRUE(leftAlone("\xEF\xBB\xBF<ul>\n\tx\n</ul>\n"));
    EXPECT_TRUE(leftAlone("\xEF\xBB\xBF"));
}

TEST_F(Untouched, AnyDifferenceReplacesTheFile) {
    EXPECT_FALSE(leftAlone("<ul>\n  x\n</ul>\n"));
    EXPECT_EQ(readFile(work.file("page.html")), "<ul>\n\tx\n</ul>\n");
    EXPECT_FALSE(leftAlone("<ul>\n\tx\n</ul>"));     // the last line gains its break
    EXPECT_FALSE(leftAlone("<ul>\n\tx\r\n</ul>\n")); // mixed breaks become the first one
}

TEST_F(Untouched, ADifferenceFarIntoALargeFileIsFound) {
    std::string page;
    for (int i = 0; i < 50000; ++i)
        page += "<ul>\n\tline of text\n</ul>\n";
    EXPECT_TRUE(leftAlone(page));
    page += "  <ul>\n";
    EXPECT_FALSE(leftAlone(page));
}

} // namespace
} // namespace stepwell
