// SPDX-License-Identifier: MIT
// The ways a hostile user, a busy system or a stop can try to break the promise that no file
// is lost, corrupted or half-written and that every failure is reported. One row a case: the
// real program, started as from a shell, in a real folder; each row checks the exit status,
// the one error line, what the page and its output hold afterwards and what else is left in
// the folder, and the row's own checks.
#include "tests/reliability/program_fixture.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <tuple>
#include <unistd.h>

// A row names only what differs from the defaults of Row.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace stepwell {
namespace {

using test::ChildOptions;
using test::ChildResult;
using test::listFolder;
using test::Output;
using test::readFile;
using test::writeFile;

// What a file holds after the run.
enum class Holds {
    Nothing,   // there is no such file
    Original,  // the page as it was written
    Earlier,   // "earlier", an output from before
    Result,    // the page's conversion
    Other,     // what another program saved meanwhile
    Unchecked, // whatever the row wrote itself
};

const std::string otherProgramsText = "saved by another program\n";

class Safety;

struct Row {
    std::string name;
    std::vector<std::string> arguments{"page.html"};
    bool replace = false;
    bool asRoot = false;       // needs root to arrange (owners); skipped for other users
    std::size_t pageBytes = 0; // a page of about this size; 0 for a small one
    bool earlierIdent = false; // page.html.ident exists beforehand, holding "earlier"
    std::string answers = "y\n";
    bool pageOnInput = false;                 // the page's text on standard input, not answers
    std::function<void(ChildOptions&)> start; // limits, closed streams, the user
    std::function<void(Safety&)> arrange;     // more files, modes, owners
    // Instead of a plain run: a run with something done to it while it goes on.
    std::function<ChildResult(Safety&, const Row&, const ChildOptions&)> run;
    // Expected.
    int exitStatus = 0;
    int signal = 0;    // the signal that ended the run, if one should
    std::string error; // the last line of standard error after "stepwell: "; "" for none
    Holds page = Holds::Original;
    Holds ident = Holds::Nothing;
    std::string folder; // every name left in the folder, when more than page and ident
    std::function<void(Safety&, const ChildResult&)> check;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << row.name;
}

class Safety : public test::ProgramFixture, public ::testing::WithParamInterface<Row> {
public:
    std::string file(const std::string& name) const { return work.file(name); }
    std::string folder() const { return work.path(); }
    std::string tagFile() const { return programDir.file("StepwellTag.txt"); }
    std::string page() const { return work.file("page.html"); }
    std::string ident() const { return work.file("page.html.ident"); }

    // A page of `bytes` or a little more, and its conversion.
    void writePage(std::size_t bytes) {
        original = " <ul>\n x\n</ul>\n";
        converted = "<ul>\n\tx\n</ul>\n";
        while (original.size() < bytes) {
            const std::string item = std::to_string(original.size());
            original += "<ul>\n    <li>" + item + "\n  </ul>\n";
            converted += "<ul>\n\t<li>" + item + "\n</ul>\n";
        }
        writeFile(page(), original);
    }

    std::string text(Holds holds) const {
        return holds == Holds::Original ? original
               : holds == Holds::Result ? converted
               : holds == Holds::Other  ? otherProgramsText
                                        : "earlier";
    }

    // Starts the run and, once `ready` holds, stops it (SIGSTOP), calls `meanwhile` and lets it
    // go on. A run that got too far before it was stopped (on a busy machine) is tried again
    // from the start, after `reset`.
    ChildResult runStoppedWhen(const Row& row, ChildOptions options,
                               const std::function<bool()>& ready,
                               const std::function<void(test::Child&)>& meanwhile,
                               const std::function<void()>& reset) {
        options.folder = work.path();
        for (int attempt = 1;; ++attempt) {
            test::Child child(stepwell, row.arguments, options);
            if (child.waitUntil(ready)) {
                child.kill(SIGSTOP);
                const bool caught = ready();
                if (caught)
                    meanwhile(child);
                child.kill(SIGCONT);
                if (caught)
                    return child.wait();
            }
            const ChildResult missed = child.wait();
            if (attempt == 10) {
                ADD_FAILURE() << "no run was caught at the moment it was waited for";
                return missed;
            }
            reset();
        }
    }

