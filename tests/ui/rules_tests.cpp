// SPDX-License-Identifier: MIT
// The window's rules that need no application: layout, drives, patterns, displays.
#include "tests/ui/suite.h"

int main(int argc, char** argv) {
    return stepwell::test::runRegisteredTests(argc, argv);
}
