// SPDX-License-Identifier: MIT
#include "tests/ui/suite.h"

#include <QMetaObject>
#include <QTest>

namespace stepwell::test {
namespace {

// Whether `test` should run for a command line that may name test functions.
bool isNamed(const QObject& test, int argc, char** argv) {
    bool namesAny = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument.startsWith('-'))
            return true; // options with values: leave the choice to Qt Test
        namesAny = true;
        const qsizetype colon = argument.indexOf(':');
        const QByteArray function = (colon < 0 ? argument : argument.left(colon)) + "()";
        if (test.metaObject()->indexOfMethod(function.constData()) >= 0)
            return true;
    }
    return !namesAny;
}

} // namespace

int runRegisteredTests(int argc, char** argv) {
    int failed = 0;
    for (const TestFactory& factory : registeredTests()) {
        const std::unique_ptr<QObject> test = factory();
        if (isNamed(*test, argc, argv))
            failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed == 0 ? 0 : 1;
}

} // namespace stepwell::test
