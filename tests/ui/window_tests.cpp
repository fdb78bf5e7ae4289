// The window, its dialogs and the program, on the offscreen platform.
#include "suite.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return stepwell::test::runRegisteredTests(argc, argv);
}
