// SPDX-License-Identifier: MIT
// The window, its dialogs and the program, on the offscreen platform.
#include "tests/ui/suite.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return stepwell::test::runRegisteredTests(argc, argv);
}
