// SPDX-License-Identifier: MIT
// Inputs a text tool rarely meets: files that vanish after the question, bytes that are not
// text, one enormous line, tag files that are too long or are garbage. Each ends in a
// correct result or a clear error, with no stray file.
#include "engine/convert.h"
#include "engine/tag_file.h"
#include "tests/reliability/program_fixture.h"
#include "tests/support/scripted_prompts.h"

#include <random>
#include <unistd.h>

namespace stepwell {
namespace {

using namespace std::string_literals;
using test::listFolder;
using test::readFile;
using test::ScriptedPrompts;
using test::TempDir;
using test::writeFile;

// Answers Yes, and deletes the input before the conversion goes on.
class DeletingPrompts : public ScriptedPrompts {
public:
    explicit DeletingPrompts(std::string victim)
        : ScriptedPrompts({true}), victim_(std::move(victim)) {}
    bool askYesNo(const std::string& question) override {
        ::unlink(victim_.c_str());
        return ScriptedPrompts::askYesNo(question);
    }

private:
    std::string victim_;
};

class UnusualInputs : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(program.file(tagFileName), "<TABLE,1\n</TABLE,-1\n<TR,1\n</TR,-1\n");
    }
    ConvertResult convert(const std::string& path, Prompts& prompts, bool replace = false) {
        return convertFile(path, {program.path(), replace}, prompts);
    }
    std::string page() const { return work.file("page.html"); }
    TempDir program, work;
};

TEST_F(UnusualInputs, InputDeletedAfterTheQuestion) {
    for (const bool replace : {false, true}) {
        writeFile(page(), " x\n");
        writeFile(page() + ".ident", "earlier");
        DeletingPrompts prompts(page());
        EXPECT_EQ(convert(page(), prompts, replace), ConvertResult::Failed);
        ASSERT_EQ(prompts.errors.size(), 1u);
        EXPECT_EQ(prompts.errors[0], page() + ": cannot open: No such file or directory");
        EXPECT_EQ(readFile(page() + ".ident"), "earlier");
        EXPECT_EQ(listFolder(work.path()), "page.html.ident");
    }
}

TEST_F(UnusualInputs, NulBytesAndInvalidUtf8PassThrough) {
    const std::string input = "\xEF\xBB\xBF \0<table>\0\r\n"
                              "  \xFF\xFE<tr>\r\n"
                              "\t\xC0\x80</tr>\xED\xA0\x80\r\n"
                              "\x80</table>\0 \r\n"s;
    const std::string expected = "\xEF\xBB\xBF\0<table>\0\r\n"
                                 "\t\xFF\xFE<tr>\r\n"
                                 "\t\t\xC0\x80</tr>\xED\xA0\x80\r\n"
                                 "\t\x80</table>\0 \r\n"s;
    writeFile(page(), input);
    ScriptedPrompts prompts;
    ASSERT_EQ(convert(page(), prompts), ConvertResult::Converted);
    EXPECT_EQ(readFile(page() + ".ident"), expected);
}

TEST_F(UnusualInputs, TagFileOfAHundredAndOneEntries) {
    std::string entries;
    for (int i = 0; i < 100; ++i)
        entries += "<T" + std::to_string(i) + ",1\n";
    writeFile(page(), "<t7>\nx\n");
    writeFile(program.file(tagFileName), entries);
    ScriptedPrompts prompts;
    ASSERT_EQ(convert(page(), prompts), ConvertResult::Converted);
    EXPECT_EQ(readFile(page() + ".ident"), "<t7>\n\tx\n");

    writeFile(program.file(tagFileName), entries + "<T100,1\n");
    ::unlink((page() + ".ident").c_str());
    EXPECT_EQ(convert(page(), prompts), ConvertResult::Failed);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_NE(prompts.errors[0].find(program.file(tagFileName)), std::string::npos);
    EXPECT_NE(prompts.errors[0].find("more than 100 entries"), std::string::npos);
    EXPECT_EQ(listFolder(work.path()), "page.html");
}

TEST_F(UnusualInputs, GarbageTagFilesGiveAResultOrAnErrorNamingTheFile) {
    // Bytes that matter to the reader and the indenter, mixed with anything at all.
    const std::string salient = ",,\"\"\r\n\n  \t<<//TR>-+.0123456789";
    std::mt19937 random(20240607);
    std::string page_text;
    for (int i = 0; i < 200; ++i)
        page_text += char(random() % 2 ? salient[random() % salient.size()] : random() % 256);
    writeFile(page(), page_text);
    int converted = 0, failed = 0;
    for (int run = 0; run < 300; ++run) {
        std::string garbage(random() % 3000, '\0');
        for (char& c : garbage)
            c = char(random() % 2 ? salient[random() % salient.size()] : random() % 256);
        writeFile(program.file(tagFileName), garbage);
        ScriptedPrompts prompts;
        ::unlink((page() + ".ident").c_str());
        if (convert(page(), prompts) == ConvertResult::Converted) {
            ++converted;
            EXPECT_EQ(listFolder(work.path()), "page.html page.html.ident");
        } else {
            ++failed;
            ASSERT_EQ(prompts.errors.size(), 1u);
            EXPECT_EQ(prompts.errors[0].rfind(page(), 0), 0u) << prompts.errors[0];
            EXPECT_EQ(listFolder(work.path()), "page.html");
        }
    }
    EXPECT_GT(converted, 0);
    EXPECT_GT(failed, 0);
}

class UnusualProgramInputs : public test::ProgramFixture {};

TEST_F(UnusualProgramInputs, GarbageTagFileEndsTheRunCleanly) {
    std::mt19937 random(7);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage)
        c = char(random());
    writeFile(programDir.file("StepwellTag.txt"), garbage);
    writeFile(work.file("page.html"), "x\n");
    const auto result = run({"page.html"});
    EXPECT_FALSE(result.hung);
    EXPECT_EQ(result.signal, 0);
    if (result.exitStatus == 0) {
        EXPECT_EQ(listFolder(work.path()), "page.html page.html.ident");
    } else {
        expectError(result, "page.html", "StepwellTag.txt");
        EXPECT_EQ(listFolder(work.path()), "page.html");
    }
}

TEST_F(UnusualProgramInputs, HundredMegabyteLineConvertsInBoundedMemory) {
    constexpr std::size_t size = 100 * 1024 * 1024;
    std::string line = " \t <ul>";
    line.append(size, 'x');
    line += "</ul>";
    writeFile(work.file("big.html"), line);
    const auto result = run({"big.html"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const std::string output = readFile(work.file("big.html.ident"));
    EXPECT_EQ(output.size(), line.size() - 3 + 1);
    EXPECT_TRUE(output.compare(0, 6, "<ul>xx") == 0);
    EXPECT_TRUE(output.compare(output.size() - 8, 8, "xx</ul>\n") == 0);
    // The line is held as read (its buffer grows by doubling) and once more as written.
    long limitKiB = 3 * long(size / 1024) + 64 * 1024;
#ifdef __SANITIZE_ADDRESS__
    limitKiB += 512 * 1024; // freed buffers wait in AddressSanitizer's quarantine
#endif
    EXPECT_LT(result.maxRssKiB, limitKiB);
    std::cout << "[ figures  ] a 100 MB line converted with a peak of " << result.maxRssKiB / 1024
              << " MB\n";
}

} // namespace
} // namespace stepwell