    // The run stopped while its temporary file is being written: the start of the page has
    // been read, and the end not yet.
    ChildResult runInterrupted(const Row& row, ChildOptions options,
                               const std::function<void(test::Child&)>& meanwhile) {
        options.input = row.answers;
        const auto writing = [&] {
            const long long size = test::temporaryFileSize(work.path());
            return size > 0 && size < static_cast<long long>(converted.size() / 2);
        };
        return runStoppedWhen(row, options, writing, meanwhile,
                              [&] { writeFile(page(), original); });
    }

    // Pages enough for the run to put many in place together: many/NNN.html, each a little
    // different, and what each converts to.
    void writeMany() {
        std::filesystem::create_directories(file("many"));
        for (int i = 0; i < 300; ++i) {
            std::string page, result;
            for (int k = 0; k < 200; ++k) {
                page += "<ul>\n  " + std::to_string(i) + "\n</ul>\n";
                result += "<ul>\n\t" + std::to_string(i) + "\n</ul>\n";
            }
            writeFile(manyPage(i), page);
            manyPages.push_back({page, result});
        }
    }
    std::string manyPage(int i) const { return file("many/" + std::to_string(100 + i) + ".html"); }

    // The run stopped while several temporary files wait in many/.
    ChildResult runAmongMany(const Row& row, ChildOptions options,
                             const std::function<void(test::Child&)>& meanwhile) {
        const auto waiting = [&] {
            int temporaries = 0;
            for (const auto& entry : std::filesystem::directory_iterator(file("many")))
                temporaries += entry.path().filename().string().rfind(".stepwell-", 0) == 0;
            return temporaries >= 8;
        };
        return runStoppedWhen(row, options, waiting, meanwhile, [&] {
            manyPages.clear();
            writeMany();
        });
    }

    // Every page of many/ is as it was or completely converted, and nothing else is there.
    void expectEachOldOrNew() {
        int done = 0;
        for (int i = 0; i < 300; ++i) {
            const auto& [before, after] = manyPages[static_cast<std::size_t>(i)];
            const std::string now = readFile(manyPage(i));
            EXPECT_TRUE(now == before || now == after) << manyPage(i);
            done += now == after;
        }
        EXPECT_EQ(listFolder(file("many")).find(".stepwell-"), std::string::npos);
        std::cout << "[ figures  ] stopped with " << done << " of 300 pages converted\n";
    }

    std::string original, converted;
    std::vector<std::pair<std::string, std::string>> manyPages; // each page and its result
};

// The permission bits, owner and group of the file at `path` (links followed).
struct stat statusOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status;
}

void expectMode(const std::string& path, mode_t mode) {
    EXPECT_EQ(statusOf(path).st_mode & 07777, mode) << path;
}

void expectOwner(const std::string& path, uid_t user, gid_t group) {
    const struct stat status = statusOf(path);
    EXPECT_EQ(status.st_uid, user) << path;
    EXPECT_EQ(status.st_gid, group) << path;
}

void setAttribute(const std::string& path, const std::string& name, const std::string& value) {
    ASSERT_EQ(::setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0), 0) << name;
}

std::string attribute(const std::string& path, const std::string& name) {
    char value[256];
    const ssize_t size = ::getxattr(path.c_str(), name.c_str(), value, sizeof value);
    return size < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(size));
}

// A POSIX access ACL as the kernel stores it: owner rw, user 65534 rw, group r, mask rw,
// others r (what `setfacl -m u:nobody:rw` gives a 644 file).
std::string nobodyMayWriteAcl() {
    std::string acl;
    const auto add = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            acl += static_cast<char>(value >> (8 * i));
    };
    add(2, 4); // version
    const std::uint32_t anyone = 0xFFFFFFFF;
    for (const auto& [tag, permissions, id] : {std::tuple{0x01u, 6u, anyone},
                                               {0x02u, 6u, 65534u},
                                               {0x04u, 4u, anyone},
                                               {0x10u, 6u, anyone},
                                               {0x20u, 4u, anyone}}) {
        add(tag, 2);
        add(permissions, 2);
        add(id, 4);
    }
    return acl;
}

// Another program saves the page while Stepwell converts it, the usual way: a new file
// renamed over the old one.
void saveByRename(Safety& t) {
    writeFile(t.file("page.new"), otherProgramsText);
    ASSERT_EQ(::rename(t.file("page.new").c_str(), t.page().c_str()), 0);
}

