// SPDX-License-Identifier: MIT
#include "tests/ui/suite.h"
#include "ui/dialog_prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace stepwell {
namespace {

// Runs `answer` on the message box once it is open.
void whenBoxOpens(std::function<void(QMessageBox*)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        answer(box);
        if (box->isVisible()) // a check failed before the answer: end the box, not the run
            box->done(0);
    });
}

// Whether `box` shows Stepwell's icon (also without a parent window, as in a command-line
// run) and a title bar with the close button only.
bool dressedAsStepwell(const QMessageBox* box) {
    const auto image = [](const QIcon& icon) {
        return icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    const Qt::WindowFlags flags = box->windowFlags();
    return image(box->windowIcon()) == image(QIcon(QStringLiteral(":/icons/stepwell-32.png"))) &&
           flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) &&
           !(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

} // namespace

class DialogPromptsTest : public QObject {
    Q_OBJECT
private slots:
    void questionIsAYesNoBoxWithYesAsDefault() {
        DialogPrompts prompts;
        whenBoxOpens([](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QStringLiteral("Stepwell"));
            QCOMPARE(box->text(), QStringLiteral("page.html.identを上書きしますか?"));
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(box->buttons().size(), 2);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
            QVERIFY(dressedAsStepwell(box));
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        QVERIFY(prompts.askYesNo("page.html.identを上書きしますか?"));
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();

        whenBoxOpens([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
        QVERIFY(!prompts.askYesNo("again?"));
    }

    void errorIsACriticalBoxWithOk() {
        DialogPrompts prompts;
        whenBoxOpens([](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QStringLiteral("Stepwell"));
            QCOMPARE(box->icon(), QMessageBox::Critical);
            QCOMPARE(box->text(), QStringLiteral("a.html: cannot open"));
            QCOMPARE(box->buttons().size(), 1);
            QVERIFY(dressedAsStepwell(box));
            box->button(QMessageBox::Ok)->click();
        });
        prompts.showError("a.html: cannot open");
    }
};

STEPWELL_REGISTER_TEST(DialogPromptsTest)

} // namespace stepwell

#include "dialog_prompts_test.moc"
