// SPDX-License-Identifier: MIT
// Stops the real program at random moments while it replaces a large file. Whatever the
// moment, the file is afterwards byte for byte either the original or the complete result.
// A stop signal that can be caught also removes the temporary file; SIGKILL cannot be
// caught, so after it a hidden ".stepwell-XXXXXX" may stay behind, and nothing else.
#include "tests/support/child_process.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <thread>

namespace stepwell {
namespace {

using namespace std::chrono;
using test::Child;
using test::ChildResult;
using test::readFile;
using test::TempDir;
using test::writeFile;

class StopWhileReplacing : public ::testing::Test {
protected:
    void SetUp() override {
        stepwell = test::installProgramCopy(programDir.path());
        writeFile(programDir.file("StepwellTag.txt"), "<UL,1\n</UL,-1\n");
        writeFile(programDir.file("Stepwell.ini"), "\n1\n"); // replace mode
        // About 24 MB; each block converts to a known text.
        for (int i = 0; i < 400000; ++i) {
            const std::string item = "item " + std::to_string(i);
            original += "<ul>\n    <li>" + item + "\n  </ul>\n";
            result += "<ul>\n\t<li>" + item + "\n</ul>\n";
        }
        // A different seed each run covers other moments; the failure message gives it.
        seed = std::getenv("STEPWELL_STOP_SEED") ? std::atoi(std::getenv("STEPWELL_STOP_SEED"))
                                                 : static_cast<int>(std::random_device{}());
    }

    test::ChildOptions answeringYes() const {
        test::ChildOptions options;
        options.folder = work.path();
        options.input = "y\n";
        return options;
    }

    ChildResult replaceStoppingAfter(microseconds delay, int signal) {
        Child child(stepwell, {"page.html"}, answeringYes());
        std::this_thread::sleep_for(delay);
        child.kill(signal);
        return child.wait();
    }

    // How long one whole replacement takes here, so that stops spread over all of it.
    microseconds timeOneReplacement() {
        writeFile(page(), original);
        const auto start = steady_clock::now();
        const auto run = test::runChild(stepwell, {"page.html"}, answeringYes());
        const auto took = duration_cast<microseconds>(steady_clock::now() - start);
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_TRUE(readFile(page()) == result);
        return took;
    }

    // Names in the work folder other than page.html; counts the temporaries among them.
    std::vector<std::string> strays(int& temporaries) {
        std::vector<std::string> names;
        for (auto& entry : std::filesystem::directory_iterator(work.path())) {
            const std::string name = entry.path().filename().string();
            if (name == "page.html")
                continue;
            if (name.rfind(".stepwell-", 0) == 0) {
                ++temporaries;
                std::filesystem::remove(entry.path());
            } else {
                names.push_back(name);
            }
        }
        return names;
    }

    std::string page() const { return work.file("page.html"); }

    TempDir programDir, work;
    std::string stepwell, original, result;
    int seed = 0;
};

TEST_F(StopWhileReplacing, SigkillLeavesTheOriginalOrTheResult) {
    const microseconds whole = timeOneReplacement();
    std::mt19937 random(static_cast<unsigned>(seed));
    // Half the stops anywhere, half in the last part, where the result is synced and renamed.
    std::uniform_int_distribution<long> anywhere(0, whole.count() * 11 / 10);
    std::uniform_int_distribution<long> late(whole.count() * 6 / 10, whole.count() * 11 / 10);
    int keptOriginal = 0, replaced = 0, finished = 0, temporaries = 0;
    constexpr int runs = 100;
    for (int i = 0; i < runs; ++i) {
        writeFile(page(), original);
        const long delay = i % 2 ? late(random) : anywhere(random);
        const auto run = replaceStoppingAfter(microseconds(delay), SIGKILL);
        ASSERT_FALSE(run.hung) << "seed " << seed;
        const std::string now = readFile(page());
        ASSERT_TRUE(now == original || now == result)
            << "run " << i << " of seed " << seed << " left " << now.size() << " bytes";
        keptOriginal += now == original;
        replaced += now == result;
        finished += run.signal == 0;
        if (run.signal == 0) {
            EXPECT_EQ(run.exitStatus, 0) << run.err;
        }
        const auto others = strays(temporaries);
        ASSERT_TRUE(others.empty()) << others.front();
    }
    std::cout << "[ figures  ] " << runs << " SIGKILLs over " << whole.count() / 1000
              << " ms replacements (seed " << seed << "): " << keptOriginal
              << " left the original, " << replaced << " the result (" << finished
              << " had finished), " << temporaries << " left a temporary file\n";
}

TEST_F(StopWhileReplacing, CatchableStopsAlsoRemoveTheTemporaryFile) {
    std::mt19937 random(static_cast<unsigned>(seed));
    // How much of the result is written when the stop comes: anything up to all of it.
    std::uniform_int_distribution<long long> written(0, static_cast<long long>(result.size()));
    int stopped = 0;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (int i = 0; i < 10; ++i) {
            writeFile(page(), original);
            Child child(stepwell, {"page.html"}, answeringYes());
            // The program registers its temporary file as it creates it, so once the file is
            // there the stop must remove it, whatever the machine's load. A run that ends
            // before it has written that much is stopped after its end.
            const long long enough = written(random);
            child.waitUntil([&] { return test::temporaryFileSize(work.path()) >= enough; });
            child.kill(signal);
            const auto run = child.wait();
            ASSERT_FALSE(run.hung);
            EXPECT_TRUE(run.signal == signal || (run.signal == 0 && run.exitStatus == 0))
                << "signal " << run.signal << ", exit " << run.exitStatus << ": " << run.err;
            stopped += run.signal == signal;
            const std::string now = readFile(page());
            ASSERT_TRUE(now == original || now == result) << "seed " << seed;
            int temporaries = 0;
            const auto others = strays(temporaries);
            EXPECT_TRUE(others.empty());
            EXPECT_EQ(temporaries, 0) << "signal " << signal << ", seed " << seed;
        }
    }
    std::cout << "[ figures  ] 30 SIGTERM/SIGINT/SIGHUP: " << stopped
              << " stopped a replacement, none left a file behind\n";
}

} // namespace
} // namespace stepwell
