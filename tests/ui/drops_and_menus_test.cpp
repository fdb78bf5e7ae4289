// SPDX-License-Identifier: MIT
// Dropped files and the two default-setting menus, driven through real events.
#include "frame/prompts/prompts.h"
#include "tests/support/scripted_prompts.h"
#include "tests/ui/suite.h"
#include "tests/ui/window_support.h"
#include "ui/drive_list.h"
#include "ui/file_list.h"
#include "ui/folder_list.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace stepwell {
namespace {

using Names = std::vector<std::string>;
using test::folderItem;
using test::read;
using test::startUpFrom;
using test::write;

std::unique_ptr<QMimeData> filesData(const std::vector<std::string>& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> textData() {
    auto data = std::make_unique<QMimeData>();
    data->setText(QStringLiteral("/tmp/page.html"));
    return data;
}

// Sends a drag-enter and a drag-over with `data` to `target`, as the application would;
// whether the drag-over was accepted, as a copy.
bool acceptsDrag(QWidget* target, const QMimeData* data) {
    const QPoint at = target->rect().center();
    const Qt::DropActions proposed = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, proposed, data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent over(at, proposed, data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &over);
    QDragLeaveEvent leave;
    QApplication::sendEvent(target, &leave);
    return over.isAccepted() && over.dropAction() == Qt::CopyAction;
}

// A drag that enters `target`, moves over it and drops there. Qt delivers the drop to the
// widget that took the drag-enter, as in a real drag.
void drop(QWidget* target, const QMimeData* data) {
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent over(at, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &over);
    QDropEvent event(at, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &event);
}

void press(QWidget* target, Qt::MouseButton button, QPoint at = {}) {
    QTest::mousePress(target, button, {}, at.isNull() ? target->rect().center() : at);
    QTest::mouseRelease(target, button, {}, at.isNull() ? target->rect().center() : at);
}

} // namespace

class DropsAndMenusTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir programDir, work;
    std::string program, folder, startedIn;
    std::string in(const std::string& name) const { return folder + "/" + name; }
    std::string ini() const { return program + "/Stepwell.ini"; }

private slots:
    void initTestCase() { startedIn = currentDirectory(); }
    void init() {
        program = programDir.path().toStdString();
        folder = work.path().toStdString();
        for (const char* name : {"a.html", "b.html", "c.html"}) {
            write(in(name), "  x\n");
            write(in(name) + ".ident", "old");
        }
        QDir(work.path()).mkpath("sub");
        QFile::remove(QString::fromStdString(ini()));
        changeDirectory(folder);
    }
    void cleanup() { changeDirectory(startedIn); }

    void onlyTheDropTargetsTakeFilesAndNothingTakesText() {
        MainWindow window(startUpFrom(program));
        const test::Controls ui(window);
        const auto files = filesData({in("a.html")});
        const auto text = textData();
        for (QWidget* target : {static_cast<QWidget*>(&window), ui.Dir1->viewport(),
                                ui.File1->viewport(), static_cast<QWidget*>(ui.txtEXT)}) {
            QVERIFY2(acceptsDrag(target, files.get()), qPrintable(target->objectName()));
            QVERIFY(!acceptsDrag(target, text.get()));
        }
        for (QWidget* other : {static_cast<QWidget*>(ui.Drive1), static_cast<QWidget*>(ui.cmdCVT),
                               static_cast<QWidget*>(ui.Check1)}) {
            QVERIFY2(other->acceptDrops(), "or Qt hands the drag to the window behind");
            QVERIFY2(!acceptsDrag(other, files.get()), qPrintable(other->objectName()));
            QVERIFY(!acceptsDrag(other, text.get()));
        }
    }

    void droppedFilesConvertInOrderAndADeclinedOneDoesNotStopTheRest() {
        test::ScriptedPrompts prompts({true, false, true});
        MainWindow window(startUpFrom(program), &prompts);
        const test::Controls ui(window);
        const auto files = filesData({in("c.html"), in("a.html"), in("b.html")});
        drop(ui.File1->viewport(), files.get());
        QTRY_COMPARE(prompts.questions.size(), 3u);
        QVERIFY(test::conversionsEnd(window));
        QCOMPARE(prompts.questions, (Names{in("c.html.ident") + "を上書きしますか?",
                                           in("a.html.ident") + "を上書きしますか?",
                                           in("b.html.ident") + "を上書きしますか?"}));
        QCOMPARE(read(in("c.html.ident")), std::string("x\n"));
        QCOMPARE(read(in("a.html.ident")), std::string("old"));
        QCOMPARE(read(in("b.html.ident")), std::string("x\n"));
        QVERIFY(prompts.errors.empty());
    }

