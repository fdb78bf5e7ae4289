// The ways a hostile user, a busy system or a stop can try to break the promise that no file
// is lost, corrupted or half-written and that every failure is reported. One row a case: the
// real program, started as from a shell, in a real folder; each row checks the exit status,
// the one error line, what the page and its output hold afterwards and what else is left in
// the folder, and the row's own checks.
#include "tests/reliability/program_fixture.h"

#include <functional>
#include <gtest/gtest.h>

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
enum class Holds { Nothing, Original, Earlier, Result };

class Safety;

struct Row {
    std::string name;
    std::vector<std::string> arguments{"page.html"};
    bool replace = false;
    std::size_t pageBytes = 0; // a page of about this size; 0 for a small one
    bool earlierIdent = false; // page.html.ident exists beforehand, holding "earlier"
    std::string answers = "y\n";
    bool pageOnInput = false;                 // the page's text on standard input, not answers
    std::function<void(ChildOptions&)> start; // limits, closed streams
    std::function<void(Safety&)> arrange;     // more files, modes, owners
    // Instead of a plain run: a run with something done to it while it goes on.
    std::function<ChildResult(Safety&, const Row&, const ChildOptions&)> run;
    // Expected.
    int exitStatus = 0;
    std::string error; // the last line of standard error after "stepwell: "; "" for none
    Holds page = Holds::Original;
    Holds ident = Holds::Nothing;
    std::string folder; // every name left in the folder; "" for what page and ident say
    std::function<void(Safety&, const ChildResult&)> check;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << row.name;
}

class Safety : public test::ProgramFixture, public ::testing::WithParamInterface<Row> {
public:
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
        return holds == Holds::Original ? original : holds == Holds::Result ? converted : "earlier";
    }

    std::string original, converted;
};

const std::vector<Row> rows = {
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
};

TEST_P(Safety, KeepsThePromise) {
    const Row& row = GetParam();
    setReplaceMode(row.replace);
    writePage(row.pageBytes);
    if (row.earlierIdent)
        writeFile(ident(), "earlier");
    if (row.arrange)
        row.arrange(*this);

    ChildOptions options;
    if (row.start)
        row.start(options);
    const ChildResult result =
        row.run ? row.run(*this, row, options)
                : run(row.arguments, row.pageOnInput ? original : row.answers, options);

    EXPECT_FALSE(result.hung);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitStatus, row.exitStatus) << result.err;
    if (row.error.empty()) {
        EXPECT_EQ(result.err.find("stepwell: "), std::string::npos) << result.err;
    } else {
        const std::string line = "stepwell: " + row.error + "\n";
        EXPECT_TRUE(result.err.size() >= line.size() &&
                    result.err.compare(result.err.size() - line.size(), line.size(), line) == 0)
            << result.err;
    }
    EXPECT_TRUE(readFile(page()) == text(row.page)) << "page.html";
    if (row.ident != Holds::Nothing) {
        EXPECT_TRUE(readFile(ident()) == text(row.ident)) << "page.html.ident";
    }
    const std::string expectedFolder = !row.folder.empty()           ? row.folder
                                       : row.ident == Holds::Nothing ? "page.html"
                                                                     : "page.html page.html.ident";
    EXPECT_EQ(listFolder(work.path()), expectedFolder);
    if (row.check)
        row.check(*this, result);
}

INSTANTIATE_TEST_SUITE_P(Faults, Safety, ::testing::ValuesIn(rows),
                         [](const auto& row) { return row.param.name; });

} // namespace
} // namespace stepwell
