// SPDX-License-Identifier: MIT
// A disk that fills up while the result is written: the error is shown, the input and any
// earlier output stay as they were, and no temporary file is left.
#include "tests/reliability/program_fixture.h"
#include "tests/support/mounts.h"

#include <sys/stat.h>

namespace stepwell {
namespace {

using test::listFolder;
using test::readFile;
using test::writeFile;

class FullDisk : public test::ProgramFixture {
protected:
    // Writes a page of about `bytes` and an earlier result beside it.
    void writePage(const std::string& folder, std::size_t bytes) {
        std::string text;
        while (text.size() < bytes)
            text += "<ul>\n   <li>an item of a list\n</ul>\n";
        page = folder + "/page.html";
        pageText = text;
        writeFile(page, pageText);
        writeFile(page + ".ident", earlier);
    }

    void expectUnchanged(const std::string& folder) {
        EXPECT_TRUE(readFile(page) == pageText);
        EXPECT_EQ(readFile(page + ".ident"), earlier);
        EXPECT_EQ(listFolder(folder), "page.html page.html.ident");
    }

    std::string page, pageText, earlier = std::string(300 * 1024, 'e');
};

// The program starts with SIGXFSZ at its default action, as from a shell (ulimit -f).
TEST_F(FullDisk, FileSizeLimitFailsCleanlyInEveryMode) {
    writePage(work.path(), 400 * 1024);
    test::ChildOptions limited;
    limited.fileSizeLimit = 64 * 1024;
    expectError(run({"page.html"}, "y\n", limited), "page.html.ident", "File too large");
    expectUnchanged(work.path());

    // The filter's result goes to standard output, here a file under the same limit.
    expectError(run({"-"}, pageText, limited), "standard output", "File too large");
    expectUnchanged(work.path());

    setReplaceMode(true);
    expectError(run({"page.html"}, "y\n", limited), "page.html", "File too large");
    expectUnchanged(work.path());
}

TEST_F(FullDisk, FullFileSystemFailsCleanlyInBothModes) {
    const std::string disk = work.file("disk");
    ::mkdir(disk.c_str(), 0755);
    auto mount = test::ScopedMount::tmpfs(disk, 1024 * 1024);
    if (!mount.ok())
        GTEST_SKIP() << mount.why() << "; the file size limit stands in for a full disk";
    // 400 KiB and 300 KiB in 1 MiB: the new result does not fit beside them.
    writePage(disk, 400 * 1024);
    expectError(run({"disk/page.html"}), "disk/page.html.ident", "the disk is full");
    expectUnchanged(disk);

    setReplaceMode(true);
    expectError(run({"disk/page.html"}), "disk/page.html", "the disk is full");
    expectUnchanged(disk);

    // With room again, the same conversion goes through.
    ::unlink((page + ".ident").c_str());
    EXPECT_EQ(run({"disk/page.html"}).exitStatus, 0);
    EXPECT_EQ(listFolder(disk), "page.html");
}

} // namespace
} // namespace stepwell
