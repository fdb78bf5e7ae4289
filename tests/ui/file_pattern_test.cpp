// SPDX-License-Identifier: MIT
#include "frame/sys/folder_listing.h"
#include "frame/text/error.h"
#include "tests/ui/suite.h"
#include "ui/file_pattern.h"
#include "ui/natural_order.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace stepwell {

using Names = std::vector<std::string>;

class FilePatternTest : public QObject {
    Q_OBJECT
private slots:
    void patternBoxTextGivesFolderAndPattern_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("wildcard") << "*.txt"
                                  << "/shown"
                                  << "*.txt";
        QTest::newRow("several") << "*.htm;*.html"
                                 << "/shown"
                                 << "*.htm;*.html";
        QTest::newRow("plain name") << "page.html"
                                    << "/shown"
                                    << "page.html";
        QTest::newRow("empty keeps all") << ""
                                         << "/shown"
                                         << "*.html";
        QTest::newRow("relative folder") << "sub/*.txt"
                                         << "/base/sub"
                                         << "*.txt";
        QTest::newRow("parent folder") << "../*.txt"
                                       << "/base/.."
                                       << "*.txt";
        QTest::newRow("absolute folder") << "/srv/www/*.css"
                                         << "/srv/www"
                                         << "*.css";
        QTest::newRow("folder only") << "/srv/www/"
                                     << "/srv/www"
                                     << "*.html";
        QTest::newRow("root") << "/*"
                              << "/"
                              << "*";
    }
    void patternBoxTextGivesFolderAndPattern() {
        QFETCH(QString, text);
        QFETCH(QString, folder);
        QFETCH(QString, pattern);
        const FileListView view =
            fileListViewFor(text.toStdString(), {"/shown", "*.html"}, "/base");
        QCOMPARE(QString::fromStdString(view.folder), folder);
        QCOMPARE(QString::fromStdString(view.pattern), pattern);
    }

    void patternsSplitAtSemicolons() {
        QCOMPARE(splitPatterns("*.html; *.htm ;;"), (Names{"*.html", "*.htm"}));
        QCOMPARE(splitPatterns(""), Names{});
        QCOMPARE(splitPatterns("a b.txt"), Names{"a b.txt"});
    }

    void filesMatchIgnoringCaseAndLeaveOutTheRest() {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        for (const char* name : {"b.html", "A.HTML", "c.htm", "notes.txt", ".hidden.html"})
            std::ofstream(folder + "/" + name) << "x";
        QVERIFY(QDir(dir.path()).mkdir("folder.html"));
        QVERIFY(::symlink("b.html", (folder + "/link.html").c_str()) == 0);
        QVERIFY(::symlink("missing", (folder + "/dangling.html").c_str()) == 0);
        QVERIFY(::mkfifo((folder + "/pipe.html").c_str(), 0600) == 0);

        QCOMPARE(listMatchingFiles(folder, {"*.html"}), (Names{"A.HTML", "b.html", "link.html"}));
        QCOMPARE(listMatchingFiles(folder, {"*.htm", "*.TXT"}), (Names{"c.htm", "notes.txt"}));
        QCOMPARE(listMatchingFiles(folder, {"?.htm?"}), (Names{"A.HTML", "b.html"}));
        QCOMPARE(listMatchingFiles(folder, {}), Names{});
        QCOMPARE(listSubfolders(folder), Names{"folder.html"});
    }

    void subfoldersIncludeLinksButNotHiddenOnes() {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        QVERIFY(QDir(dir.path()).mkpath("b/deep"));
        QVERIFY(QDir(dir.path()).mkdir("A"));
        QVERIFY(QDir(dir.path()).mkdir(".git"));
        QVERIFY(::symlink("b", (folder + "/to-b").c_str()) == 0);
        std::ofstream(folder + "/file") << "x";
        QCOMPARE(listSubfolders(folder), (Names{"A", "b", "to-b"}));
    }

    void namesSortAsFileManagersShowThem_data() {
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("numbers by value") << QStringList{"page2.html", "page10.html", "page100"};
        QTest::newRow("case ignored") << QStringList{"b.html", "name with space.html", "page.html",
                                                     "Shout.HTML", "UPPER.HTML"};
        QTest::newRow("only case differs: bytes")
            << QStringList{"A.html", "a.html", "Page1.html", "page01.html", "page1.html"};
        QTest::newRow("longer than any integer")
            << QStringList{"x9.txt", "x10.txt", "x123456789012345678901234567890.txt",
                           "x123456789012345678901234567891.txt"};
        QTest::newRow("digits before letters") << QStringList{"1", "9a", "10", "a", "a1b", "a2"};
        QTest::newRow("beyond ASCII") << QStringList{"Zebra", "émile", "Étienne", "ÿ"};
    }
    void namesSortAsFileManagersShowThem() {
        QFETCH(QStringList, sorted);
        Names expected;
        for (const QString& name : sorted)
            expected.push_back(name.toStdString());
        Names names(expected.rbegin(), expected.rend());
        std::swap(names[0], names[names.size() / 2]);
        sortNaturally(names);
        QCOMPARE(names, expected);
    }

    void aFolderThatCannotBeReadThrows() {
        QVERIFY_THROWS_EXCEPTION(Error, listSubfolders("/no/such/folder"));
        QVERIFY_THROWS_EXCEPTION(Error, listMatchingFiles("/no/such/folder", {"*"}));
    }
};

STEPWELL_REGISTER_TEST(FilePatternTest)

} // namespace stepwell

#include "file_pattern_test.moc"
