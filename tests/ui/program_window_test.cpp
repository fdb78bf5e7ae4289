// SPDX-License-Identifier: MIT
// The built program's choice between the window, dialogs and the terminal.
#include "tests/ui/suite.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace stepwell {
namespace {

struct Run {
    int exitCode;
    QString err;
};

Run runStepwell(const QStringList& arguments, const QProcessEnvironment& environment,
                const QString& folder, const QByteArray& input = {}) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(STEPWELL_PROGRAM), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(20000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

QProcessEnvironment withoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

} // namespace

class ProgramWindowTest : public QObject {
    Q_OBJECT
private slots:
    void emptyCommandLineWithoutDisplayIsAUsageError() {
        QTemporaryDir work;
        const Run run = runStepwell({}, withoutDisplay(), work.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("stepwell: no display")), qPrintable(run.err));
    }

    void unreachableDisplayIsReportedNotAborted() {
        QTemporaryDir work;
        QProcessEnvironment environment = withoutDisplay();
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
        const Run run = runStepwell({}, environment, work.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("stepwell: cannot connect to the display")),
                 qPrintable(run.err));
    }

    void commandLineQuestionsGoToTheTerminalWithoutARealDisplay_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display");
        QTest::newRow("offscreen") << "offscreen"
                                   << "";
        QTest::newRow("minimal") << "minimal"
                                 << "";
        QTest::newRow("unreachable display") << ""
                                             << ":97";
    }
    void commandLineQuestionsGoToTheTerminalWithoutARealDisplay() {
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QTemporaryDir work;
        QFile(work.filePath("a.html")).open(QIODevice::WriteOnly);
        QFile existing(work.filePath("a.html.ident"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QProcessEnvironment environment = withoutDisplay();
        if (!platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        if (!display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), display);
        const Run run = runStepwell({"a.html"}, environment, work.path(), "n\n");
        QCOMPARE(run.exitCode, 0);
        // The question is all there is: no warnings from the toolkit about the display.
        QCOMPARE(run.err, QStringLiteral("a.html.identを上書きしますか? [Y/n] "));
    }
};

STEPWELL_REGISTER_TEST(ProgramWindowTest)

} // namespace stepwell

#include "program_window_test.moc"
