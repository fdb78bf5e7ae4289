// SPDX-License-Identifier: MIT
// Folders that cannot be written, inputs that cannot be read or are not files at all: each
// run ends in a clear error, never a crash, a hang or a stray file.
#include "tests/reliability/program_fixture.h"
#include "tests/support/mounts.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace stepwell {
namespace {

using test::listFolder;
using test::readFile;
using test::writeFile;

class RefusedInputs : public test::ProgramFixture {
protected:
    // Converts page.html in both modes in a folder that cannot be written, whose earlier
    // result must survive.
    void expectUnwritableFolder(const std::string& why) {
        expectError(run({"page.html"}), "page.html.ident", why);
        setReplaceMode(true);
        expectError(run({"page.html"}), "page.html", why);
        setReplaceMode(false);
    }
    void writePage() {
        writeFile(work.file("page.html"), " <ul>\n x\n");
        writeFile(work.file("page.html.ident"), "earlier");
    }
    void expectPageUnchanged() {
        EXPECT_EQ(readFile(work.file("page.html")), " <ul>\n x\n");
        EXPECT_EQ(readFile(work.file("page.html.ident")), "earlier");
        EXPECT_EQ(listFolder(work.path()), "page.html page.html.ident");
    }
};

TEST_F(RefusedInputs, FolderWithoutWritePermission) {
    runAsOrdinaryUser(); // root writes into folders whatever their permission bits
    writePage();
    ::chmod(work.file("page.html").c_str(), 0666); // the page may be replaced, the folder not
    ::chmod(work.path().c_str(), 0555);
    expectUnwritableFolder("Permission denied");
    ::chmod(work.path().c_str(), 0755);
    expectPageUnchanged();
}

TEST_F(RefusedInputs, FolderOnAReadOnlyMount) {
    writePage();
    {
        auto mount = test::ScopedMount::readOnly(work.path());
        if (!mount.ok())
            GTEST_SKIP() << mount.why();
        expectUnwritableFolder("Read-only file system");
    }
    expectPageUnchanged();
}

TEST_F(RefusedInputs, ImmutableFolder) {
    writePage();
    const std::string chattr = "chattr +i '" + work.path() + "' 2>/dev/null";
    if (std::system(chattr.c_str()) != 0)
        GTEST_SKIP() << "chattr +i is not available on this file system or for this user";
    expectUnwritableFolder("Operation not permitted");
    EXPECT_EQ(std::system(("chattr -i '" + work.path() + "'").c_str()), 0); // else no clean-up
    expectPageUnchanged();
}

TEST_F(RefusedInputs, InputWithoutReadPermission) {
    runAsOrdinaryUser(); // root reads files whatever their permission bits
    writePage();
    ::chmod(work.file("page.html").c_str(), 0);
    expectError(run({"page.html"}), "page.html", "Permission denied");
    ::chmod(work.file("page.html").c_str(), 0644);
    expectPageUnchanged();
}

TEST_F(RefusedInputs, ReadThatFailsAfterTheOutputWasStarted) {
    // Reading this process's own memory at offset 0 fails with EIO, after the open worked.
    ASSERT_EQ(::symlink("/proc/self/mem", work.file("mem.html").c_str()), 0);
    writeFile(work.file("mem.html.ident"), "earlier");
    expectError(run({"mem.html"}), "mem.html", "cannot read: Input/output error");
    EXPECT_EQ(readFile(work.file("mem.html.ident")), "earlier");
    EXPECT_EQ(listFolder(work.path()), "mem.html mem.html.ident");
}

TEST_F(RefusedInputs, NotAFileIsRefusedWithoutWaiting) {
    ::mkdir(work.file("folder").c_str(), 0755);
    ASSERT_EQ(::mkfifo(work.file("fifo").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", work.file("zero").c_str()), 0);
    for (const bool replace : {false, true}) {
        setReplaceMode(replace);
        expectError(run({"folder"}), "folder", "is a folder, not a file");
        expectError(run({"fifo"}), "fifo", "is a pipe, not a file");
        // Replacing it would write through the link, which is refused first.
        expectError(run({"zero"}), "zero",
                    replace ? "is a link to a device, not a file" : "is a device, not a file");
        expectError(run({"/dev/zero"}), "/dev/zero", "is a device, not a file");
    }
    EXPECT_EQ(listFolder(work.path()), "fifo folder zero");
}

TEST_F(RefusedInputs, OutputNameTakenByAFolder) {
    writeFile(work.file("page.html"), " x\n");
    ::mkdir(work.file("page.html.ident").c_str(), 0755);
    expectError(run({"page.html"}), "page.html.ident", "Is a directory");
    EXPECT_EQ(listFolder(work.path()), "page.html page.html.ident");
}

} // namespace
} // namespace stepwell
