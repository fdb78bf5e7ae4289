// SPDX-License-Identifier: MIT
#pragma once

// A copy of the real program with a tag file of its own, and a folder to work in, for the
// tests that inject faults from outside the process.

#include "tests/support/child_process.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace stepwell::test {

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        stepwell = installProgramCopy(programDir.path());
        writeFile(programDir.file("StepwellTag.txt"), "<UL,1\n</UL,-1\n");
    }

    void setReplaceMode(bool on) {
        writeFile(programDir.file("Stepwell.ini"), on ? "\n1\n" : "\n0\n");
    }

    // Runs the program from now on as the ordinary user 65534 (see ChildOptions), who may
    // use the program's folder and enter the work folder.
    void runAsOrdinaryUser() {
        ordinaryUser = true;
        ::chmod(programDir.path().c_str(), 0755);
        ::chmod(work.path().c_str(), 0755);
    }

    ChildResult run(const std::vector<std::string>& files, const std::string& answers = "y\n",
                    ChildOptions options = {}) {
        if (options.folder == ".")
            options.folder = work.path();
        options.ordinaryUser |= ordinaryUser;
        options.input = answers;
        options.timeout = std::chrono::seconds(60);
        return runChild(stepwell, files, options);
    }

    // A failed run: exit status 1, never a crash or hang, and one error line that names
    // `name` and says `why`.
    static void expectError(const ChildResult& result, const std::string& name,
                            const std::string& why) {
        EXPECT_FALSE(result.hung);
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.exitStatus, 1);
        const auto error = result.err.find("stepwell: ");
        ASSERT_NE(error, std::string::npos) << result.err;
        const std::string line = result.err.substr(error);
        EXPECT_NE(line.find(name), std::string::npos) << line;
        EXPECT_NE(line.find(why), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
    }

    TempDir programDir, work;
    std::string stepwell;
    bool ordinaryUser = false;
};

} // namespace stepwell::test
