// SPDX-License-Identifier: MIT
#pragma once

// Several Qt Test classes in one executable: each file registers its class, and the main
// function runs them all and fails when any fails.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace stepwell::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<TestFactory>& registeredTests() {
    static std::vector<TestFactory> tests;
    return tests;
}

struct RegisterTest {
    explicit RegisterTest(TestFactory factory) { registeredTests().push_back(std::move(factory)); }
};

/// Runs every registered class with the command line's options; 0 when all passed.
int runRegisteredTests(int argc, char** argv);

} // namespace stepwell::test

#define STEPWELL_REGISTER_TEST(Class)                                                              \
    static const stepwell::test::RegisterTest register##Class{                                     \
        [] { return std::unique_ptr<QObject>(new Class); }};