// The AddressSanitizer's options of the run, with `more` (a sanitized build's own
// handlers would otherwise take a preloaded library or a crash's signals from the program).
std::string sanitizerOptions(const std::string& more) {
    const char* given = std::getenv("ASAN_OPTIONS");
    return "ASAN_OPTIONS=" + (given && *given ? std::string(given) + ":" : "") + more;
}

// Makes `name` in the work folder, given `mode`, a link to "victim" (a file of the test's
// user holding "root's") that the user `owner` made.
void plantLink(Safety& t, const std::string& name, mode_t mode, uid_t owner) {
    writeFile(t.file("victim"), "root's");
    ::unlink(t.file(name).c_str());
    ASSERT_EQ(::symlink("victim", t.file(name).c_str()), 0);
    ASSERT_EQ(::lchown(t.file(name).c_str(), owner, owner), 0);
    ASSERT_EQ(::chmod(t.folder().c_str(), mode), 0);
}

constexpr std::size_t largePage = 24 * 1024 * 1024; // converts in about 0.1 s or more

const std::vector<Row> fixedRows = {
    // A file size limit (ulimit -f): the write fails, the process does not end by SIGXFSZ.
    {.name = "FileSizeLimitWhileCreatingTheIdent",
     .pageBytes = 400 * 1024,
     .start = [](ChildOptions& options) { options.fileSizeLimit = 64 * 1024; },
     .exitStatus = 1,
     .error = "page.html.ident: cannot write: File too large"},
    {.name = "FileSizeLimitInTheFilter",
     .arguments = {"-"},
     .pageBytes = 400 * 1024,
     .pageOnInput = true,
     .start = [](ChildOptions& options) { options.fileSizeLimit = 64 * 1024; },
     .exitStatus = 1,
     .error = "standard output: cannot write: File too large"},

    // Closed or full standard streams: Stepwell's own files never take descriptors 0 to 2,
    // and output that cannot be written is an error.
    {.name = "FilterToAClosedOutputAfterSpillingToATemporaryFile",
     .arguments = {"-"},
     .pageBytes = 13 * 1024 * 1024,
     .pageOnInput = true,
     .start = [](ChildOptions& options) { options.output = Output::Closed; },
     .exitStatus = 1,
     .error = "standard output: cannot write: Bad file descriptor"},
    {.name = "FilterToAClosedOutput",
     .arguments = {"-"},
     .pageOnInput = true,
     .start = [](ChildOptions& options) { options.output = Output::Closed; },
     .exitStatus = 1,
     .error = "standard output: cannot write: Bad file descriptor"},
    {.name = "FilterOfNothingToAClosedOutput",
     .arguments = {"-"},
     .answers = "",
     .start = [](ChildOptions& options) { options.output = Output::Closed; },
     .exitStatus = 1,
     .error = "standard output: cannot write: Bad file descriptor"},
    {.name = "FilterToAFullOutput",
     .arguments = {"-"},
     .pageOnInput = true,
     .start = [](ChildOptions& options) { options.output = Output::Full; },
     .exitStatus = 1,
     .error = "standard output: cannot write: the disk is full"},
    {.name = "FilterFromAClosedInput",
     .arguments = {"-"},
     .start = [](ChildOptions& options) { options.inputClosed = true; },
     .exitStatus = 1,
     .error = "standard input: cannot read: Bad file descriptor"},
    {.name = "CheckToAClosedOutput",
     .arguments = {"--check", "page.html"},
     .start = [](ChildOptions& options) { options.output = Output::Closed; },
     .exitStatus = 2,
     .error = "standard output: cannot write: Bad file descriptor"},
    {.name = "CheckToAFullOutput",
     .arguments = {"--check", "page.html"},
     .start = [](ChildOptions& options) { options.output = Output::Full; },
     .exitStatus = 2,
     .error = "standard output: cannot write: the disk is full"},
    {.name = "HelpToAFullOutput",
     .arguments = {"--help"},
     .start = [](ChildOptions& options) { options.output = Output::Full; },
     .exitStatus = 1,
     .error = "standard output: cannot write: the disk is full"},
    {.name = "VersionToAClosedOutput",
     .arguments = {"--version"},
     .start = [](ChildOptions& options) { options.output = Output::Closed; },
     .exitStatus = 1,
     .error = "standard output: cannot write: Bad file descriptor"},
    {.name = "WhichTagsToAClosedOutput",
     .arguments = {"--which-tags"},
     .start = [](ChildOptions& options) { options.output = Output::Closed; },
     .exitStatus = 2,
     .error = "standard output: cannot write: Bad file descriptor"},
    {.name = "WhichTagsToAFullOutput",
     .arguments = {"--which-tags"},
     .start = [](ChildOptions& options) { options.output = Output::Full; },
     .exitStatus = 2,
     .error = "standard output: cannot write: the disk is full"},
    {.name = "DiffUnderAFileSizeLimit",
     .arguments = {"--diff", "page.html"},
     .pageBytes = 400 * 1024,
     .start = [](ChildOptions& options) { options.fileSizeLimit = 64 * 1024; },
     .exitStatus = 2,
     .error = "standard output: cannot write: File too large"},
    {.name = "ConversionWithClosedStreamsNeedsNone",
     .start =
         [](ChildOptions& options) {
             options.inputClosed = true;
             options.output = Output::Closed;
         },
     .ident = Holds::Result},
    {.name = "QuestionWithAClosedInputIsDeclined",
     .earlierIdent = true,
     .start = [](ChildOptions& options) { options.inputClosed = true; },
     .ident = Holds::Earlier},
    // Replacing: the file as the user named it in every message, and never undoing a save
    // that another program made meanwhile.
    {.name = "FileSizeLimitWhileReplacing",
     .replace = true,
     .pageBytes = 400 * 1024,
     .start = [](ChildOptions& options) { options.fileSizeLimit = 64 * 1024; },
     .exitStatus = 1,
     .error = "page.html: cannot write: File too large"},
    // A disk that fails to sync part of a big result: on Linux a later sync does not report
    // that failure again, so ignoring it could commit a damaged result.
    {.name = "AFailedSyncDuringABigWriteFailsTheFile",
     .replace = true,
     .pageBytes = largePage,
     .start =
         [](ChildOptions& options) {
             options.environment = {"LD_PRELOAD=" STEPWELL_FAILING_SYNC,
                                    "STEPWELL_FAIL_FDATASYNC_OF=/.stepwell-",
                                    sanitizerOptions("verify_asan_link_order=0")};
         },
     .exitStatus = 1,
     .error = "page.html: cannot write: Input/output error"},
    {.name = "AnotherProgramSavesThePageMeanwhile",
     .replace = true,
     .pageBytes = largePage,
     .run =
         [](Safety& t, const Row& row, const ChildOptions& options) {
             return t.runInterrupted(row, options, [&](test::Child&) { saveByRename(t); });
         },
     .exitStatus = 1,
     .error = "page.html: changed while it was being converted; left as it is",
     .page = Holds::Other},
    {.name = "AnotherProgramWritesThePageInPlaceMeanwhile",
     .replace = true,
     .pageBytes = largePage,
     .run =
         [](Safety& t, const Row& row, const ChildOptions& options) {
             return t.runInterrupted(row, options,
                                     [&](test::Child&) { writeFile(t.page(), otherProgramsText); });
         },
     .exitStatus = 1,
     .error = "page.html: changed while it was being converted; left as it is",
     .page = Holds::Other},
    {.name = "ThePageIsDeletedMeanwhile",
     .replace = true,
     .pageBytes = largePage,
     .run =
         [](Safety& t, const Row& row, const ChildOptions& options) {
             return t.runInterrupted(row, options,
                                     [&](test::Child&) { ::unlink(t.page().c_str()); });
         },
     .exitStatus = 1,
     .error = "page.html: changed while it was being converted; left as it is",
     .page = Holds::Nothing},
    {.name = "AChmodMeanwhileIsNotUndone",
     .replace = true,
     .pageBytes = largePage,
     .run =
         [](Safety& t, const Row& row, const ChildOptions& options) {
             return t.runInterrupted(row, options,
                                     [&](test::Child&) { ::chmod(t.page().c_str(), 0600); });
         },
     .exitStatus = 1,
     .error = "page.html: changed while it was being converted; left as it is",
     .check = [](Safety& t, const ChildResult&) { expectMode(t.page(), 0600); }},
    // Messages: a name cannot split a line or drive the terminal, and a question that meets
    // the end of the input ends its line.
    {.name = "AQuestionShowsControlBytesOfTheNameEscaped",
     .arguments = {"pa\nge\x1b[2J.html"},
     .replace = true,
     .answers = "n\n",
     .arrange = [](Safety& t) { writeFile(t.file("pa\nge\x1b[2J.html"), " x\n"); },
     .folder = "pa\nge\x1b[2J.html page.html",
     .check =
         [](Safety&, const ChildResult& result) {
             EXPECT_EQ(result.err, "pa\\nge\\x1b[2J.htmlを置換しますか? [Y/n] ");
         }},
    {.name = "AnErrorShowsControlBytesOfTheNameEscaped",
     .arguments = {"no\r\nsuch\x07\x7f.html"},
     .exitStatus = 1,
     .error = "no\\r\\nsuch\\x07\\x7f.html: cannot open: No such file or directory"},
    {.name = "CheckListsANameWithControlBytesOnOneLine",
     .arguments = {"--check", "li\nne\t\x1b.html"},
     .arrange = [](Safety& t) { writeFile(t.file("li\nne\t\x1b.html"), " x\n"); },
     .exitStatus = 1,
     .folder = "li\nne\t\x1b.html page.html",
     .check = [](Safety&,
                 const ChildResult& result) { EXPECT_EQ(result.out, "li\\nne\\t\\x1b.html\n"); }},
    {.name = "ALineErrorNamesThePageAndTheTagFileWithTheirLines",
     .arrange =
         [](Safety& t) {
             writeFile(t.page(), "<ul>\n<ul>\n <div>\n");
             std::string tags = "<UL,1\n";
             for (int line = 2; line < 15; ++line)
                 tags += "\n";
             writeFile(t.tagFile(), tags + "<DIV,x1\n");
         },
     .exitStatus = 1,
     .error = "page.html, line 3: {programDir}/StepwellTag.txt, line 15: tag \"<DIV\" has the "
              "delta \"x1\", which is not a number",
     .page = Holds::Unchecked},
    {.name = "AnUnclosedQuoteInTheTagFileIsReportedAsSuch",
     .arrange = [](Safety& t) { writeFile(t.tagFile(), "<UL,1\n\"<DIV,1\n"); },
     .exitStatus = 1,
     .error = "page.html: {programDir}/StepwellTag.txt, line 2: the quoted field \"<DIV,1 has "
              "no closing quote"},
    {.name = "TextAfterAClosingQuoteInTheTagFileIsAnError",
     .arrange = [](Safety& t) { writeFile(t.tagFile(), "\"<DIV\" x,1\n"); },
     .exitStatus = 1,
     .error = "page.html: {programDir}/StepwellTag.txt, line 1: text after the quoted field "
              "\"<DIV\": x"},
    {.name = "InputEndingAtAQuestionEndsItsLine",
     .earlierIdent = true,
     .answers = "y", // typed, then the input ends (Ctrl-D) without Enter
     .ident = Holds::Result,
     .check =
         [](Safety&, const ChildResult& result) {
             EXPECT_EQ(result.err, "page.html.identを上書きしますか? [Y/n] \n");
         }},
    {.name = "AnOverlongOutputNameCannotBeCreated",
     .arguments = {std::string(251, 'n')},
     .arrange = [](Safety& t) { writeFile(t.file(std::string(251, 'n')), "x\n"); },
     .exitStatus = 1,
     .error = "cannot create " + std::string(251, 'n') + ".ident: File name too long",
     .folder = std::string(251, 'n') + " page.html"},

    // Permissions: a private page gives a private result, an output keeps its own
    // attributes, and a link is written through.
    {.name = "TheIdentOfAPrivatePageIsPrivate",
     .arrange = [](Safety& t) { ::chmod(t.page().c_str(), 0600); },
     .ident = Holds::Result,
     .check = [](Safety& t, const ChildResult&) { expectMode(t.ident(), 0600); }},
    {.name = "ANewIdentGetsNoMoreThanTheUmaskAllows",
     .start = [](ChildOptions& options) { options.umask = 022; },
     .arrange = [](Safety& t) { ::chmod(t.page().c_str(), 0775); },
     .ident = Holds::Result,
     .check = [](Safety& t, const ChildResult&) { expectMode(t.ident(), 0644); }},
    {.name = "AnExistingIdentKeepsItsModeOwnerAndGroup",
     .asRoot = true,
     .earlierIdent = true,
     .arrange =
         [](Safety& t) {
             ::chmod(t.ident().c_str(), 0640);
             ASSERT_EQ(::chown(t.ident().c_str(), 65534, 65534), 0);
             setAttribute(t.ident(), "user.note", "keep me");
         },
     .ident = Holds::Result,
     .check =
         [](Safety& t, const ChildResult&) {
             expectMode(t.ident(), 0640);
             expectOwner(t.ident(), 65534, 65534);
             EXPECT_EQ(attribute(t.ident(), "user.note"), "keep me");
         }},
    {.name = "AnIdentThatIsALinkHasItsTargetReplaced",
     .arrange =
         [](Safety& t) {
             writeFile(t.file("target"), "earlier");
             ::chmod(t.file("target").c_str(), 0600);
             ASSERT_EQ(::symlink("target", t.ident().c_str()), 0);
         },
     .ident = Holds::Result,
     .folder = "page.html page.html.ident target",
     .check =
         [](Safety& t, const ChildResult&) {
             struct stat link {};
             ASSERT_EQ(::lstat(t.ident().c_str(), &link), 0);
             EXPECT_TRUE(S_ISLNK(link.st_mode));
             expectMode(t.file("target"), 0600);
         }},
    // Links another user planted in a shared folder (sticky and open to all, like /tmp):
    // followed only as the kernel's protection of such folders would follow them, and only
    // to a regular file.
    {.name = "APlantedLinkForTheIdentInASharedFolderIsNotFollowed",
     .asRoot = true,
     .arrange = [](Safety& t) { plantLink(t, "page.html.ident", 01777, 65534); },
     .exitStatus = 1,
     .error = "page.html.ident: is a link owned by another user in a shared folder; not followed",
     .ident = Holds::Unchecked,
     .folder = "page.html page.html.ident victim",
     .check = [](Safety& t,
                 const ChildResult&) { EXPECT_EQ(readFile(t.file("victim")), "root's"); }},
    {.name = "APlantedLinkToReplaceInASharedFolderIsNotFollowed",
     .replace = true,
     .asRoot = true,
     .arrange = [](Safety& t) { plantLink(t, "page.html", 01777, 65534); },
     .exitStatus = 1,
     .error = "page.html: is a link owned by another user in a shared folder; not followed",
     .page = Holds::Unchecked,
     .folder = "page.html victim",
     .check = [](Safety& t,
                 const ChildResult&) { EXPECT_EQ(readFile(t.file("victim")), "root's"); }},
    {.name = "ALinkOfTheSharedFoldersOwnerIsFollowed",
     .asRoot = true,
     .arrange =
         [](Safety& t) {
             plantLink(t, "page.html.ident", 01777, 65534);
             ASSERT_EQ(::chown(t.folder().c_str(), 65534, 65534), 0);
         },
     .ident = Holds::Result,
     .folder = "page.html page.html.ident victim"},
    {.name = "AnIdentThatLinksToADeviceIsRefused",
     .asRoot = true, // to make a device of its own: a fault must not replace the system's
     .arrange =
         [](Safety& t) {
             ASSERT_EQ(::mknod(t.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
             ASSERT_EQ(::symlink("null", t.ident().c_str()), 0);
         },
     .exitStatus = 1,
     .error = "page.html.ident: is a link to a device, not a file",
     .ident = Holds::Unchecked,
     .folder = "null page.html page.html.ident",
     .check = [](Safety& t,
                 const ChildResult&) { EXPECT_TRUE(S_ISCHR(statusOf(t.file("null")).st_mode)); }},
    {.name = "AnIdentThatLinksToAPipeIsRefused",
     .arrange =
         [](Safety& t) {
             ASSERT_EQ(::mkfifo(t.file("fifo").c_str(), 0644), 0);
             ASSERT_EQ(::symlink("fifo", t.ident().c_str()), 0);
         },
     .exitStatus = 1,
     .error = "page.html.ident: is a link to a pipe, not a file",
     .ident = Holds::Unchecked,
     .folder = "fifo page.html page.html.ident",
     .check = [](Safety& t,
                 const ChildResult&) { EXPECT_TRUE(S_ISFIFO(statusOf(t.file("fifo")).st_mode)); }},
    {.name = "TheQuestionNamesTheFileALinkLeadsTo",
     .answers = "n\n",
     .arrange =
         [](Safety& t) {
             writeFile(t.file("target"), "earlier");
             ASSERT_EQ(::symlink("target", t.ident().c_str()), 0);
         },
     .ident = Holds::Earlier,
     .folder = "page.html page.html.ident target",
     .check =
         [](Safety&, const ChildResult& result) {
             EXPECT_EQ(result.err, "page.html.ident → targetを上書きしますか? [Y/n] ");
         }},

    {.name = "ReplacingKeepsExtendedAttributesAndTheAcl",
     .replace = true,
     .arrange =
         [](Safety& t) {
             setAttribute(t.page(), "user.note", "keep me");
             setAttribute(t.page(), "system.posix_acl_access", nobodyMayWriteAcl());
         },
     .page = Holds::Result,
     .check =
         [](Safety& t, const ChildResult&) {
             EXPECT_EQ(attribute(t.page(), "user.note"), "keep me");
             EXPECT_EQ(attribute(t.page(), "system.posix_acl_access"), nobodyMayWriteAcl());
             expectMode(t.page(), 0664); // the mask's rw shows as the group's bits
         }},

    {.name = "ReplacingKeepsTheStickyBit",
     .replace = true,
     .arrange = [](Safety& t) { ::chmod(t.page().c_str(), 01640); },
     .page = Holds::Result,
     .check = [](Safety& t, const ChildResult&) { expectMode(t.page(), 01640); }},
    {.name = "RootReplacingKeepsTheSetGroupIdBit",
     .replace = true,
     .asRoot = true, // others may not set it for a group they are not in
     .arrange = [](Safety& t) { ::chmod(t.page().c_str(), 02640); },
     .page = Holds::Result,
     .check = [](Safety& t, const ChildResult&) { expectMode(t.page(), 02640); }},

    // Who may write: replace mode refuses a file the user may not write; root keeps the
    // file's owner and group.
    {.name = "AnOrdinaryUserMayNotReplaceAReadOnlyFile",
     .replace = true,
     .start = [](ChildOptions& options) { options.ordinaryUser = true; },
     .arrange = [](Safety& t) { ::chmod(t.page().c_str(), 0444); },
     .exitStatus = 1,
     .error = "page.html: cannot replace: permission denied"},
    {.name = "AnOrdinaryUserMayNotReplaceAnotherUsersFile",
     .replace = true,
     .asRoot = true, // the page belongs to root, the run to 65534, in a folder open to all
     .start = [](ChildOptions& options) { options.ordinaryUser = true; },
     .arrange = [](Safety& t) { ::chmod(t.page().c_str(), 0664); },
     .exitStatus = 1,
     .error = "page.html: cannot replace: permission denied",
     .check = [](Safety& t, const ChildResult&) { expectOwner(t.page(), 0, 0); }},
    {.name = "RootReplacingKeepsTheOwnerAndGroup",
     .replace = true,
     .asRoot = true,
     .arrange =
         [](Safety& t) {
             ASSERT_EQ(::chown(t.page().c_str(), 65534, 65534), 0);
             ::chmod(t.page().c_str(), 0444);
         },
     .page = Holds::Result,
     .check =
         [](Safety& t, const ChildResult&) {
             expectOwner(t.page(), 65534, 65534);
             expectMode(t.page(), 0444);
         }},
};

// A stop while many results wait to be put in place together (see GroupCommit): each page is
// left as it was or complete, and no temporary file stays.
const Row stopAmongMany = {
    .name = "SigTERMWhileManyFilesWaitTogetherLeavesEachOldOrNew",
    .arguments = {"--yes", "--replace", "-j2", "many/*.html"},
    .arrange = [](Safety& t) { t.writeMany(); },
    .run =
        [](Safety& t, const Row& row, const ChildOptions& options) {
            return t.runAmongMany(row, options, [](test::Child& child) { child.kill(SIGTERM); });
        },
    .signal = SIGTERM,
    .folder = "many page.html",
    .check = [](Safety& t, const ChildResult&) { t.expectEachOldOrNew(); }};

// A stop while the result is being written, by a signal that ends the process: the page is
// left as it was and no temporary file stays.
Row stopRow(int signal, bool replace = true) {
    const char* abbreviation = sigabbrev_np(signal);
    const std::string name = abbreviation ? abbreviation : "RTMIN"; // none for real-time ones
    return {.name = "Sig" + name + (replace ? "WhileReplacing" : "WhileCreatingTheIdent") +
                    "LeavesNoTemporaryFile",
            .replace = replace,
            .pageBytes = largePage,
            .start =
                [](ChildOptions& options) {
                    options.environment = {
                        sanitizerOptions("handle_segv=0:handle_sigbus=0:handle_sigfpe=0")};
                },
            .run =
                [signal](Safety& t, const Row& row, const ChildOptions& options) {
                    return t.runInterrupted(row, options,
                                            [signal](test::Child& child) { child.kill(signal); });
                },
            .signal = signal};
}

const std::vector<Row> rows = [] {
    std::vector<Row> all = fixedRows;
    for (const int signal :
         {SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,
          SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU,
          SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,  SIGRTMIN})
        all.push_back(stopRow(signal));
    all.push_back(stopRow(SIGTERM, false));
    // Stepwell ignores SIGXFSZ, so that a file size limit fails a write instead: the
    // conversion goes on to its end.
    Row sizeSignal = stopRow(SIGXFSZ);
    sizeSignal.name = "SigXFSZIsIgnored";
    sizeSignal.signal = 0;
    sizeSignal.page = Holds::Result;
    all.push_back(sizeSignal);
    // At the limit of open files (prlimit --nofile=5) the clean-up needs no descriptor.
    Row noDescriptors = stopRow(SIGTERM);
    noDescriptors.name = "SigTERMWithNoDescriptorToSpareLeavesNoTemporaryFile";
    noDescriptors.start = [](ChildOptions& options) { options.openFileLimit = 5; };
    all.push_back(noDescriptors);
    all.push_back(stopAmongMany);
    return all;
}();

TEST_P(Safety, KeepsThePromise) {
    const Row& row = GetParam();
    if (row.asRoot && ::geteuid() != 0)
        GTEST_SKIP() << "only root can give files to other users";
    setReplaceMode(row.replace);
    writePage(row.pageBytes);
    if (row.earlierIdent)
        writeFile(ident(), "earlier");
    ChildOptions options;
    if (row.start)
        row.start(options);
    if (options.ordinaryUser) {
        // The user 65534 runs the program copy and works in the folder, open to everyone.
        ::chmod(programDir.path().c_str(), 0755);
        ::chmod(work.path().c_str(), 0777);
    }
    if (row.arrange)
        row.arrange(*this);

    const ChildResult result =
        row.run ? row.run(*this, row, options)
                : run(row.arguments, row.pageOnInput ? original : row.answers, options);

    EXPECT_FALSE(result.hung);
    EXPECT_EQ(result.signal, row.signal) << result.err;
    EXPECT_EQ(result.exitStatus, row.signal ? -1 : row.exitStatus) << result.err;
    if (row.error.empty()) {
        EXPECT_EQ(result.err.find("stepwell: "), std::string::npos) << result.err;
    } else {
        std::string error = row.error;
        if (const auto at = error.find("{programDir}"); at != std::string::npos)
            error.replace(at, std::string("{programDir}").size(), programDir.path());
        const std::string line = "stepwell: " + error + "\n";
        EXPECT_TRUE(result.err.size() >= line.size() &&
                    result.err.compare(result.err.size() - line.size(), line.size(), line) == 0)
            << result.err;
    }
    std::string names;
    for (const auto& [holds, path, name] : {std::tuple{row.page, page(), "page.html"},
                                            std::tuple{row.ident, ident(), "page.html.ident"}}) {
        if (holds == Holds::Nothing) {
            EXPECT_NE(::access(path.c_str(), F_OK), 0) << name;
            continue;
        }
        if (holds != Holds::Unchecked) {
            EXPECT_TRUE(readFile(path) == text(holds)) << name;
        }
        names += (names.empty() ? "" : " ") + std::string(name);
    }
    EXPECT_EQ(listFolder(work.path()), row.folder.empty() ? names : row.folder);
    if (row.check)
        row.check(*this, result);
}

INSTANTIATE_TEST_SUITE_P(Faults, Safety, ::testing::ValuesIn(rows),
                         [](const auto& row) { return row.param.name; });

} // namespace
} // namespace stepwell