    void dropOnThePatternBoxConvertsAndKeepsItsText() {
        test::ScriptedPrompts prompts({true});
        MainWindow window(startUpFrom(program), &prompts);
        const test::Controls ui(window);
        const auto files = filesData({in("a.html")});
        drop(ui.txtEXT, files.get());
        QTRY_COMPARE(read(in("a.html.ident")), std::string("x\n"));
        QCOMPARE(ui.txtEXT->text(), QStringLiteral("*.html"));
        const auto text = textData();
        drop(ui.txtEXT, text.get());
        QCoreApplication::processEvents();
        QCOMPARE(ui.txtEXT->text(), QStringLiteral("*.html"));
        QCOMPARE(prompts.questions.size(), 1u);
    }

    void foldersAndRemoteItemsAreReportedAndTheNextGoesOn() {
        test::ScriptedPrompts prompts({true});
        MainWindow window(startUpFrom(program), &prompts);
        auto data = std::make_unique<QMimeData>();
        data->setUrls({QUrl::fromLocalFile(QString::fromStdString(in("sub"))),
                       QUrl(QStringLiteral("https://example.com/page.html")),
                       QUrl::fromLocalFile(QString::fromStdString(in("a.html")))});
        drop(&window, data.get());
        QTRY_COMPARE(read(in("a.html.ident")), std::string("x\n"));
        QCOMPARE(prompts.errors.size(), 2u);
        QVERIFY(prompts.errors[0].find(in("sub")) != std::string::npos);
        QVERIFY(prompts.errors[1].find("https://example.com/page.html") != std::string::npos);
    }

    void noDropIsTakenWhileAQuestionIsOpen() {
        // Answers Yes, after trying a second drag while the question is open.
        struct DragDuringQuestion : Prompts {
            QWidget* fileList = nullptr;
            const QMimeData* files = nullptr;
            int questions = 0;
            bool secondDragTaken = false;
            bool askYesNo(const std::string&) override {
                ++questions;
                secondDragTaken |= acceptsDrag(fileList, files);
                return true;
            }
            void showError(const std::string&) override {}
        } prompts;
        MainWindow window(startUpFrom(program), &prompts);
        const test::Controls ui(window);
        const auto files = filesData({in("a.html")});
        prompts.fileList = ui.File1->viewport();
        prompts.files = files.get();
        drop(ui.Dir1->viewport(), files.get());
        QTRY_COMPARE(prompts.questions, 1);
        QVERIFY(!prompts.secondDragTaken);
        QVERIFY(acceptsDrag(ui.File1->viewport(), files.get())); // open again afterwards
    }

    void dropsOnOtherControlsOrTextDropsDoNothing() {
        test::ScriptedPrompts prompts; // any question fails the test
        MainWindow window(startUpFrom(program), &prompts);
        const test::Controls ui(window);
        const auto files = filesData({in("a.html")});
        drop(ui.Drive1, files.get());
        drop(ui.cmdCVT, files.get());
        drop(ui.Check1, files.get());
        const auto text = textData();
        drop(&window, text.get());
        QCoreApplication::processEvents();
        QVERIFY(prompts.errors.empty());
        QCOMPARE(read(in("a.html.ident")), std::string("old"));
    }

