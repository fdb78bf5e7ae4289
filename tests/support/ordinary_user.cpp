// SPDX-License-Identifier: MIT
#include "tests/support/ordinary_user.h"

#include "tests/support/child_process.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace stepwell::test {

bool rerunAsOrdinaryUser() {
    if (::geteuid() != 0)
        return false;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter =
        std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    ChildOptions options;
    options.ordinaryUser = true;
    options.folder = "/";
    const ChildResult run =
        runChild(std::filesystem::read_symlink("/proc/self/exe").string(), {filter}, options);
    EXPECT_EQ(run.exitStatus, 0) << "as user 65534:\n" << run.out << run.err;
    EXPECT_NE(run.out.find("[  PASSED  ] 1 test"), std::string::npos) << "as user 65534:\n"
                                                                      << run.out << run.err;
    return true;
}

} // namespace stepwell::test
