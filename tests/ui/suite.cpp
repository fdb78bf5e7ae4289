#include "suite.h"

#include <QTest>

namespace stepwell::test {

int runRegisteredTests(int argc, char** argv) {
    int failed = 0;
    for (const TestFactory& factory : registeredTests()) {
        const std::unique_ptr<QObject> test = factory();
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed == 0 ? 0 : 1;
}

} // namespace stepwell::test