    void rightPressOnlyPopsUpTheMenus() {
        MainWindow window(startUpFrom(program));
        const test::Controls ui(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(ui.setDefaultDir->text(), QStringLiteral("デフォルトフォルダにする"));
        QCOMPARE(ui.setDefaultChk->text(), QStringLiteral("デフォルト設定にする"));
        QCOMPARE(ui.dirRightClick->title(), QStringLiteral("dir右"));
        QCOMPARE(ui.chkRightClick->title(), QStringLiteral("chk右"));
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
            press(ui.Dir1->viewport(), button);
            press(ui.Check1, button);
            QVERIFY(!ui.dirRightClick->isVisible());
            QVERIFY(!ui.chkRightClick->isVisible());
        }
        ui.Check1->setChecked(false);

        // The right press highlights the folder under the pointer for the menu.
        const QRect sub = ui.Dir1->visualItemRect(folderItem(ui.Dir1, in("sub")));
        press(ui.Dir1->viewport(), Qt::RightButton, sub.center());
        QTRY_VERIFY(ui.dirRightClick->isVisible());
        QCOMPARE(ui.Dir1->highlightedPath(), in("sub"));
        QCOMPARE(ui.Dir1->path(), folder);
        ui.dirRightClick->hide();

        press(ui.Check1, Qt::RightButton);
        QTRY_VERIFY(ui.chkRightClick->isVisible());
        QCOMPARE(ui.Check1->checkState(), Qt::Unchecked);
        ui.chkRightClick->hide();
        press(ui.File1->viewport(), Qt::RightButton);
        press(ui.cmdCVT, Qt::RightButton);
        QVERIFY(!ui.dirRightClick->isVisible() && !ui.chkRightClick->isVisible());
    }

    void storingKeepsTheOtherLine_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("afterFolder");
        QTest::addColumn<QString>("afterReplace");
        QTest::newRow("two lines") << "/old\r\n1\r\nextra\r\n"
                                   << "F\r\n1\r\n"
                                   << "/old\r\n2\r\n";
        QTest::newRow("one line") << "/old\r\n"
                                  << "F\r\n"
                                  << "/old\r\n2\r\n";
        QTest::newRow("missing") << QString() << "F\r\n0\r\n"
                                 << "\r\n2\r\n";
    }
    void storingKeepsTheOtherLine() {
        QFETCH(QString, before);
        QFETCH(QString, afterFolder);
        QFETCH(QString, afterReplace);
        test::ScriptedPrompts prompts;
        MainWindow window(startUpFrom(program), &prompts);
        const test::Controls ui(window);
        ui.Dir1->setCurrentItem(folderItem(ui.Dir1, in("sub")));
        window.setReplaceSetting(ReplaceSetting::Greyed);
        const auto reset = [&] {
            QFile::remove(QString::fromStdString(ini()));
            if (!before.isNull())
                write(ini(), before.toStdString());
        };
        reset();
        ui.setDefaultDir->trigger();
        QCOMPARE(QString::fromStdString(read(ini())),
                 QString(afterFolder).replace("F", QString::fromStdString(in("sub"))));
        reset();
        ui.setDefaultChk->trigger();
        QCOMPARE(QString::fromStdString(read(ini())), afterReplace);
        QVERIFY(prompts.errors.empty());
    }

    void failureToStoreIsShown() {
        test::ScriptedPrompts prompts;
        StartupState state = startUpFrom(program);
        state.places.programDir = "/proc/stepwell-nowhere"; // a folder nobody can make
        MainWindow window(state, &prompts);
        const test::Controls ui(window);
        ui.setDefaultDir->trigger();
        ui.setDefaultChk->trigger();
        QCOMPARE(prompts.errors.size(), 2u);
        QVERIFY(prompts.errors[0].find("Stepwell.ini") != std::string::npos);
    }

    void theNextStartAppliesTheStoredDefaults() {
        {
            MainWindow window(startUpFrom(program));
            const test::Controls ui(window);
            ui.Dir1->setCurrentItem(folderItem(ui.Dir1, in("sub")));
            ui.setDefaultDir->trigger();
            ui.Check1->setChecked(true);
            ui.setDefaultChk->trigger();
            QCOMPARE(ui.Dir1->path(), folder); // the running window stays as it is
        }
        changeDirectory(startedIn);
        MainWindow next(startUpFrom(program));
        const test::Controls nextUi(next);
        QCOMPARE(nextUi.Dir1->path(), in("sub"));
        QCOMPARE(nextUi.File1->path(), in("sub"));
        QCOMPARE(next.replaceSetting(), ReplaceSetting::On);
        QVERIFY(isInside(in("sub"), nextUi.Drive1->drive(nextUi.Drive1->currentIndex()).mountPath));
    }
};

STEPWELL_REGISTER_TEST(DropsAndMenusTest)

} // namespace stepwell

#include "drops_and_menus_test.moc"
