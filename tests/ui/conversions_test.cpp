// SPDX-License-Identifier: MIT
// What the window says after each conversion, and stopping one, on real files.
#include "frame/sys/files.h"
#include "tests/support/scripted_prompts.h"
#include "tests/ui/suite.h"
#include "tests/ui/window_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace stepwell {
namespace {

using test::read;
using test::startUpFrom;
using test::write;

constexpr const char* listTable = "<UL,1\n</UL,-1\n";

QLabel* noteOf(const MainWindow& window) {
    return test::child<QLabel>(window, "conversionNote");
}

} // namespace

class ConversionsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir programDir, work;
    std::string program, folder, startedIn;
    std::string in(const std::string& name) const { return folder + "/" + name; }

private slots:
    void initTestCase() { startedIn = currentDirectory(); }
    void init() {
        program = programDir.path().toStdString();
        folder = work.path().toStdString();
        QDir(work.path()).removeRecursively();
        QDir().mkpath(work.path());
        write(program + "/StepwellTag.txt", listTable);
        changeDirectory(folder);
    }
    void cleanup() { changeDirectory(startedIn); }

    void eachConversionEndsWithANote_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("replace");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("note");
        // A line break in a name is shown escaped, so that it cannot split the note.
        QTest::newRow("written") << "button" << listTable << 0 << true << "new\npage.html"
                                 << "<ul>\n  x\n</ul>\n"
                                 << "new\\npage.html.ident に書き出しました";
        QTest::newRow("replaced") << "Enter in the list" << listTable << 1 << true << "page.html"
                                  << "<ul>\n  x\n</ul>\n"
                                  << "page.html を置換しました";
        QTest::newRow("unchanged") << "Enter on the button" << listTable << 1 << true << "page.html"
                                   << "<ul>\n\tx\n</ul>\n"
                                   << "page.html は変更の必要がなく、そのままです";
        QTest::newRow("declined") << "double-click" << listTable << 1 << false << "page.html"
                                  << "<ul>\n"
                                  << "page.html は変換しませんでした";
        QTest::newRow("failed") << "button"
                                << "<UL,x\n"
                                << 0 << true << "page.html"
                                << "<ul>\n"
                                << "page.html を変換できませんでした";
    }
    void eachConversionEndsWithANote() {
        QFETCH(QString, how);
        QFETCH(QString, table);
        QFETCH(int, replace);
        QFETCH(bool, answer);
        QFETCH(QString, name);
        QFETCH(QString, page);
        QFETCH(QString, note);
        write(program + "/StepwellTag.txt", table.toStdString());
        write(in(name.toStdString()), page.toStdString());
        test::ScriptedPrompts prompts({answer});
        MainWindow window(startUpFrom(program), &prompts);
        const test::Controls ui(window);
        window.setReplaceSetting(static_cast<ReplaceSetting>(replace));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(ui.File1->selectName(name.toStdString()));
        const QPoint item = ui.File1->visualRect(ui.File1->currentIndex()).center();
        if (how == "button")
            ui.cmdCVT->click();
        else if (how == "Enter in the list")
            QTest::keyClick(ui.File1, Qt::Key_Return);
        else if (how == "Enter on the button")
            QTest::keyClick(ui.cmdCVT, Qt::Key_Enter);
        else { // a first click, then the second press arrives as a double click
            QTest::mouseClick(ui.File1->viewport(), Qt::LeftButton, {}, item);
            QTest::mouseDClick(ui.File1->viewport(), Qt::LeftButton, {}, item);
        }
        QVERIFY(test::conversionsEnd(window));
        QVERIFY(noteOf(window)->isVisible());
        QCOMPARE(noteOf(window)->text(), note);
        QCOMPARE(prompts.errors.size(), std::size_t(note.contains("できません")));
        QCOMPARE(ui.File1->names(), std::vector<std::string>{name.toStdString()}); // as it was
    }

    void aMissingTagTableIsToldOnce() {
        QFile::remove(QString::fromStdString(program + "/StepwellTag.txt"));
        write(in("a.html"), "<ul>\n  x\n</ul>\n");
        write(in("b.html"), "<ul>\n  x\n</ul>\n");
        test::ScriptedPrompts prompts;
        MainWindow window(startUpFrom(program), &prompts);
        const test::Controls ui(window);
        const QString told =
            QStringLiteral("\n適用されるタグ表がないため、行頭の空白を取り除いただけです");
        for (const char* name : {"a.html", "b.html"}) {
            QVERIFY(ui.File1->selectName(name));
            window.convertSelected();
            QVERIFY(test::conversionsEnd(window));
            QCOMPARE(read(in(name) + ".ident"), std::string("<ul>\nx\n</ul>\n"));
            QCOMPARE(noteOf(window)->text().endsWith(told), name == std::string("a.html"));
        }
    }

    // A big page in replace mode, with a second conversion waiting behind it. Escape,
    // closing the window, or the program ending without it, stops it at once: its temporary
    // file is removed, the page is left as it was, the waiting conversion is not made, and
    // the window (while there is one) says so.
    void aBigConversionStops_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("closing") << "closing";
        QTest::newRow("the window going") << "going";
    }
    void aBigConversionStops() {
        QFETCH(QString, how);
        std::string big;
        for (int i = 0; i < 3'500'000; ++i) // about 64 MiB
            big += "<ul>\n   <li>x\n</ul>\n";
        write(in("big.html"), big);
        write(in("page.html"), " x\n");
        test::ScriptedPrompts prompts({true});
        auto window = std::make_unique<MainWindow>(startUpFrom(program), &prompts);
        const test::Controls ui(*window);
        window->setReplaceSetting(ReplaceSetting::On);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (const char* name : {"big.html", "page.html"}) {
            QVERIFY(ui.File1->selectName(name));
            ui.cmdCVT->click();
        }
        QLabel* note = noteOf(*window);
        QTRY_VERIFY(note->text().contains("を変換中") && !note->text().contains("… 0%"));
        ui.txtEXT->setText("page.*"); // the window answers meanwhile
        QCOMPARE(ui.File1->names(), std::vector<std::string>{"page.html"});
        if (how == "Escape")
            QTest::keyClick(ui.File1, Qt::Key_Escape);
        else if (how == "closing")
            window->close();
        else
            window.reset();
        if (window) {
            QVERIFY(test::conversionsEnd(*window));
            QCOMPARE(note->text(),
                     QStringLiteral("big.html の変換を中止しました\n元のファイルはそのままです\n"
                                    "待っていた 1 件の変換も取りやめました"));
            QVERIFY(window->isVisible()); // a closed window stays to say so, then goes
            if (how == "closing")
                QTRY_VERIFY(!window->isVisible());
        }
        QVERIFY(read(in("big.html")) == big);
        QCOMPARE(read(in("page.html")), std::string(" x\n"));
        QCOMPARE(QDir(work.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"big.html", "page.html"}));
        QCOMPARE(prompts.questions.size(), 1u);
        QVERIFY(!QGuiApplication::overrideCursor()); // busy only while it runs
    }
};

STEPWELL_REGISTER_TEST(ConversionsTest)

} // namespace stepwell

#include "conversions_test.moc"
